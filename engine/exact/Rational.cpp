#include "Rational.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

namespace Kalvoran {

BigInteger powerOfTen(unsigned exponent)
{
    BigInteger power = 1;
    BigInteger square = 10; // 10 to the power of the bit's value
    for (unsigned bits = exponent; bits != 0; bits >>= 1U) {
        if ((bits & 1U) != 0)
            power *= square;
        if (bits > 1)
            square *= square;
    }
    return power;
}

Rational timesPowerOfTen(const BigInteger& integer, long long exponent)
{
    if (exponent >= 0)
        return {BigInteger(integer * powerOfTen(static_cast<unsigned>(exponent)))};
    return {integer, powerOfTen(static_cast<unsigned>(-exponent))};
}

std::string decimalDigits(const BigInteger& integer)
{
    // 18 at a time from the lowest.
    BigInteger value = abs(integer);
    constexpr std::uint64_t chunk = 1'000'000'000'000'000'000;
    std::string digits;
    BigInteger quotient;
    BigInteger remainder;
    while (value != 0) {
        divide_qr(value, BigInteger(chunk), quotient, remainder);
        auto part = remainder.convert_to<std::uint64_t>();
        for (int i = 0; i < 18 && (quotient != 0 || part != 0); ++i) {
            digits += static_cast<char>('0' + part % 10);
            part /= 10;
        }
        value.swap(quotient);
    }
    std::reverse(digits.begin(), digits.end());
    return digits;
}

double nearestDouble(const Rational& value)
{
    if (value == 0)
        return 0.0;
    const BigInteger n = abs(numerator(value));
    const BigInteger& d = denominator(value);
    constexpr long long significandBits = 53;
    constexpr long long lowestExponent = -1074; // of the last bit of the smallest subnormal

    // With n / d in [2^(s-1), 2^(s+1)), the quotient by 2^e for e = s - 53 has 53 or 54 bits;
    // the last bit kept is worth 2^e, at least the smallest subnormal's.
    const long long s = static_cast<long long>(msb(n)) - static_cast<long long>(msb(d));
    long long e = s - significandBits;
    BigInteger quotient;
    BigInteger remainder;
    BigInteger divisor;
    const auto divide = [&] {
        const long long exponent = std::max(e, lowestExponent);
        divisor = exponent >= 0 ? BigInteger(d << static_cast<unsigned>(exponent)) : d;
        const BigInteger dividend =
            exponent < 0 ? BigInteger(n << static_cast<unsigned>(-exponent)) : n;
        divide_qr(dividend, divisor, quotient, remainder);
        return exponent;
    };
    long long exponent = divide();
    if (quotient != 0 && msb(quotient) >= significandBits) {
        ++e;
        exponent = divide();
    }
    const int comparison = BigInteger(remainder << 1U).compare(divisor);
    if (comparison > 0 || (comparison == 0 && bit_test(quotient, 0)))
        ++quotient; // 2^53 at most, still exact as a double
    // Far beyond the range ldexp gives infinity; the exponent is clamped first so that it fits.
    const double magnitude =
        std::ldexp(quotient.convert_to<double>(), static_cast<int>(std::min(exponent, 2048LL)));
    return value < 0 ? -magnitude : magnitude;
}

} // namespace Kalvoran
