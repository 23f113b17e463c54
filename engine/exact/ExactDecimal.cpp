#include "ExactDecimal.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>

namespace Kalvoran {
namespace {

// An integer times 10^lastExponent, the power of ten of its last digit.
ExactDecimal scaled(const BigInteger& value, long long lastExponent)
{
    if (value == 0)
        return {};
    ExactDecimal decimal{value < 0, decimalDigits(value), 0};
    decimal.exponent =
        static_cast<int>(lastExponent + static_cast<long long>(decimal.digits.size()) - 1);
    decimal.digits.erase(decimal.digits.find_last_not_of('0') + 1);
    return decimal;
}

// Divides out every factor 5 of a positive integer and returns how many there were.
unsigned takeOutFives(BigInteger& value)
{
    constexpr std::uint64_t fiveToThe27 = 7'450'580'596'923'828'125; // the largest below 2^64
    unsigned fives = 0;
    BigInteger quotient;
    BigInteger remainder;
    for (const auto& [factor, count] :
         {std::pair{fiveToThe27, 27U}, std::pair{std::uint64_t{5}, 1U}}) {
        for (;;) {
            divide_qr(value, BigInteger(factor), quotient, remainder);
            if (remainder != 0)
                break;
            value.swap(quotient);
            fives += count;
        }
    }
    return fives;
}

} // namespace

ExactDecimal ExactDecimal::of(double value, std::optional<int> significant)
{
    if (value == 0)
        return {};
    // "-d.ddde-XX" from std::to_chars.
    std::array<char, 32> buffer{};
    char* const first = buffer.data();
    char* const last = first + buffer.size();
    const auto end = significant ? std::to_chars(first, last, value, std::chars_format::scientific,
                                                 std::max(*significant, 1) - 1)
                                 : std::to_chars(first, last, value, std::chars_format::scientific);
    std::string_view text(first, static_cast<std::size_t>(end.ptr - first));
    ExactDecimal decimal;
    decimal.negative = text.front() == '-';
    if (decimal.negative)
        text.remove_prefix(1);
    const auto mark = text.find('e');
    for (const char c : text.substr(0, mark))
        if (c != '.')
            decimal.digits += c;
    decimal.digits.erase(decimal.digits.find_last_not_of('0') + 1);
    std::string_view exponent = text.substr(mark + 1);
    if (exponent.front() == '+')
        exponent.remove_prefix(1); // from_chars takes a minus sign only
    std::from_chars(exponent.data(), exponent.data() + exponent.size(), decimal.exponent);
    return decimal;
}

ExactDecimal ExactDecimal::rounded(int significant) const
{
    const auto kept = static_cast<std::size_t>(std::max(significant, 1));
    if (digits.size() <= kept)
        return *this;

    ExactDecimal result{negative, digits.substr(0, kept), exponent};
    // The dropped digits are non-zero at their end, so they are a tie exactly when they are a 5
    // alone, and more than half when they start with a 5 and go on, or with a larger digit.
    const char first = digits[kept];
    const bool tie = first == '5' && digits.size() == kept + 1;
    const bool odd = (result.digits.back() - '0') % 2 != 0;
    if (first > '5' || (first == '5' && !tie) || (tie && odd)) {
        const auto lastNonNine = result.digits.find_last_not_of('9');
        if (lastNonNine == std::string::npos) { // 99…9 becomes 100…0
            result.digits.assign(1, '1');
            ++result.exponent;
            return result;
        }
        result.digits.resize(lastNonNine + 1);
        ++result.digits.back();
        return result;
    }
    result.digits.erase(result.digits.find_last_not_of('0') + 1);
    return result;
}

std::optional<ExactDecimal> ExactDecimal::of(const Rational& value)
{
    // A fraction in lowest terms ends in the decimal system exactly when its denominator has no
    // prime factors but 2 and 5: then it is an integer over 10^k.
    BigInteger rest = denominator(value);
    const unsigned twos = rest == 1 ? 0 : static_cast<unsigned>(lsb(rest));
    rest >>= twos;
    const unsigned fives = takeOutFives(rest);
    if (rest != 1)
        return std::nullopt;
    const unsigned k = std::max(twos, fives);
    const BigInteger integer =
        numerator(value) * pow(BigInteger(2), k - twos) * pow(BigInteger(5), k - fives);
    return scaled(integer, -static_cast<long long>(k));
}

ExactDecimal ExactDecimal::nearest(const Rational& value, int significant)
{
    if (value == 0)
        return {};
    const auto kept = static_cast<long long>(std::max(significant, 1));
    const BigInteger n = abs(numerator(value));
    const BigInteger& d = denominator(value);
    const BigInteger smallest = powerOfTen(static_cast<unsigned>(kept - 1));
    const BigInteger largest = smallest * 10;
    // The power of ten of the first digit, estimated from the lengths in bits to within one.
    constexpr double log10Of2 = 0.30102999566398120;
    auto first = static_cast<long long>(
        std::floor((static_cast<double>(msb(n)) - static_cast<double>(msb(d))) * log10Of2));
    for (;;) {
        // The digits down to the last one kept: |value| / 10^last, rounded down.
        const long long last = first - kept + 1;
        const BigInteger dividend =
            last < 0 ? BigInteger(n * powerOfTen(static_cast<unsigned>(-last))) : n;
        const BigInteger divisor =
            last > 0 ? BigInteger(d * powerOfTen(static_cast<unsigned>(last))) : d;
        BigInteger digits;
        BigInteger remainder;
        divide_qr(dividend, divisor, digits, remainder);
        if (digits >= largest) {
            ++first;
            continue;
        }
        if (digits < smallest) {
            --first;
            continue;
        }
        const int half = BigInteger(remainder << 1U).compare(divisor);
        if (half > 0 || (half == 0 && bit_test(digits, 0)))
            ++digits; // a carry to 10^kept shows as one more digit, and moves the exponent
        ExactDecimal decimal = scaled(digits, last);
        decimal.negative = value < 0;
        return decimal;
    }
}

Rational ExactDecimal::value() const
{
    if (isZero())
        return 0;
    BigInteger integer(digits);
    if (negative)
        integer = -integer;
    // The power of ten of the last digit.
    return timesPowerOfTen(integer, static_cast<long long>(exponent) -
                                        static_cast<long long>(digits.size()) + 1);
}

} // namespace Kalvoran
