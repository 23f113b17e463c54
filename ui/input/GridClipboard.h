#pragma once

#include "NumberText.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// Clipboard text of the grid. A block is laid out as spreadsheets copy it: rows end with line
// breaks ("\n", "\r\n" or "\r"; a break after the last row gives no further row) and pieces within
// a row are separated by tabs or semicolons. Pieces are trimmed; an empty piece is kept, as it
// stands for an empty cell. Rows may be ragged: a shorter row covers only the cells of its own
// pieces.
namespace GridClipboard {

using Block = QList<QStringList>;

// The block, when it has at most maxRows rows of at most maxColumns pieces. A larger one is
// refused as soon as its first row or piece too many is met, so that refusing costs no more than
// reading what fits, however long the text.
[[nodiscard]] std::optional<Block> split(QStringView text, int maxRows, int maxColumns);

// The piece that copying gives for a cell: when the cell reads as a number, the text that reads
// back as the same number (NumberText::formatEntry); otherwise the cell's text as it stands
// (trimmed), with tabs, semicolons and line breaks made spaces so that pasting the copy gives the
// same layout.
[[nodiscard]] QString copiedPiece(const NumberText::ParsedEntry& read, const QString& text,
                                  const NumberText::Separators& separators);

// Tab-separated rows, each ended by "\n".
[[nodiscard]] QString copyText(const Block& rows);

} // namespace GridClipboard
