#include "EntryLayout.h"

#include "Twips.h"

#include <cmath>

namespace EntryLayout {
namespace {

constexpr int doneWidth = 1215;
constexpr int doneHeight = 495;
constexpr int doneGap = 650;

// The window system keeps outer sizes in whole pixels.
int wholePixels(int twips)
{
    return Twips::toPixels(twips);
}

} // namespace

QSize outerTwips(int lastIndex)
{
    const int order = lastIndex + 1;
    return {order * 600 + 200, order * 480 + 450 + 600};
}

QSize clientSize(int lastIndex)
{
    const QSize outer = outerTwips(lastIndex);
    return {wholePixels(outer.width()) - 2 * frameBorder,
            wholePixels(outer.height()) - 2 * frameBorder - titleBar};
}

QRect cell(int row, int column)
{
    return Twips::toPixels(120 + 600 * column, 120 + 480 * row, 495, 375);
}

QRect doneButton(int lastIndex)
{
    // The client height measures H units, H being the outer height as the window system keeps it.
    const double unitsHigh = wholePixels(outerTwips(lastIndex).height()) * Twips::perPixel;
    const QSize client = clientSize(lastIndex);
    const double top = (unitsHigh - doneGap) * client.height() / unitsHigh;
    const int width = Twips::toPixels(doneWidth);
    const double left = (client.width() - width) / 2.0;
    return {static_cast<int>(std::lround(left)), static_cast<int>(std::lround(top)), width,
            Twips::toPixels(doneHeight)};
}

} // namespace EntryLayout
