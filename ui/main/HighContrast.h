#pragma once

class QPalette;

// Whether the desktop runs a high-contrast colour scheme, in which the windows keep to the
// scheme's own colours. Windows says so itself (its high-contrast setting); elsewhere a palette
// whose window and text colours are about as far apart as black and white is taken for one.
namespace HighContrast {

[[nodiscard]] bool isOn(const QPalette& palette);

} // namespace HighContrast
