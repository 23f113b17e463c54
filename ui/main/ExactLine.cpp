#include "ExactLine.h"

#include "ExactDecimal.h"

namespace {

// Whether numerator and denominator have more digits together than the output rule shows.
bool tooLongAsFraction(const Kalvoran::Rational& value)
{
    const Kalvoran::BigInteger top = abs(numerator(value));
    // Together below 2^128 they may have 15 digits or fewer; at 2^128 they have 39 or more.
    if (msb(top) + msb(denominator(value)) >= 128)
        return true;
    return Kalvoran::decimalDigits(top).size() +
               Kalvoran::decimalDigits(denominator(value)).size() >
           static_cast<std::size_t>(NumberText::significantDigits);
}

} // namespace

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
    line.approximate = tooLongAsFraction(exact);
    line.number =
        line.approximate
            ? NumberText::format(
                  Kalvoran::ExactDecimal::nearest(exact, NumberText::significantDigits), separators)
            : line.copied;
    return line;
}
