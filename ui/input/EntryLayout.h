#pragma once

#include <QRect>
#include <QSize>

// Geometry of the entry window for an order, in logical pixels. The window's outer size follows
// from the order in twips; its client area is that size less the frame of a fixed tool window at
// 96 dpi, taken with fixed nominal metrics so that the layout is the same on every desktop.
namespace EntryLayout {

inline constexpr int gridSize = 10;
inline constexpr int frameBorder = 3; // pixels on each side
inline constexpr int titleBar = 17;   // pixels, the small caption of a tool window

// Outer size in twips for lastIndex = order - 1 (0 ... 9).
[[nodiscard]] QSize outerTwips(int lastIndex);
[[nodiscard]] QSize clientSize(int lastIndex);
[[nodiscard]] QRect cell(int row, int column);
// The Done button: its top lies 650 units above the bottom of a client area that measures the
// outer height in units, and it is centred across the client area (its left edge lies outside
// when the button is wider than the window).
[[nodiscard]] QRect doneButton(int lastIndex);

} // namespace EntryLayout
