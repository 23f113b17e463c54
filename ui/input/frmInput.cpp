#include "frmInput.h"

#include "ActivateOnShow.h"
#include "Cell.h"
#include "DecimalKeypad.h"
#include "EnterPresses.h"
#include "GridClipboard.h"
#include "HelpWindow.h"
#include "Kalvoran.h"
#include "PlainWarning.h"
#include "SchemeColours.h"
#include "TypedMatrix.h"
#include "WindowPlacement.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>

#include <vector>

namespace {

// A cell's text as a message quotes it: at most 40 characters, marked where it is cut.
QString quoted(const QString& text)
{
    constexpr qsizetype longest = 40;
    if (text.size() <= longest)
        return text;
    const qsizetype cut = text.at(longest - 1).isHighSurrogate() ? longest - 1 : longest;
    return text.first(cut) + u'…';
}

QString problemWith(NumberText::Error error, const QString& text)
{
    switch (error) {
    case NumberText::Error::Empty:
        return frmInput::tr("Das Feld ist leer.");
    case NumberText::Error::OutOfRange:
        return frmInput::tr("„%1“ liegt außerhalb des darstellbaren Zahlenbereichs.").arg(text);
    case NumberText::Error::ZeroDenominator:
        return frmInput::tr("In „%1“ ist der Nenner null.").arg(text);
    default:
        return frmInput::tr("„%1“ ist keine gültige Zahl.").arg(text);
    }
}

} // namespace

frmInput::frmInput(NumberText::Separators separators, QWidget* owner)
    : QDialog(owner,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , separators_(std::move(separators))
    , cmdFertig(new QPushButton(tr("&Fertig"), this))
{
    setObjectName(QStringLiteral("frmInput"));
    setWindowTitle(tr("Eingabe:"));
    setModal(true);

    auto* keypad = new DecimalKeypad(separators_.decimal, this);
    QWidget* previous = nullptr;
    for (int row = 0; row < EntryLayout::gridSize; ++row) {
        for (int column = 0; column < EntryLayout::gridSize; ++column) {
            auto* cell = new Cell(row, column, this);
            cells_[row][column] = cell;
            cell->installEventFilter(keypad);
            connect(cell, &Cell::blockPasted, this,
                    [this, cell](const QString& text) { pasteBlock(*cell, text); });
            connect(cell, &Cell::copyMatrixRequested, this, &frmInput::copyMatrix);
            if (previous != nullptr)
                setTabOrder(previous, cell);
            previous = cell;
        }
    }
    cmdFertig->setObjectName(QStringLiteral("cmdFertig"));
    cmdFertig->setAutoDefault(false);
    cmdFertig->setDefault(false);
    setTabOrder(previous, cmdFertig);
    connect(cmdFertig, &QPushButton::clicked, this, &frmInput::cmdFertigClick);
    new EnterPresses(*this);   // owned by the window
    new ActivateOnShow(*this); // as a tool window, it would open inactive on Windows
    HelpWindow::offerIn(*this);
    applySchemeColours();
}

void frmInput::applySchemeColours()
{
    // A cell receiving the focus selects its text, so the selection is what a visited cell shows.
    const QPalette selection = SchemeColours::selection(palette());
    for (const auto& row : cells_) {
        for (Cell* cell : row)
            cell->setPalette(selection);
    }
}

void frmInput::changeEvent(QEvent* event)
{
    // The desktop's colour scheme may change while the program runs.
    if (event->type() == QEvent::PaletteChange)
        applySchemeColours();
    QDialog::changeEvent(event);
}

Cell* frmInput::cell(int row, int column) const
{
    return cells_.at(row).at(column);
}

void frmInput::openForOrder(std::int16_t lastIndex)
{
    lastIndex_ = lastIndex;
    setFixedSize(EntryLayout::clientSize(lastIndex_));
    cmdFertig->setGeometry(EntryLayout::doneButton(lastIndex_));
    showCellsOfOrder();
    fillCells();
    if (!shownBefore_) {
        centreOnScreen(*this);
        shownBefore_ = true;
    }
    cell(0, 0)->focusWithTextSelected();
    exec();
}

void frmInput::showCellsOfOrder()
{
    // Cells outside the order are hidden and disabled, which also takes them out of the tab order.
    for (const auto& row : cells_) {
        for (Cell* cell : row) {
            const bool inOrder = cell->row() <= lastIndex_ && cell->column() <= lastIndex_;
            cell->setVisible(inOrder);
            cell->setEnabled(inOrder);
        }
    }
}

void frmInput::fillCells()
{
    // The matrix may still have the size of an earlier order: its overlap is shown, zeros
    // elsewhere.
    const Kalvoran::Matrix& matrix = Kalvoran::MatrixD;
    for (int row = 0; row <= lastIndex_; ++row) {
        for (int column = 0; column <= lastIndex_; ++column) {
            const bool stored = row < matrix.rows() && column < matrix.cols();
            cell(row, column)
                ->fill(stored ? Kalvoran::TypedD.at(matrix, row, column) : Kalvoran::TypedNumber{},
                       separators_);
        }
    }
}

void frmInput::cmdFertigClick()
{
    // All or nothing: the matrix changes only when every cell of the order holds a number.
    const int order = lastIndex_ + 1;
    Kalvoran::Matrix values(order, order);
    std::vector<Kalvoran::TypedNumber> typed;
    for (int row = 0; row < order; ++row) {
        for (int column = 0; column < order; ++column) {
            Cell* entry = cell(row, column);
            const NumberText::ParsedEntry parsed = entry->read(separators_);
            if (!parsed.ok()) {
                showPlainWarning(
                    *this, tr("Zeile %1, Spalte %2: %3\nBitte geben Sie eine Zahl ein.")
                               .arg(row + 1)
                               .arg(column + 1)
                               .arg(problemWith(parsed.error, quoted(entry->text().trimmed()))));
                entry->focusWithTextSelected();
                return;
            }
            values(row, column) = parsed.number.value;
            typed.push_back(parsed.number);
        }
    }
    Kalvoran::MatrixD = std::move(values);
    Kalvoran::TypedD = Kalvoran::TypedMatrix(order, std::move(typed));
    hide();
}

void frmInput::moveFocusVertically(const Cell& from, int rowStep) const
{
    const int row = from.row() + rowStep;
    if (row >= 0 && row <= lastIndex_)
        cell(row, from.column())->setFocus(Qt::OtherFocusReason);
}

void frmInput::pasteBlock(const Cell& at, const QString& text)
{
    const int rows = lastIndex_ + 1 - at.row();
    const int columns = lastIndex_ + 1 - at.column();
    const std::optional<GridClipboard::Block> block = GridClipboard::split(text, rows, columns);
    if (!block) {
        showPlainWarning(*this, tr("Der Block aus der Zwischenablage passt ab Zeile %1, Spalte %2 "
                                   "nicht in die Matrix: dort ist Platz für %3 × %4 Werte.\nEs "
                                   "wurde nichts eingefügt.")
                                    .arg(at.row() + 1)
                                    .arg(at.column() + 1)
                                    .arg(rows)
                                    .arg(columns));
        return;
    }
    for (int row = 0; row < block->size(); ++row) {
        const QStringList& pieces = block->at(row);
        for (int column = 0; column < pieces.size(); ++column) {
            // As an opening leaves a cell: the start of its text shows, and a visit selects it all.
            Cell* target = cell(at.row() + row, at.column() + column);
            target->setText(pieces.at(column));
            target->setCursorPosition(0);
        }
    }
}

void frmInput::copyMatrix()
{
    GridClipboard::Block rows;
    for (int row = 0; row <= lastIndex_; ++row) {
        QStringList pieces;
        for (int column = 0; column <= lastIndex_; ++column) {
            const Cell* entry = cell(row, column);
            pieces.append(
                GridClipboard::copiedPiece(entry->read(separators_), entry->text(), separators_));
        }
        rows.append(pieces);
    }
    QGuiApplication::clipboard()->setText(GridClipboard::copyText(rows));
}

void frmInput::closeEvent(QCloseEvent* event)
{
    // The close box cancels: nothing is taken over, and the next opening builds the window anew.
    QDialog::closeEvent(event);
    if (event->isAccepted())
        deleteLater();
}

void frmInput::keyPressEvent(QKeyEvent* event)
{
    // Keys a cell leaves unused arrive here; the modifiers must leave them plain.
    const auto* current = qobject_cast<const Cell*>(focusWidget());
    const bool fromCell =
        current != nullptr && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    switch (event->key()) {
    case Qt::Key_Escape: // the window closes only by its close box or Done
        event->accept();
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter: // no default button: Enter in a cell moves on, never presses Done
        if (fromCell)
            focusNextChild();
        else
            event->ignore();
        break;
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (fromCell)
            moveFocusVertically(*current, event->key() == Qt::Key_Up ? -1 : 1);
        else
            QDialog::keyPressEvent(event);
        break;
    default:
        QDialog::keyPressEvent(event);
        break;
    }
}
