#pragma once

#include "Rational.h"

#include <string>

namespace Kalvoran {

// A number as a cell holds it: the double that the evaluation takes and the exact value of the
// text as typed, of which the double is the nearest. A fraction is shown as one again.
struct TypedNumber {
    double value = 0.0;
    Rational exact;
    bool fraction = false;

    // A double with the exact value of its shortest decimal, as a number typed with those digits.
    [[nodiscard]] static TypedNumber of(double value);
};

// The parts of a decimal number text in ASCII: digits only, the exponent with an optional sign.
struct DecimalText {
    bool negative = false;
    std::string integerDigits;
    std::string fractionDigits;
    std::string exponent; // empty when the text has none
};

enum class ReadError { None, OutOfRange, ZeroDenominator };

struct ReadNumber {
    TypedNumber number;
    ReadError error = ReadError::None;
};

// A decimal: its double is the nearest, its exact value has all its digits. A number that is not
// zero but that a double holds only as an infinity or as zero is OutOfRange; a zero keeps its sign.
[[nodiscard]] ReadNumber readDecimal(const DecimalText& text);

// numerator / denominator, each a decimal read as above: the exact quotient in lowest terms and
// the double nearest to it, rounded once. A zero denominator is ZeroDenominator; a quotient that
// a double holds only as an infinity or as zero (but is not zero) is OutOfRange.
[[nodiscard]] ReadNumber readFraction(const DecimalText& numerator, const DecimalText& denominator);

} // namespace Kalvoran
