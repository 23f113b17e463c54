#include "LabelFit.h"

#include <QFontMetrics>
#include <QLabel>

#include <algorithm>

void LabelFit::keepOnOneLine(QLabel& label)
{
    const QFontMetrics metrics(label.font());
    if (label.contentsRect().height() >= 2 * metrics.height())
        return;
    label.setWordWrap(false);
    // Unwrapped, the label's size hint is its caption's width on one line with its margins.
    label.resize(std::max(label.width(), label.sizeHint().width()), label.height());
}
