#pragma once

#include "ExactMatrix.h"
#include "Rational.h"

namespace Kalvoran {

// The determinant in exact arithmetic, in lowest terms; 1 for order 0, the empty product. The
// determinant of any minor is that of ExactMatrix::without.
[[nodiscard]] Rational ExactDeterminant(const ExactMatrix& matrix);

} // namespace Kalvoran
