#include "LabelFit.h"

#include <QLabel>

#include <algorithm>

void LabelFit::keepOnOneLine(QLabel& label)
{
    label.setWordWrap(false);
    // Unwrapped, the label's size hint is its caption's width on one line with its margins.
    label.resize(std::max(label.width(), label.sizeHint().width()), label.height());
}
