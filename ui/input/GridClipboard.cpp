#include "GridClipboard.h"

#include <QRegularExpression>

#include <algorithm>

namespace GridClipboard {

int Block::width() const
{
    qsizetype widest = 0;
    for (const QStringList& row : rows)
        widest = std::max(widest, row.size());
    return static_cast<int>(widest);
}

bool Block::isSingleValue() const
{
    return rows.size() == 1 && rows.front().size() == 1;
}

bool Block::fitsAt(int row, int column, int order) const
{
    return row + height() <= order && column + width() <= order;
}

Block split(const QString& text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    static const QRegularExpression pieceBreak(QStringLiteral("[\t;]"));

    QStringList lines = text.split(lineBreak);
    if (lines.size() > 1 && lines.back().isEmpty())
        lines.removeLast();
    Block block;
    for (const QString& line : lines) {
        QStringList pieces = line.split(pieceBreak);
        for (QString& piece : pieces)
            piece = piece.trimmed();
        block.rows.append(pieces);
    }
    return block;
}

QString copiedPiece(const NumberText::Parsed& read, const QString& text,
                    const NumberText::Separators& separators)
{
    if (read.ok())
        return NumberText::format(read.value, separators);
    static const QRegularExpression breaks(QStringLiteral("[\t;\r\n]"));
    return text.trimmed().replace(breaks, QStringLiteral(" "));
}

QString copyText(const QList<QStringList>& rows)
{
    QString text;
    for (const QStringList& row : rows)
        text += row.join(u'\t') + u'\n';
    return text;
}

} // namespace GridClipboard
