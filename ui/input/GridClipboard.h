#pragma once

#include "NumberText.h"

#include <QList>
#include <QString>
#include <QStringList>

// Clipboard text of the grid. A block is laid out as spreadsheets copy it: rows end with line
// breaks ("\n", "\r\n" or "\r"; a break after the last row gives no further row) and pieces within
// a row are separated by tabs or semicolons. Pieces are trimmed; an empty piece is kept, as it
// stands for an empty cell. Rows may be ragged: the block is as wide as its widest row, and a
// shorter row covers only the cells of its own pieces.
namespace GridClipboard {

struct Block {
    QList<QStringList> rows;

    [[nodiscard]] int height() const { return static_cast<int>(rows.size()); }
    [[nodiscard]] int width() const;
    // One piece only: such text is pasted into a cell as into any text box.
    [[nodiscard]] bool isSingleValue() const;
    // Whether the block, placed with its first piece at (row, column), lies inside a matrix of
    // the given order.
    [[nodiscard]] bool fitsAt(int row, int column, int order) const;
};

[[nodiscard]] Block split(const QString& text);

// The piece that copying gives for a cell: the number in the output format when the cell reads as
// one, otherwise the cell's text as it stands (trimmed), with tabs, semicolons and line breaks made
// spaces so that pasting the copy gives the same layout.
[[nodiscard]] QString copiedPiece(const NumberText::Parsed& read, const QString& text,
                                  const NumberText::Separators& separators);

// Tab-separated rows, each ended by "\n".
[[nodiscard]] QString copyText(const QList<QStringList>& rows);

} // namespace GridClipboard
