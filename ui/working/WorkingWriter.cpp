#include "WorkingWriter.h"

#include "ExactDecimal.h"

#include <QCoreApplication>

#include <utility>

using Kalvoran::WorkedDeterminant;
using Kalvoran::WorkingLine;

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("WorkingWriter", text);
}

using Token = WorkingWriterToken;

Token number(const Kalvoran::Rational& value, WorkingWriterToken::Place place)
{
    Token token;
    token.value = value;
    token.place = place;
    return token;
}

Token sign(Token::Kind kind)
{
    Token token;
    token.kind = kind;
    return token;
}

Token determinant(const std::vector<Kalvoran::Strike>& path)
{
    Token token;
    token.kind = Token::Kind::Determinant;
    token.subscript = subscriptOf(path);
    return token;
}

constexpr auto Alone = Token::Place::Alone;
constexpr auto Factor = Token::Place::Factor;
constexpr auto Operand = Token::Place::Operand;

} // namespace

QString subscriptOf(const std::vector<Kalvoran::Strike>& path)
{
    QStringList levels;
    for (const Kalvoran::Strike strike : path) {
        const int row = strike.row + 1;
        const int column = strike.column + 1;
        levels << QString::number(row) + (row > 9 || column > 9 ? QStringLiteral(",") : QString()) +
                      QString::number(column);
    }
    return levels.join(u',');
}

WorkingWriter::WorkingWriter(NumberText::Separators separators)
    : separators_(std::move(separators))
{
}

QString WorkingWriter::magnitudeText(const Kalvoran::Rational& value) const
{
    if (auto decimal = Kalvoran::ExactDecimal::of(value)) {
        decimal->negative = false;
        return NumberText::formatAllDigits(*decimal, separators_);
    }
    QString fraction = NumberText::formatFraction(value);
    if (fraction.startsWith(u'-'))
        fraction.remove(0, 1);
    return fraction;
}

QString WorkingWriter::write(const WorkedDeterminant& worked, const QString& floatingResult)
{
    matrix(QString(), worked.matrix);
    steps(worked);
    if (worked.matrix.order() > 1)
        equation({{determinant({})}, {number(worked.value, Alone)}});
    if (!floatingResult.isEmpty())
        paragraph(tr("Das Programm selbst rechnet mit Gleitkommazahlen und zeigt: %1")
                      .arg(floatingResult));
    return taken();
}

void WorkingWriter::steps(const WorkedDeterminant& worked)
{
    const Token self = determinant(worked.path);
    switch (worked.method) {
    case WorkedDeterminant::Method::Single:
    case WorkedDeterminant::Method::ValueOnly:
        equation({{self}, {number(worked.value, Alone)}});
        break;
    case WorkedDeterminant::Method::Cross:
    case WorkedDeterminant::Method::Sarrus:
        products(worked);
        break;
    case WorkedDeterminant::Method::Expansion:
        expansion(worked);
        break;
    }
}

void WorkingWriter::products(const WorkedDeterminant& worked)
{
    if (worked.method == WorkedDeterminant::Method::Sarrus)
        paragraph(tr("Regel von Sarrus:"));
    Expression factors;
    Expression values;
    for (const Kalvoran::EntryProduct& product : worked.products) {
        const bool first = factors.empty();
        if (!first || product.subtracted) {
            const Token op = sign(product.subtracted ? Token::Kind::Minus : Token::Kind::Plus);
            factors.push_back(op);
            values.push_back(op);
        }
        for (const Kalvoran::Rational& factor : product.factors) {
            if (&factor != &product.factors.front())
                factors.push_back(sign(Token::Kind::Times));
            factors.push_back(number(factor, Factor));
        }
        values.push_back(number(product.value, values.empty() ? Alone : Operand));
    }
    equation({{determinant(worked.path)}, factors, values, {number(worked.value, Alone)}});
}

void WorkingWriter::expansion(const WorkedDeterminant& worked)
{
    paragraph(expansionNote(worked));
    for (const Kalvoran::ExpansionTerm& term : worked.terms)
        for (const WorkedDeterminant& minor : term.minor)
            if (minor.method != WorkedDeterminant::Method::ValueOnly)
                matrix(subscriptOf(minor.path), minor.matrix);

    // The terms with their minors, the same with the minors' values, and the products.
    Expression named;
    Expression valued;
    Expression summed;
    for (const Kalvoran::ExpansionTerm& term : worked.terms) {
        // A zero term is written as 0, without its sign.
        const bool first = named.empty();
        const bool negative = term.negative && !term.minor.empty();
        if (!first || negative) {
            const Token op = sign(negative ? Token::Kind::Minus : Token::Kind::Plus);
            named.push_back(op);
            valued.push_back(op);
        }
        if (term.minor.empty()) {
            const Token zero = number(0, first ? Alone : Operand);
            named.push_back(zero);
            valued.push_back(zero);
        } else {
            const Token entry = number(term.entry, Factor);
            const WorkedDeterminant& minor = term.minor.front();
            named.insert(named.end(), {entry, sign(Token::Kind::Times), determinant(minor.path)});
            valued.insert(valued.end(),
                          {entry, sign(Token::Kind::Times), number(minor.value, Factor)});
        }
        if (first) {
            summed.push_back(number(term.product, Alone));
        } else if (term.product < 0) {
            summed.push_back(sign(Token::Kind::Minus));
            Token magnitude = number(term.product, Operand);
            magnitude.withoutSign = true;
            summed.push_back(magnitude);
        } else {
            summed.push_back(sign(Token::Kind::Plus));
            summed.push_back(number(term.product, Operand));
        }
    }
    const Token self = determinant(worked.path);
    equation({{self}, named});
    for (const Kalvoran::ExpansionTerm& term : worked.terms)
        for (const WorkedDeterminant& minor : term.minor)
            steps(minor);
    equation({{self}, valued, summed, {number(worked.value, Alone)}});
}

QString WorkingWriter::expansionNote(const WorkedDeterminant& worked) const
{
    const bool row = worked.line.kind == WorkingLine::Kind::Row;
    const QString number = QString::number(worked.line.index + 1);
    const QString along =
        row ? tr("nach der %1. Zeile").arg(number) : tr("nach der %1. Spalte").arg(number);
    if (!worked.path.empty())
        return tr("Entwicklung von det(%1) %2:").arg(nameInText(subscriptOf(worked.path)), along);
    const QString minors = row ? number + QStringLiteral("j") : QStringLiteral("i") + number;
    return tr("Entwicklung %1; %2 ist D mit Zeile %3 und Spalte %4 gestrichen:")
        .arg(along, nameInText(minors), row ? number : QStringLiteral("i"),
             row ? QStringLiteral("j") : number);
}
