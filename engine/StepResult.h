#pragma once

#include <cmath>

namespace Kalvoran {

[[noreturn]] void throwOverflow();

// A step's result as stored: one that is infinite or not a number is an overflow. The throw is
// out of line, so the check stays small enough to inline into every step.
inline double checkedResult(double result)
{
    if (!std::isfinite(result)) [[unlikely]]
        throwOverflow();
    return result;
}

} // namespace Kalvoran
