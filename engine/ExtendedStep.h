#pragma once

#include "StepResult.h"
#include "TargetFeatures.h"

namespace Kalvoran {

// The step in long double: each 2 x 2 value and each running sum is formed with the wider
// exponent range, rounded once to double and checked. Correct only where ExtendedStepAvailable.
struct ExtendedStep {
    using Wide = long double;

    static double stored(Wide value) { return checkedResult(static_cast<double>(value)); }

    // a00 * a11 - a10 * a01
    static double twoByTwo(double a00, double a01, double a10, double a11)
    {
        return stored(Wide{a00} * a11 - Wide{a10} * a01);
    }

    // t + (+0.0) with t = d * a: the first step of a running sum
    static double firstTerm(double d, double a) { return addTerm(d, a, +0.0); }

    // t + sum with t = d * a
    static double addTerm(double d, double a, double sum)
    {
        const Wide term = Wide{d} * a;
        return stored(term + sum);
    }

    // sum - t with t = d * a
    static double subtractTerm(double sum, double d, double a)
    {
        const Wide term = Wide{d} * a;
        return stored(sum - term);
    }
};

} // namespace Kalvoran
