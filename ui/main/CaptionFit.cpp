#include "CaptionFit.h"

#include <QFontMetrics>
#include <QRect>
#include <QSize>
#include <QString>

namespace {

// Steps of a quarter point down to this size, the smallest that still reads well; it holds any
// caption of the result, two lines of the longest number texts included.
constexpr qreal step = 0.25;
constexpr qreal smallest = 8;

bool fits(const QFont& font, const QString& caption, const QSize& box)
{
    const QRect area(QPoint(), box);
    return area.contains(QFontMetrics(font).boundingRect(area, Qt::TextWordWrap, caption));
}

} // namespace

QFont CaptionFit::fitting(const QFont& design, const QString& caption, const QSize& box)
{
    QFont font = design;
    for (qreal points = design.pointSizeF(); points > smallest && !fits(font, caption, box);) {
        points -= step;
        font.setPointSizeF(points);
    }
    return font;
}
