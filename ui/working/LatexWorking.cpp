#include "LatexWorking.h"

#include <utility>

namespace {

QString name(const QString& subscript)
{
    return subscript.isEmpty() ? QStringLiteral("D") : QStringLiteral("D_{%1}").arg(subscript);
}

QString displayed(const QString& formula)
{
    return QStringLiteral("\\[ ") + formula + QStringLiteral(" \\]");
}

} // namespace

LatexWorking::LatexWorking(NumberText::Separators separators)
    : WorkingWriter(std::move(separators))
{
}

QString LatexWorking::nameInText(const QString& subscript) const
{
    return u'$' + name(subscript) + u'$';
}

QString LatexWorking::numberText(const Kalvoran::Rational& value, Place place,
                                 bool withoutSign) const
{
    // The magnitude's text is digits with a separator and perhaps an exponent, or a fraction.
    const QString plain = magnitudeText(value);
    QString text;
    if (const qsizetype bar = plain.indexOf(u'/'); bar >= 0) {
        text = QStringLiteral("\\frac{%1}{%2}").arg(plain.left(bar), plain.mid(bar + 1));
    } else {
        const qsizetype e = plain.indexOf(u'E');
        text = plain.left(e).replace(QStringLiteral(","), QStringLiteral("{,}"));
        if (e >= 0)
            text += QStringLiteral(" \\cdot 10^{%1}").arg(plain.mid(e + 1).toInt());
    }
    if (value < 0 && !withoutSign) {
        text.prepend(u'-');
        if (place != Place::Alone)
            return QStringLiteral("\\left(") + text + QStringLiteral("\\right)");
    }
    return text;
}

QString LatexWorking::tokenText(const Token& token) const
{
    switch (token.kind) {
    case Token::Kind::Number:
        return numberText(token.value, token.place, token.withoutSign);
    case Token::Kind::Plus:
        return QStringLiteral("+");
    case Token::Kind::Minus:
        return QStringLiteral("-");
    case Token::Kind::Times:
        return QStringLiteral("\\cdot");
    case Token::Kind::Determinant:
        return QStringLiteral("\\det(") + name(token.subscript) + u')';
    }
    return {};
}

void LatexWorking::matrix(const QString& subscript, const Kalvoran::ExactMatrix& matrix)
{
    QStringList rows;
    for (int i = 0; i < matrix.order(); ++i) {
        QStringList row;
        for (int j = 0; j < matrix.order(); ++j)
            row << numberText(matrix(i, j), Place::Alone);
        rows << row.join(QStringLiteral(" & "));
    }
    chunks_ << displayed(name(subscript) + QStringLiteral(" = \\begin{vmatrix} ") +
                         rows.join(QStringLiteral(" \\\\ ")) + QStringLiteral(" \\end{vmatrix}"));
}

void LatexWorking::equation(const std::vector<Expression>& sides)
{
    QStringList texts;
    for (const Expression& side : sides) {
        QStringList tokens;
        for (const Token& token : side)
            tokens << tokenText(token);
        texts << tokens.join(u' ');
    }
    chunks_ << displayed(texts.join(QStringLiteral(" = ")));
}

void LatexWorking::paragraph(const QString& text)
{
    chunks_ << QString() << text << QString();
}

QString LatexWorking::taken()
{
    QString text = chunks_.join(u'\n') + u'\n';
    chunks_.clear();
    return text;
}
