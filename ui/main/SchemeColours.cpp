#include "SchemeColours.h"

#include "HighContrast.h"

#include <algorithm>
#include <cmath>

namespace {

const QColor designResult(0, 0, 192);
const QColor designMark(192, 0, 0);

double linear(int channel)
{
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& colour)
{
    return 0.2126 * linear(colour.red()) + 0.7152 * linear(colour.green()) +
           0.0722 * linear(colour.blue());
}

// The design colour where it is legible on the background; otherwise the first colour of its
// hue and saturation, stepping the lightness away from the background, that is. The steps end at
// white or black at the latest, and against any background one of the two is legible.
QColor legibleOn(const QColor& design, const QColor& background)
{
    const int step = SchemeColours::contrast(Qt::white, background) >
                             SchemeColours::contrast(Qt::black, background)
                         ? 1
                         : -1;
    int hue = 0;
    int saturation = 0;
    int lightness = 0;
    design.getHsl(&hue, &saturation, &lightness);
    QColor candidate = design;
    while (SchemeColours::contrast(candidate, background) < SchemeColours::minimumContrast) {
        lightness += step;
        candidate = QColor::fromHsl(hue, saturation, lightness).toRgb();
    }
    return candidate;
}

} // namespace

namespace SchemeColours {

double contrast(const QColor& first, const QColor& second)
{
    const double one = luminance(first);
    const double other = luminance(second);
    const double lighter = std::max(one, other);
    const double darker = std::min(one, other);
    return (lighter + 0.05) / (darker + 0.05);
}

Pair band(const QPalette& palette)
{
    return {palette.color(QPalette::Base), palette.color(QPalette::Text)};
}

QColor result(const QPalette& palette)
{
    if (HighContrast::isOn(palette))
        return palette.color(QPalette::WindowText);
    return legibleOn(designResult, palette.color(QPalette::Window));
}

Pair invalidOrder(const QPalette& palette)
{
    // Written in the selection colour, so that selected text, in the selection colours, still
    // shows as selected.
    if (HighContrast::isOn(palette))
        return {palette.color(QPalette::Base), palette.color(QPalette::Highlight)};
    const QColor base = palette.color(QPalette::Base);
    return {base, legibleOn(designMark, base)};
}

QPalette selection(const QPalette& palette)
{
    const QColor text = palette.color(QPalette::HighlightedText);
    QPalette selected;
    selected.setColor(QPalette::Highlight, legibleOn(palette.color(QPalette::Highlight), text));
    selected.setColor(QPalette::HighlightedText, text);
    return selected;
}

} // namespace SchemeColours
