#include "Cell.h"

#include "EntryLayout.h"

#include <QFocusEvent>

Cell::Cell(int row, int column, QWidget* parent)
    : QLineEdit(QStringLiteral("0"), parent)
    , row_(row)
    , column_(column)
{
    setObjectName(QStringLiteral("z%1_%2").arg(row).arg(column));
    setGeometry(EntryLayout::cell(row, column));
    setToolTip(tr("Geben Sie hier ihre Matrix ein"));
    setAccessibleName(tr("Zeile %1, Spalte %2").arg(row + 1).arg(column + 1));
    setCursorPosition(0);
    setVisible(false);
    setEnabled(false);
}

void Cell::fill(double value, const NumberText::Separators& separators)
{
    filledText_ = NumberText::format(value, separators);
    filledValue_ = value;
    setText(filledText_);
    setCursorPosition(0);
}

NumberText::Parsed Cell::read(const NumberText::Separators& separators) const
{
    if (filledValue_ && text() == filledText_)
        return {*filledValue_, NumberText::Error::None};
    return NumberText::parse(text(), separators);
}

void Cell::focusWithTextSelected()
{
    setFocus(Qt::OtherFocusReason);
    // Selected backwards, the caret stands at the start, so the focus selection keeps it whole.
    setSelection(static_cast<int>(text().size()), -static_cast<int>(text().size()));
}

void Cell::focusInEvent(QFocusEvent* event)
{
    const int caret = cursorPosition();
    QLineEdit::focusInEvent(event); // may select everything; the caret decides instead
    // Coming back from another window or a menu is no new visit to the cell.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    setSelection(caret, static_cast<int>(text().size()) - caret);
}
