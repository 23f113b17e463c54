#pragma once

#include "StepPaths.h"

#include <cstddef>
#include <cstdint>

namespace Kalvoran {

// The entry points of one step path, compiled in its own object: the expansion of a row-major
// block of the given order (1 ... 11) and row stride, uncounted and counted, and one step.
struct PathFunctions {
    double (*evaluate)(int order, const double* a, std::ptrdiff_t stride);
    double (*evaluateCounted)(int order, const double* a, std::ptrdiff_t stride,
                              std::uint64_t& calls);
    double (*step)(StepKind kind, double x0, double x1, double x2, double x3);
};

extern const PathFunctions FmaPathFunctions;   // FmaPath.cpp, built for fma
extern const PathFunctions PlainPathFunctions; // PlainPath.cpp

} // namespace Kalvoran
