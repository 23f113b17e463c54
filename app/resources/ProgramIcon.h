#pragma once

#include <QIcon>

namespace ProgramIcon {

// Edge lengths in pixels of the icon images embedded as :/icons/kalvora-<size>.png.
inline constexpr int sizes[] = {16, 32, 48, 64, 72};

// The program icon with every embedded size, for QApplication::setWindowIcon.
QIcon icon();

} // namespace ProgramIcon
