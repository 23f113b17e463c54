#pragma once

#include "ExactDecimal.h"
#include "Matrix.h"

#include <optional>

namespace Kalvoran {

// The determinant of the matrix's entries in exact arithmetic, of the same order as
// EvaluateDeterminant takes (ProbeOrder; 1 for a matrix without entries). Each entry counts as
// the shortest decimal that reads back as that double, so 0.1 is exactly one tenth and every
// number typed with at most 15 significant digits counts as typed. No value is out of range:
// the result may lie far beyond the double range or below it. Empty when an entry is infinite
// or not a number.
[[nodiscard]] std::optional<ExactDecimal> ExactDeterminant(const Matrix& matrix);

} // namespace Kalvoran
