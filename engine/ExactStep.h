#pragma once

namespace Kalvoran {

// The steps of Step.h, rounded from their exact value in integer arithmetic: for products at
// the ends of the double range and for values too near the middle between two doubles for the
// steps' own error bound. Slow; taken rarely. Throw OverflowError beyond the range.

// a00 * a11 - a10 * a01
[[nodiscard]] double ExactTwoByTwo(double a00, double a01, double a10, double a11);

// d * a + sum
[[nodiscard]] double ExactAddTerm(double d, double a, double sum);

} // namespace Kalvoran
