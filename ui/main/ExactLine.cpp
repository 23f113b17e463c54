#include "ExactLine.h"

#include "ExactDecimal.h"

ExactLine ExactLine::of(const Kalvoran::Rational& exact, const QString& resultNumber,
                        const NumberText::Separators& separators)
{
    ExactLine line;
    if (const auto decimal = Kalvoran::ExactDecimal::of(exact)) {
        line.number = NumberText::format(*decimal, separators);
        line.shown = line.number != resultNumber;
        line.approximate =
            decimal->digits.size() > static_cast<std::size_t>(NumberText::significantDigits);
        line.copied = NumberText::formatAllDigits(*decimal, separators);
        return line;
    }
    line.shown = true;
    line.copied = NumberText::formatFraction(exact);
    // The whole fraction's digits, without its sign and "/", are more than the output rule shows.
    const qsizetype digits = line.copied.size() - (exact < 0 ? 2 : 1);
    line.approximate = digits > NumberText::significantDigits;
    line.number =
        line.approximate
            ? NumberText::format(
                  Kalvoran::ExactDecimal::nearest(exact, NumberText::significantDigits), separators)
            : line.copied;
    return line;
}
