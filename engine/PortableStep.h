#pragma once

#include <cmath>

namespace Kalvoran {

// The step in double arithmetic alone, for compilers whose long double is no wider than double.
// Products are split exactly into a rounded part and its error (Dekker), the pieces are summed
// without losing their rounding errors, and the stored result lies within 1 ulp of the exact
// value of the step's formula. Where a factor is outside [2^-450, 2^450] the operands are first
// scaled by powers of two, so a product beyond the double range never fails on its own; a step
// whose result leaves the range throws OverflowError, one below it gives a subnormal or zero.
class PortableStep {
public:
    // a00 * a11 - a10 * a01
    static double twoByTwo(double a00, double a01, double a10, double a11)
    {
        if (!moderate(a00) || !moderate(a01) || !moderate(a10) || !moderate(a11))
            return twoByTwoAtRangeEnds(a00, a01, a10, a11);
        const auto [h, l] = differenceOfProducts(twoProduct(a00, a11), twoProduct(a10, a01));
        return h + l; // products within [2^-900, 2^900]: the result is finite and normal or zero
    }

    // t + sum with t = d * a
    static double addTerm(double d, double a, double sum)
    {
        if (!moderate(d) || !moderate(a))
            return addTermAtRangeEnds(d, a, sum);
        const auto [h, l] = productPlusSum(twoProduct(d, a), sum);
        return checked(h + l);
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

    // a * b exactly (Dekker's TwoProduct), hi being the rounded product. Exact while the
    // factors' magnitudes and their product's stay inside the ranges moderate() admits.
    static Pair twoProduct(double a, double b)
    {
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

    static bool moderate(double x)
    {
        const double magnitude = std::fabs(x);
        return magnitude >= 0x1p-450 && magnitude <= 0x1p450;
    }

    static double checked(double result);
    static double twoByTwoAtRangeEnds(double a00, double a01, double a10, double a11);
    static double addTermAtRangeEnds(double d, double a, double sum);
};

} // namespace Kalvoran
