#pragma once
#include "ExactDecimal.h"
#include "TypedNumber.h"

#include <QString>
#include <QStringView>
class QLocale;
namespace NumberText {
// The separators of a locale; formatting and parsing take them as input, never global state.
struct Separators {
    QString decimal;
    QString group;
};
[[nodiscard]] Separators separatorsOf(const QLocale& locale);
enum class Error { None, Empty, NotANumber, OutOfRange, ZeroDenominator };
struct Parsed {
    double value = 0.0;
    Error error = Error::None;
    [[nodiscard]] bool ok() const noexcept { return error == Error::None; }
};
struct ParsedEntry {
    Kalvoran::TypedNumber number;
    Error error = Error::None;
    [[nodiscard]] bool ok() const noexcept { return error == Error::None; }
};
// Input rule. Blanks around the number are ignored; then an optional sign, ASCII digits with at
// most one decimal separator (digits on at least one side of it) and an optional exponent
// ("E" or "e", optional sign, digits). Group separators are accepted only between the integer
// digits in threes ("1.234.567,5" in German); anywhere else they make the text NotANumber, so
// that "1.5" typed on a German system is refused instead of read as 15. A number that is not zero
// but that a double holds only as an infinity or as zero (a magnitude below about 2.5E-324) is
// OutOfRange; subnormal magnitudes are read, and a zero with any exponent is a zero.
[[nodiscard]] Parsed parse(QStringView text, const Separators& separators);
// The rule for an entry of the matrix: a number text as above, or a fraction "p/q" of two of them,
// blanks allowed around the "/". Each is read once, into its double and its exact value (for a
// fraction, the quotient in lowest terms and the double nearest to it). A fraction whose
// denominator is zero is ZeroDenominator; one whose quotient a double holds only as an infinity or
// as zero (but is not zero) is OutOfRange, as is a part out of range.
[[nodiscard]] ParsedEntry parseEntry(QStringView text, const Separators& separators);
// Output rule. Rounded to 15 significant digits; plain notation when the rounded decimal exponent
// is -4 to 14, otherwise "d,dddE+XX" with at least two exponent digits. No grouping, no blanks,
// "-" for negative values, "0" for either zero. Every finite value's text reads back: magnitudes
// that would round beyond the double range are written 1.79769313486231E+308. Infinities and NaN
// give an empty string.
[[nodiscard]] QString format(double value, const Separators& separators);
// A fraction in lowest terms, "-1/3"; an integer without "/1".
[[nodiscard]] QString formatFraction(const Kalvoran::Rational& value);
// The text of an entry that reads back as the same number: a fraction as a fraction, a decimal
// with all the digits of its exact value (a negative zero as "-0").
[[nodiscard]] QString formatEntry(const Kalvoran::TypedNumber& number,
                                  const Separators& separators);
// The output rule for an exact value: rounded to 15 significant digits as a double is, written
// in the same notation, with an exponent of any size and nothing held back at the double range.
[[nodiscard]] QString format(const Kalvoran::ExactDecimal& value, const Separators& separators);
// An exact value with all its digits, in the output rule's notation.
[[nodiscard]] QString formatAllDigits(const Kalvoran::ExactDecimal& value,
                                      const Separators& separators);
// The significant digits of the output rule.
inline constexpr int significantDigits = 15;
} // namespace NumberText
