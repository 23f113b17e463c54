#pragma once

#include "ExactStep.h"
#include "StepResult.h"
#include "TargetFeatures.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace Kalvoran {

// One step of the expansion, the exact value of its formula rounded once to the nearest double
// (ties to even): the 2 x 2 value a00 * a11 - a10 * a01, and t + S or S - t with t = d * a. A
// product never fails on its own; a result beyond the double range throws OverflowError, one
// below it is the nearest subnormal or zero with the sign of the exact value.
//
// Step<true> takes fma as one instruction and is built only into the object compiled for fma;
// Step<false> forms exact products by Dekker's algorithm. Every helper is a member, so the two
// share no inline code that one object could compile for the other's processor.
//
// Where the products are exact (from 2^-900 up) the step forms the exact value as
// h + r - e: h + r exactly (error-free sums), the error e of at most two roundings bounded by
// `bound`. Where h + r +- bound lies inside the rounding interval of h, h is the nearest double
// to the exact value; elsewhere, and at the ends of the range, ExactStep.h rounds it.
template <bool WithFma> class Step {
public:
    // a00 * a11 - a10 * a01
    KALVORA_INLINE static double twoByTwo(double a00, double a01, double a10, double a11)
    {
        const double p = a00 * a11;
        const double q = a10 * a01;
        const Pair s = twoSum(p, -q);
        const double t = productError(a00, a11, p) - productError(a10, a01, q); // rounded
        const double l = s.lo + t;                                              // rounded
        const Pair h = twoSum(s.hi, l);
        if (exactProduct(p) && exactProduct(q) && nearestIsCertain(h, std::fabs(t) + std::fabs(l)))
            return h.hi;
        return ExactTwoByTwo(a00, a01, a10, a11);
    }

    // t + (+0.0) with t = d * a: the product rounded once. Adding +0.0 turns an exact zero of -0
    // into +0; a product that underflows keeps its sign.
    KALVORA_INLINE static double firstTerm(double d, double a)
    {
        const double t = d * a;
        // A rare branch: written as one select, clang makes every step wait for both
        // comparisons and a blend.
        if (t == 0) [[unlikely]]
            return d == 0 || a == 0 ? 0.0 : t;
        return checked(t);
    }

    // t + sum with t = d * a
    KALVORA_INLINE static double addTerm(double d, double a, double sum)
    {
        if constexpr (WithFma) {
            return checked(KALVORA_FMA(d, a, sum));
        } else {
            const double p = d * a;
            const Pair s = twoSum(p, sum);
            const double l = s.lo + productError(d, a, p); // rounded
            const Pair h = twoSum(s.hi, l);
            if (exactProduct(p) && nearestIsCertain(h, std::fabs(l)))
                return h.hi;
            return ExactAddTerm(d, a, sum);
        }
    }

    // sum - t with t = d * a
    KALVORA_INLINE static double subtractTerm(double sum, double d, double a)
    {
        return addTerm(-d, a, sum);
    }

private:
    // An unevaluated sum hi + lo.
    struct Pair {
        double hi;
        double lo;
    };

    static std::uint64_t magnitudeBits(double x)
    {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &x, sizeof bits);
        return bits & ~(std::uint64_t{1} << 63);
    }

    static double fromBits(std::uint64_t bits)
    {
        double x = 0;
        std::memcpy(&x, &bits, sizeof x);
        return x;
    }

    // The bit pattern of 2^e.
    static constexpr std::uint64_t powerOfTwo(int e) { return std::uint64_t(1023 + e) << 52; }

    static constexpr std::uint64_t MantissaMask = (std::uint64_t{1} << 52) - 1;

    // Whether low <= |x| <= high; false for NaN.
    static bool within(double x, std::uint64_t low, std::uint64_t high)
    {
        return magnitudeBits(x) - low <= high - low;
    }

    // Whether |p| is at least 2^-900: the product that p rounds is then p plus its rounding
    // error, which lies on a grid no finer than 2^-1006. A product beyond the range, or a factor
    // too large for Dekker's algorithm, makes the step's result infinite or NaN.
    static bool exactProduct(double p) { return std::fabs(p) >= 0x1p-900; }

    static double checked(double result)
    {
        if (!(std::fabs(result) <= 0x1.fffffffffffffp1023)) [[unlikely]]
            throwOverflow();
        return result;
    }

    // a + b exactly (Knuth's TwoSum), hi being the rounded sum.
    static Pair twoSum(double a, double b)
    {
        const double s = a + b;
        const double bPart = s - a;
        return {s, (a - (s - bPart)) + (b - bPart)};
    }

    // a * b - p exactly for p = a * b rounded, |p| at least 2^-900 and finite; with Dekker's
    // algorithm NaN where a factor is too large to split.
    static double productError(double a, double b, double p)
    {
        if constexpr (WithFma) {
            return KALVORA_FMA(a, b, -p);
        } else {
            const Pair x = split(a);
            const Pair y = split(b);
            return (((x.hi * y.hi - p) + x.hi * y.lo) + x.lo * y.hi) + x.lo * y.lo;
        }
    }

    // Splits a into two halves of 26 bits each (Veltkamp).
    static Pair split(double a)
    {
        const double c = 134217729.0 * a; // 2^27 + 1
        const double hi = c - (c - a);
        return {hi, a - hi};
    }

    // Whether h.hi is the nearest double to every value within h.hi + h.lo +- bound, where
    // bound = 2^-52 * terms covers the roundings (each at most 2^-53 of its result) of the at most
    // two rounded terms whose magnitudes `terms` adds up. h.hi is the rounded h.hi + h.lo. Errors
    // that can be non-zero lie on a grid no finer than 2^-1006, so bound is 0 only when exact.
    static bool nearestIsCertain(Pair h, double terms)
    {
        const double bound = terms * 0x1p-52;
        if (bound == 0)
            return true; // h.hi + h.lo is the exact value, h.hi its nearest double
        // A normal h.hi, not a power of two (where the spacing changes), away from both ends of
        // the range: its rounding interval reaches half its spacing to either side.
        const std::uint64_t bits = magnitudeBits(h.hi);
        if (!within(h.hi, powerOfTwo(-969), powerOfTwo(1020)) || (bits & MantissaMask) == 0)
            return false;
        const double halfSpacing = fromBits(bits & ~MantissaMask) * 0x1p-53;
        return std::fabs(h.lo) + bound < halfSpacing;
    }
};

using FmaStep = Step<true>;
using PlainStep = Step<false>;

} // namespace Kalvoran
