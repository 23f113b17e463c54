#pragma once

#include "NumberText.h"

#include <QLineEdit>

#include <optional>

// One entry cell of the grid. Receiving the focus selects its text from the caret to the end, so
// typing replaces the text of a freshly filled cell. A cell remembers the number it was filled
// with: as long as its text is the one shown for that number, it reads back that number, its
// double and its exact value, not the 15-digit text. A cell holds text of any length. Pasting text
// of more than one piece (Ctrl+V or the context menu) hands it to the window instead of inserting
// it; the context menu also offers to copy the matrix.
class Cell : public QLineEdit {
    Q_OBJECT

public:
    Cell(int row, int column, QWidget* parent);

    [[nodiscard]] int row() const noexcept { return row_; }
    [[nodiscard]] int column() const noexcept { return column_; }

    // Shows a number with the caret at the start: a fraction in lowest terms, any other by the
    // output rule.
    void fill(const Kalvoran::TypedNumber& number, const NumberText::Separators& separators);
    [[nodiscard]] NumberText::ParsedEntry read(const NumberText::Separators& separators) const;
    // Gives the focus with the whole text selected.
    void focusWithTextSelected();

signals:
    // Clipboard text of more than one piece, not yet split.
    void blockPasted(const QString& text);
    void copyMatrixRequested();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void selectFrom(int caret);
    void pasteFromClipboard();

    int row_;
    int column_;
    std::optional<Kalvoran::TypedNumber> filledNumber_;
    QString filledText_;
};
