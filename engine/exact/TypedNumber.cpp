#include "TypedNumber.h"

#include "ExactDecimal.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace Kalvoran {
namespace {

bool isZero(const DecimalText& text)
{
    return text.integerDigits.find_first_not_of('0') == std::string::npos &&
           text.fractionDigits.find_first_not_of('0') == std::string::npos;
}

// The exact value of a decimal text that is not zero and lies in the double range, so that its
// exponent is no larger than its count of digits plus a few hundred.
Rational exactValue(const DecimalText& text)
{
    const std::string digits = text.integerDigits + text.fractionDigits;
    long long exponent = 0;
    if (!text.exponent.empty()) {
        const char* first = text.exponent.data();
        first += text.exponent.front() == '+' ? 1 : 0; // from_chars takes a minus sign only
        std::from_chars(first, text.exponent.data() + text.exponent.size(), exponent);
    }
    const long long last = exponent - static_cast<long long>(text.fractionDigits.size());
    BigInteger integer(digits.substr(digits.find_first_not_of('0')));
    if (text.negative)
        integer = -integer;
    return timesPowerOfTen(integer, last);
}

} // namespace

TypedNumber TypedNumber::of(double value)
{
    return {value, ExactDecimal::of(value).value(), false};
}

ReadNumber readDecimal(const DecimalText& text)
{
    std::string ascii = text.integerDigits.empty() ? std::string("0") : text.integerDigits;
    if (!text.fractionDigits.empty())
        ascii += '.' + text.fractionDigits;
    if (!text.exponent.empty())
        ascii += 'e' + text.exponent;

    const bool zero = isZero(text);
    double magnitude = 0.0;
    const auto result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), magnitude);
    // libstdc++ reports a result beyond the largest double and one that rounds to zero alike, and
    // leaves the value untouched; either is out of range for a number that is not zero.
    if (!zero && (result.ec == std::errc::result_out_of_range || magnitude == 0.0))
        return {{}, ReadError::OutOfRange};
    if (zero)
        return {{text.negative ? -0.0 : 0.0, 0, false}, ReadError::None};
    return {{text.negative ? -magnitude : magnitude, exactValue(text), false}, ReadError::None};
}

ReadNumber readFraction(const DecimalText& numerator, const DecimalText& denominator)
{
    ReadNumber top = readDecimal(numerator);
    ReadNumber bottom = readDecimal(denominator);
    if (top.error != ReadError::None)
        return top;
    if (bottom.error != ReadError::None)
        return bottom;
    if (bottom.number.exact == 0)
        return {{}, ReadError::ZeroDenominator};
    const Rational quotient = top.number.exact / bottom.number.exact;
    const double value = nearestDouble(quotient);
    if (std::isinf(value) || (value == 0 && quotient != 0))
        return {{}, ReadError::OutOfRange};
    // A zero quotient keeps the sign that dividing the doubles would give it.
    const bool negative = std::signbit(top.number.value) != std::signbit(bottom.number.value);
    return {{value == 0 && negative ? -0.0 : value, quotient, true}, ReadError::None};
}

} // namespace Kalvoran
