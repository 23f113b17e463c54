// Desktops that have no high-contrast setting of their own: the palette tells.
#include "HighContrast.h"

#include "SchemeColours.h"

#include <QPalette>

namespace {

// Black text on white is 21:1; Qt's standard light palette (#efefef window) is about 18.3:1.
constexpr double highContrastScheme = 19.0;

} // namespace

bool HighContrast::isOn(const QPalette& palette)
{
    return SchemeColours::contrast(palette.color(QPalette::Window),
                                   palette.color(QPalette::WindowText)) >= highContrastScheme;
}
