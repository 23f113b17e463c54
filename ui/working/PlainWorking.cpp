#include "PlainWorking.h"

#include <algorithm>
#include <utility>

namespace {

constexpr QChar minusSign = QChar(0x2212);

QChar subscriptChar(QChar c)
{
    if (c.isDigit())
        return QChar(0x2080 + c.digitValue());
    if (c == u'i')
        return QChar(0x1D62);
    if (c == u'j')
        return QChar(0x2C7C);
    return c;
}

} // namespace

PlainWorking::PlainWorking(NumberText::Separators separators)
    : WorkingWriter(std::move(separators))
{
}

QString PlainWorking::name(const QString& subscript) const
{
    QString text = QStringLiteral("D");
    for (const QChar c : subscript)
        text += subscriptChar(c);
    return text;
}

QString PlainWorking::nameInText(const QString& subscript) const
{
    return name(subscript);
}

QString PlainWorking::numberText(const Kalvoran::Rational& value, Place place,
                                 bool withoutSign) const
{
    QString text = magnitudeText(value);
    text.replace(u'-', minusSign); // in an exponent
    const bool negative = value < 0 && !withoutSign;
    if (negative)
        text.prepend(minusSign);
    const bool fraction = text.contains(u'/');
    if ((place != Place::Alone && negative) || (place == Place::Factor && fraction))
        return u'(' + text + u')';
    return text;
}

QString PlainWorking::tokenText(const Token& token) const
{
    switch (token.kind) {
    case Token::Kind::Number:
        return numberText(token.value, token.place, token.withoutSign);
    case Token::Kind::Plus:
        return QStringLiteral("+");
    case Token::Kind::Minus:
        return minusSign;
    case Token::Kind::Times:
        return QStringLiteral("·");
    case Token::Kind::Determinant:
        return QStringLiteral("det(") + name(token.subscript) + u')';
    }
    return {};
}

QStringList PlainWorking::matrixRows(const Kalvoran::ExactMatrix& matrix) const
{
    const int order = matrix.order();
    std::vector<QStringList> rows(static_cast<std::size_t>(order));
    std::vector<qsizetype> widths(static_cast<std::size_t>(order));
    for (int i = 0; i < order; ++i)
        for (int j = 0; j < order; ++j) {
            rows[i] << numberText(matrix(i, j), Place::Alone);
            widths[j] = std::max(widths[j], rows[i].back().size());
        }
    QStringList lines;
    for (QStringList& row : rows) {
        for (int j = 0; j < order; ++j)
            row[j] = row[j].rightJustified(widths[j]);
        lines << QStringLiteral("| ") + row.join(QStringLiteral("  ")) + QStringLiteral(" |");
    }
    return lines;
}

void PlainWorking::matrix(const QString& subscript, const Kalvoran::ExactMatrix& matrix)
{
    lines_ << name(subscript) + QStringLiteral(" =");
    lines_ << matrixRows(matrix);
}

void PlainWorking::equation(const std::vector<Expression>& sides)
{
    lines_ << sidesText(sides);
}

QString PlainWorking::sidesText(const std::vector<Expression>& sides) const
{
    QStringList texts;
    for (const Expression& side : sides) {
        QString text;
        for (const Token& token : side) {
            // A sign in front of a whole side stands close to what it negates.
            if (!text.isEmpty() && text != minusSign)
                text += u' ';
            text += tokenText(token);
        }
        texts << text;
    }
    return texts.join(QStringLiteral(" = "));
}

void PlainWorking::paragraph(const QString& text)
{
    lines_ << QString() << text;
}

QString PlainWorking::taken()
{
    QString text = lines_.join(u'\n') + u'\n';
    lines_.clear();
    return text;
}
