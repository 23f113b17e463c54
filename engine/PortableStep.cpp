#include "PortableStep.h"

#include "StepResult.h"

#include <algorithm>
#include <limits>

namespace Kalvoran {
namespace {

// Lowest exponent of a subnormal double: 2^-1074 is the spacing below 2^-1022.
constexpr int SubnormalExponent = -1074;

// A product of two non-zero finite doubles as (hi + lo) * 2^exponent, hi + lo exact and
// |hi| in [1/4, 1): the factors' mantissas in [1/2, 1) multiply without leaving the range.
struct ScaledProduct {
    PortableStep::Pair mantissa;
    int exponent;
};

ScaledProduct scaledProduct(double a, double b)
{
    int ea = 0;
    int eb = 0;
    const double ma = std::frexp(a, &ea);
    const double mb = std::frexp(b, &eb);
    return {PortableStep::twoProduct(ma, mb), ea + eb};
}

// The pair times 2^shift for shift <= 0. Exact unless a part falls below the double range, and
// then the lost part lies more than 2^-900 below the leading term of the step.
PortableStep::Pair shifted(PortableStep::Pair value, int shift)
{
    return {std::ldexp(value.hi, shift), std::ldexp(value.lo, shift)};
}

// The rounded (h + l) * 2^exponent, inf beyond the range. Where the result falls below the normal
// range it is rounded once to the subnormal grid, the remainder l deciding ties and near-ties.
double rescaled(PortableStep::Pair value, int exponent)
{
    const PortableStep::Pair sum = PortableStep::twoSum(value.hi, value.lo);
    const double result = std::ldexp(sum.hi, exponent);
    if (!(std::fabs(result) < std::numeric_limits<double>::min()))
        return result;
    // In units of the subnormal spacing the value is below 2^52, so nearbyint() rounds it to
    // the grid; only an exact tie in the leading part can be moved by the remainder.
    const double units = std::ldexp(sum.hi, exponent - SubnormalExponent);
    const double rest = std::ldexp(sum.lo, exponent - SubnormalExponent);
    double rounded = std::nearbyint(units);
    const double below = units - rounded;
    if (below == 0.5 && rest > 0)
        rounded += 1;
    else if (below == -0.5 && rest < 0)
        rounded -= 1;
    return std::ldexp(rounded, SubnormalExponent);
}

} // namespace

double PortableStep::twoByTwoAtRangeEnds(double a00, double a01, double a10, double a11)
{
    if (!std::isfinite(a00) || !std::isfinite(a01) || !std::isfinite(a10) || !std::isfinite(a11))
        return checkedResult(a00 * a11 - a10 * a01); // inf or NaN
    // A product with a zero factor is an exact zero and leaves the other product, rounded once;
    // subtracting the zero could lose the sign of a product that underflows to zero.
    const bool pZero = a00 == 0 || a11 == 0;
    const bool qZero = a10 == 0 || a01 == 0;
    if (pZero && qZero)
        return a00 * a11 - a10 * a01;
    if (qZero)
        return checkedResult(a00 * a11);
    if (pZero)
        return checkedResult(-(a10 * a01));
    const ScaledProduct p = scaledProduct(a00, a11);
    const ScaledProduct q = scaledProduct(a10, a01);
    const int exponent = std::max(p.exponent, q.exponent);
    return checkedResult(rescaled(differenceOfProducts(shifted(p.mantissa, p.exponent - exponent),
                                                       shifted(q.mantissa, q.exponent - exponent)),
                                  exponent));
}

double PortableStep::addTermAtRangeEnds(double d, double a, double sum)
{
    if (!std::isfinite(d) || !std::isfinite(a) || !std::isfinite(sum))
        return checkedResult(d * a + sum); // inf or NaN
    if (d == 0 || a == 0)
        return d * a + sum; // an exact zero term
    if (sum == 0)
        return checkedResult(d * a); // the term rounded once, keeping its sign if it underflows
    const ScaledProduct p = scaledProduct(d, a);
    int sumExponent = 0;
    const double sumMantissa = std::frexp(sum, &sumExponent);
    const int exponent = std::max(p.exponent, sumExponent);
    return checkedResult(rescaled(productPlusSum(shifted(p.mantissa, p.exponent - exponent),
                                                 std::ldexp(sumMantissa, sumExponent - exponent)),
                                  exponent));
}

} // namespace Kalvoran
