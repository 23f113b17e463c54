#pragma once

#include "Matrix.h"

#include <cstdint>
#include <stdexcept>

// The determinant engine: the state that the windows share and the two procedures on it.
namespace Kalvoran {

// The matrix whose determinant the compute command evaluates; its own extents are its order.
// Holds no entries until the main window sizes it.
extern Matrix MatrixD;

// Highest row and column index of the order chosen on the main window (order - 1).
extern std::int16_t LastIndex;

// The largest order the probe reports; larger matrices are evaluated on their top-left 11 x 11.
inline constexpr int MaxProbedOrder = 11;

// Thrown when a step of the evaluation leaves the double range (or is not a number).
class OverflowError : public std::overflow_error {
public:
    OverflowError();
};

// The order of a matrix from its index ranges alone: the number of leading diagonal positions
// that lie inside it, 0 for a matrix without entries, at most 11. Never reads a value.
[[nodiscard]] std::int16_t ProbeOrder(const Matrix& matrix) noexcept;

// The determinant by cofactor expansion along the first row, recursing on the minors. Every
// 2 x 2 value and every running sum is its exact value rounded once to the nearest double and
// checked (Step.h), on the fastest step path of the processor (StepPaths.h); an infinite or
// not-a-number step throws OverflowError.
// A matrix without entries (order 0) has the empty product, 1, as its determinant.
[[nodiscard]] double EvaluateDeterminant(const Matrix& matrix);

// The same evaluation, adding the number of evaluator calls (the outermost one and one per
// minor) to `calls`. For tests and measurements; EvaluateDeterminant does no counting.
[[nodiscard]] double EvaluateDeterminantCounted(const Matrix& matrix, std::uint64_t& calls);

} // namespace Kalvoran
