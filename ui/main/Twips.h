#pragma once

#include <QRect>

// Layout is designed in twips (1/1440 inch); Qt places widgets in logical pixels, 15 twips each,
// and scales them for high-DPI screens itself.
namespace Twips {

inline constexpr int perPixel = 15;

[[nodiscard]] constexpr int toPixels(int twips) noexcept
{
    return (twips + perPixel / 2) / perPixel;
}

[[nodiscard]] constexpr QRect toPixels(int left, int top, int width, int height) noexcept
{
    return {toPixels(left), toPixels(top), toPixels(width), toPixels(height)};
}

} // namespace Twips
