#pragma once

#include "Matrix.h"

#include <cstdint>
#include <vector>

namespace Kalvoran {

// The two ways of evaluating the steps. Both round every step once to the nearest double, so
// they give the same result bits: with fma (x86-64 processors with FMA3, every ARM64 processor)
// and with Dekker's exact products (every processor).
enum class StepPath { Fma, Plain };

// The kinds of step, with t = d * a: a00 * a11 - a10 * a01; t + S; S - t; t + (+0.0).
enum class StepKind { TwoByTwo, Add, Subtract, First };

// The path EvaluateDeterminant takes: the fastest that this processor runs, chosen once.
[[nodiscard]] StepPath ChosenStepPath();

// The paths this processor runs, the fastest first: the fma path where it has fma, and the plain
// path, which every processor runs.
[[nodiscard]] std::vector<StepPath> RunnablePaths();

[[nodiscard]] const char* StepPathName(StepPath path);

// For tests and measurements, on a path that the processor runs: EvaluateDeterminant and
// EvaluateDeterminantCounted, and one step, x being (a00, a01, a10, a11) or (d, a, S). All throw
// OverflowError.
[[nodiscard]] double EvaluateDeterminantOn(StepPath path, const Matrix& matrix);
[[nodiscard]] double EvaluateDeterminantOn(StepPath path, const Matrix& matrix,
                                           std::uint64_t& calls);
[[nodiscard]] double EvaluateStep(StepPath path, StepKind kind, double x0, double x1, double x2,
                                  double x3);

} // namespace Kalvoran
