#include "Cell.h"

#include "EntryLayout.h"
#include "GridClipboard.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>

#include <limits>

Cell::Cell(int row, int column, QWidget* parent)
    : QLineEdit(QStringLiteral("0"), parent)
    , row_(row)
    , column_(column)
{
    setObjectName(QStringLiteral("z%1_%2").arg(row).arg(column));
    setGeometry(EntryLayout::cell(row, column));
    setMaxLength(std::numeric_limits<int>::max()); // no text is ever cut
    setToolTip(tr("Geben Sie hier ihre Matrix ein"));
    setAccessibleName(tr("Zeile %1, Spalte %2").arg(row + 1).arg(column + 1));
    setCursorPosition(0);
    setVisible(false);
    setEnabled(false);
}

void Cell::fill(const Kalvoran::TypedNumber& number, const NumberText::Separators& separators)
{
    filledText_ = number.fraction ? NumberText::formatFraction(number.exact)
                                  : NumberText::format(number.value, separators);
    filledNumber_ = number;
    setText(filledText_);
    setCursorPosition(0);
}

NumberText::ParsedEntry Cell::read(const NumberText::Separators& separators) const
{
    if (filledNumber_ && text() == filledText_)
        return {*filledNumber_, NumberText::Error::None};
    return NumberText::parseEntry(text(), separators);
}

void Cell::focusWithTextSelected()
{
    setFocus(Qt::OtherFocusReason);
    selectFrom(0);
}

void Cell::focusInEvent(QFocusEvent* event)
{
    const int caret = cursorPosition();
    QLineEdit::focusInEvent(event); // may select everything; the caret decides instead
    // Coming back from another window or a menu is no new visit to the cell.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    selectFrom(caret);
}

void Cell::selectFrom(int caret)
{
    // Selected backwards, so the caret stays where the selection starts, and the next visit to
    // the cell selects from the same place.
    const auto length = static_cast<int>(text().size());
    setSelection(length, caret - length);
}

void Cell::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Paste)) {
        pasteFromClipboard();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void Cell::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // The standard paste would put a whole block into this one cell. Qt names its paste action by
    // its label only (in the language of the loaded translation), followed by a tab and the keys.
    const QString pasteLabel = QLineEdit::tr("&Paste");
    for (QAction* action : menu->actions()) {
        if (action->text().section(u'\t', 0, 0) == pasteLabel) {
            action->disconnect(this);
            connect(action, &QAction::triggered, this, &Cell::pasteFromClipboard);
        }
    }
    menu->addSeparator();
    menu->addAction(tr("&Matrix kopieren"), this, &Cell::copyMatrixRequested);
    menu->popup(event->globalPos());
}

void Cell::pasteFromClipboard()
{
    const QString text = QGuiApplication::clipboard()->text();
    if (GridClipboard::split(text, 1, 1))
        paste();
    else
        emit blockPasted(text);
}
