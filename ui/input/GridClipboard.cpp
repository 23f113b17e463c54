#include "GridClipboard.h"

#include <QRegularExpression>

namespace GridClipboard {

std::optional<Block> split(QStringView text, int maxRows, int maxColumns)
{
    Block block;
    QStringList pieces;
    qsizetype start = 0;
    for (qsizetype i = 0;; ++i) {
        const bool atEnd = i == text.size();
        const QChar c = atEnd ? QChar() : text[i];
        const bool rowEnds = atEnd || c == u'\n' || c == u'\r';
        if (!rowEnds && c != u'\t' && c != u';')
            continue;
        if (pieces.size() == maxColumns)
            return std::nullopt;
        pieces.append(text.sliced(start, i - start).trimmed().toString());
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
        if (!rowEnds)
            continue;
        block.append(pieces);
        pieces.clear();
        if (start >= text.size())
            return block;
        if (block.size() == maxRows)
            return std::nullopt;
    }
}

QString copiedPiece(const NumberText::ParsedEntry& read, const QString& text,
                    const NumberText::Separators& separators)
{
    if (read.ok())
        return NumberText::formatEntry(read.number, separators);
    static const QRegularExpression breaks(QStringLiteral("[\t;\r\n]"));
    return text.trimmed().replace(breaks, QStringLiteral(" "));
}

QString copyText(const Block& rows)
{
    QString text;
    for (const QStringList& row : rows)
        text += row.join(u'\t') + u'\n';
    return text;
}

} // namespace GridClipboard
