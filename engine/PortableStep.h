#pragma once

#include "StepResult.h"
#include "TargetFeatures.h"

#include <bit>
#include <cmath>
#include <cstdint>

namespace Kalvoran {

// The step in double arithmetic alone, for compilers whose long double is no wider than double.
// Where fma is one instruction an accumulation is a single fma, rounded once. Elsewhere, and for
// the 2 x 2 value, each product is split exactly into its rounded value and its rounding error
// (by fma, else by Dekker's algorithm), the pieces are summed keeping the rounding error of the
// leading sum, and the stored result lies within 1 ulp of the exact value of the step's
// formula, nearly always on the nearest double. Where a product lies outside
// [2^-900, 2^900] the operands are first scaled by powers of two, so a product beyond the double
// range never fails on its own; a step whose result leaves the range throws OverflowError, one
// below it gives the nearest subnormal or zero.
class PortableStep {
public:
    // a00 * a11 - a10 * a01
    static double twoByTwo(double a00, double a01, double a10, double a11)
    {
        const Pair p = twoProduct(a00, a11);
        const Pair q = twoProduct(a10, a01);
        const auto [h, l] = differenceOfProducts(p, q);
        const double result = h + l;
        // Products within [2^-900, 2^900] give a finite result, normal or zero; NaN comes from
        // a factor too large to split.
        if (moderateProduct(p.hi) && moderateProduct(q.hi) && !std::isnan(result))
            return result;
        return twoByTwoAtRangeEnds(a00, a01, a10, a11);
    }

    // t + (+0.0) with t = d * a: the first step of a running sum, the product rounded once.
    // Adding +0.0 turns an exact zero product of -0 into +0; one that underflows keeps its sign.
    static double firstTerm(double d, double a)
    {
        const double t = d * a;
        return checkedResult(d == 0 || a == 0 ? t + 0.0 : t);
    }

    // t + sum with t = d * a. An fma forms the exact product without a range limit and rounds
    // once: the nearest double, infinity where that leaves the range.
    static double addTerm(double d, double a, double sum)
    {
        if constexpr (FastExactFma)
            return checkedResult(std::fma(d, a, sum));
        const Pair p = twoProduct(d, a);
        const auto [h, l] = productPlusSum(p, sum);
        const double result = h + l;
        if (moderateProduct(p.hi) && std::isfinite(result))
            return result;
        return addTermAtRangeEnds(d, a, sum);
    }

    // sum - t with t = d * a
    static double subtractTerm(double sum, double d, double a) { return addTerm(-d, a, sum); }

    // An unevaluated sum hi + lo.
    struct Pair {
        double hi;
        double lo;
    };

    // a + b exactly (Knuth's TwoSum), hi being the rounded sum.
    static Pair twoSum(double a, double b)
    {
        const double s = a + b;
        const double bPart = s - a;
        return {s, (a - (s - bPart)) + (b - bPart)};
    }

    // a * b exactly, hi being the rounded product, while the product lies within
    // [2^-900, 2^900] and, for Dekker's algorithm, no factor reaches 2^996.
    static Pair twoProduct(double a, double b)
    {
        if constexpr (FastExactFma) {
            const double p = a * b;
            return {p, std::fma(a, b, -p)};
        }
        const Pair x = split(a);
        const Pair y = split(b);
        const double p = a * b;
        return {p, (((x.hi * y.hi - p) + x.hi * y.lo) + x.lo * y.hi) + x.lo * y.lo};
    }

    // p - q for exact products p and q, as h + l: h + l rounded is within 1 ulp of p - q.
    // Where p.hi and q.hi lie within a factor 2 of each other their difference is exact, and so
    // is p.lo - q.lo (both lie on the grid of the products' last bits): h + l is rounded once.
    // Elsewhere h dominates and l is off by far less than an ulp of h.
    static Pair differenceOfProducts(Pair p, Pair q)
    {
        const Pair s = twoSum(p.hi, -q.hi);
        return {s.hi, s.lo + (p.lo - q.lo)};
    }

    // p + sum for an exact product p, as h + l: h + l rounded is within 1 ulp of p + sum, by the
    // same reasoning.
    static Pair productPlusSum(Pair p, double sum)
    {
        const Pair s = twoSum(p.hi, sum);
        return {s.hi, s.lo + p.lo};
    }

private:
    // Splits a into two halves of 26 bits each (Veltkamp).
    static Pair split(double a)
    {
        const double c = 134217729.0 * a; // 2^27 + 1
        const double hi = c - (c - a);
        return {hi, a - hi};
    }

    // Whether |p| lies within [2^-900, 2^900]: one comparison of the bit patterns without the
    // sign, in which a magnitude below the range wraps round to a large number.
    static bool moderateProduct(double p)
    {
        constexpr std::uint64_t smallest = std::bit_cast<std::uint64_t>(0x1p-900) << 1;
        constexpr std::uint64_t largest = std::bit_cast<std::uint64_t>(0x1p900) << 1;
        return (std::bit_cast<std::uint64_t>(p) << 1) - smallest <= largest - smallest;
    }

    static double twoByTwoAtRangeEnds(double a00, double a01, double a10, double a11);
    static double addTermAtRangeEnds(double d, double a, double sum);
};

} // namespace Kalvoran
