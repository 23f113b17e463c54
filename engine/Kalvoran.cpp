#include "Kalvoran.h"

namespace Kalvoran {

Matrix MatrixD;
std::int16_t LastIndex = 0;

OverflowError::OverflowError()
    : std::overflow_error("determinant evaluation left the double range")
{
}

std::int16_t ProbeOrder(const Matrix& matrix) noexcept
{
    std::int16_t order = 0;
    while (order < MaxProbedOrder && !matrix.isEmpty() && order < matrix.rows() &&
           order < matrix.cols())
        ++order;
    return order;
}

} // namespace Kalvoran
