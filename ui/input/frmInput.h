#pragma once

#include "EntryLayout.h"
#include "NumberText.h"

#include <QDialog>

#include <array>
#include <cstdint>

class Cell;
class QPushButton;

// The entry window: a fixed grid of 10 x 10 cells, of which an opening shows the cells of the
// chosen order, and the Done button that takes them into the shared matrix. Done hides the
// window, which keeps its cells and position; its close box cancels and destroys it. Within the
// order, Up and Down move to the cell above or below and Enter to the next cell in tab order (from
// the last one to Done, which Enter presses only when Done has the focus); a block pasted into a
// cell fills the cells from there, or nothing when it does not fit; the cells' context menu
// copies the matrix as text.
class frmInput : public QDialog {
    Q_OBJECT

public:
    frmInput(NumberText::Separators separators, QWidget* owner);

    // Sizes the window for the order lastIndex + 1 (0 ... 9), fills the cells of that order from
    // the shared matrix and shows the window modally. Returns when it has been hidden or closed.
    void openForOrder(std::int16_t lastIndex);

    [[nodiscard]] Cell* cell(int row, int column) const;

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void applySchemeColours();
    void showCellsOfOrder();
    void fillCells();
    void cmdFertigClick();
    void moveFocusVertically(const Cell& from, int rowStep) const;
    void pasteBlock(const Cell& at, const QString& text);
    void copyMatrix();

    NumberText::Separators separators_;
    std::array<std::array<Cell*, EntryLayout::gridSize>, EntryLayout::gridSize> cells_{};
    QPushButton* cmdFertig;
    int lastIndex_ = 0;
    bool shownBefore_ = false;
};
