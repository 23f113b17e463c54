#include "Rational.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

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
        const BigInteger dividend = exponent < 0 ? BigInteger(n << static_cast<unsigned>(-exponent)) : n;
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
