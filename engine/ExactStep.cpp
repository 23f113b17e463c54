#include "ExactStep.h"

#include "StepResult.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>

namespace Kalvoran {
namespace {

// A double as mantissa * 2^exponent with an integer mantissa below 2^53.
struct Unpacked {
    std::uint64_t mantissa;
    int exponent;
    bool negative;
};

Unpacked unpack(double x)
{
    const auto bits = std::bit_cast<std::uint64_t>(x);
    const auto biased = static_cast<int>((bits >> 52) & 0x7ff);
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
    const bool negative = (bits >> 63) != 0;
    if (biased == 0)
        return {fraction, -1074, negative};
    return {fraction | (std::uint64_t{1} << 52), biased - 1075, negative};
}

// A two's complement fixed-point number whose lowest bit is 2^-2148, the lowest bit of a product
// of two subnormals, and which holds every sum of two products of doubles and a double.
class FixedPoint {
public:
    // Adds or subtracts x * y.
    void add(double x, double y, bool subtract)
    {
        const Unpacked a = unpack(x);
        const Unpacked b = unpack(y);
        // The 106-bit product of the mantissas from four 32-bit partial products.
        const std::uint64_t mask = 0xffffffff;
        const std::uint64_t p00 = (a.mantissa & mask) * (b.mantissa & mask);
        const std::uint64_t p01 = (a.mantissa & mask) * (b.mantissa >> 32);
        const std::uint64_t p10 = (a.mantissa >> 32) * (b.mantissa & mask);
        const std::uint64_t p11 = (a.mantissa >> 32) * (b.mantissa >> 32);
        const std::uint64_t middle = (p00 >> 32) + (p01 & mask) + (p10 & mask);
        const std::uint64_t low = (p00 & mask) | (middle << 32);
        const std::uint64_t high = p11 + (p01 >> 32) + (p10 >> 32) + (middle >> 32);
        addAt(low, high, a.exponent + b.exponent, subtract != (a.negative != b.negative));
    }

    // Adds x.
    void add(double x)
    {
        const Unpacked a = unpack(x);
        addAt(a.mantissa, 0, a.exponent, a.negative);
    }

    [[nodiscard]] bool isZero() const
    {
        return std::ranges::all_of(limbs_, [](std::uint64_t limb) { return limb == 0; });
    }

    // The nearest double, ties to even; infinite beyond the range, a signed zero below half the
    // smallest subnormal.
    [[nodiscard]] double rounded() const
    {
        FixedPoint magnitude = *this;
        const bool negative = (limbs_.back() >> 63) != 0;
        if (negative)
            magnitude.negate();
        int top = -1;
        for (int i = Limbs - 1; i >= 0 && top < 0; --i)
            if (const std::uint64_t limb = magnitude.limbs_[static_cast<std::size_t>(i)]; limb != 0)
                top = 64 * i + static_cast<int>(std::bit_width(limb)) - 1;
        if (top < 0)
            return negative ? -0.0 : 0.0;
        // The last place of the result: 53 bits from the top, or the subnormal spacing.
        const int last = std::max(top - 52, -1074 - Lowest);
        std::uint64_t mantissa = 0;
        for (int i = top; i >= last; --i)
            mantissa = (mantissa << 1) | (magnitude.bit(i) ? 1 : 0);
        const bool half = magnitude.bit(last - 1); // last >= 1074
        const bool beyondHalf = magnitude.anyBelow(last - 1);
        if (half && (beyondHalf || (mantissa & 1) != 0))
            ++mantissa;
        const double value = std::ldexp(static_cast<double>(mantissa), last + Lowest);
        return negative ? -value : value;
    }

private:
    static constexpr int Lowest = -2148;
    static constexpr int Limbs = 66; // up to 2^2075, beyond 3 * 2^2048 and its sign

    // Adds or subtracts (high * 2^64 + low) * 2^exponent.
    void addAt(std::uint64_t low, std::uint64_t high, int exponent, bool subtract)
    {
        const int position = exponent - Lowest;
        const int shift = position % 64;
        std::array<std::uint64_t, 3> words{
            low << shift, shift == 0 ? high : (high << shift) | (low >> (64 - shift)),
            shift == 0 ? 0 : high >> (64 - shift)};
        std::uint64_t carry = 0;
        for (int i = position / 64, k = 0; i < Limbs && (k < 3 || carry != 0); ++i, ++k) {
            const std::uint64_t word = k < 3 ? words[static_cast<std::size_t>(k)] : 0;
            std::uint64_t& limb = limbs_[static_cast<std::size_t>(i)];
            if (subtract) {
                const std::uint64_t difference = limb - word;
                const bool borrow = limb < word;
                limb = difference - carry;
                carry = borrow || difference < carry ? 1 : 0;
            } else {
                const std::uint64_t sum = limb + word;
                const bool overflow = sum < word;
                limb = sum + carry;
                carry = overflow || limb < carry ? 1 : 0;
            }
        }
    }

    void negate()
    {
        std::uint64_t carry = 1;
        for (std::uint64_t& limb : limbs_) {
            limb = ~limb + carry;
            carry = (carry != 0 && limb == 0) ? 1 : 0;
        }
    }

    [[nodiscard]] bool bit(int index) const
    {
        return ((limbs_[static_cast<std::size_t>(index / 64)] >> (index % 64)) & 1) != 0;
    }

    // Whether any bit below `index` is set.
    [[nodiscard]] bool anyBelow(int index) const
    {
        for (int i = 0; i < index / 64; ++i)
            if (limbs_[static_cast<std::size_t>(i)] != 0)
                return true;
        const std::uint64_t below = (std::uint64_t{1} << (index % 64)) - 1;
        return (limbs_[static_cast<std::size_t>(index / 64)] & below) != 0;
    }

    std::array<std::uint64_t, Limbs> limbs_{};
};

double checked(double result)
{
    if (!std::isfinite(result))
        throwOverflow();
    return result;
}

bool finite(double a, double b, double c, double d)
{
    return std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d);
}

} // namespace

double ExactTwoByTwo(double a00, double a01, double a10, double a11)
{
    if (!finite(a00, a01, a10, a11))
        return checked(a00 * a11 - a10 * a01); // infinite or NaN
    // A product with a zero factor is an exact zero and leaves the other product, rounded once;
    // subtracting the zero could lose the sign of a product that rounds to zero.
    const bool pZero = a00 == 0 || a11 == 0;
    const bool qZero = a10 == 0 || a01 == 0;
    if (pZero || qZero)
        return pZero && qZero ? a00 * a11 - a10 * a01 : checked(qZero ? a00 * a11 : -(a10 * a01));
    FixedPoint value;
    value.add(a00, a11, false);
    value.add(a10, a01, true);
    return value.isZero() ? 0.0 : checked(value.rounded()); // an exact zero of two terms is +0
}

double ExactAddTerm(double d, double a, double sum)
{
    if (!finite(d, a, sum, 0))
        return checked(d * a + sum); // infinite or NaN
    if (d == 0 || a == 0)
        return d * a + sum; // an exact zero term
    if (sum == 0)
        return checked(d * a); // the term rounded once, keeping its sign if it rounds to zero
    FixedPoint value;
    value.add(d, a, false);
    value.add(sum);
    return value.isZero() ? 0.0 : checked(value.rounded());
}

} // namespace Kalvoran
