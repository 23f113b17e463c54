#include "TypedMatrix.h"

#include "Kalvoran.h"

#include <cmath>
#include <stdexcept>
#include <utility>

namespace Kalvoran {

TypedMatrix TypedD;

TypedMatrix::TypedMatrix(int order, std::vector<TypedNumber> numbers)
    : order_(order)
    , numbers_(std::move(numbers))
{
    if (order < 0 ||
        numbers_.size() != static_cast<std::size_t>(order) * static_cast<std::size_t>(order))
        throw std::invalid_argument("TypedMatrix: not order x order numbers");
}

TypedNumber TypedMatrix::at(const Matrix& doubles, int row, int column) const
{
    const double value = doubles(row, column);
    if (row < order_ && column < order_) {
        const TypedNumber& typed =
            numbers_[(static_cast<std::size_t>(row) * static_cast<std::size_t>(order_)) +
                     static_cast<std::size_t>(column)];
        if (typed.value == value)
            return typed;
    }
    return TypedNumber::of(value);
}

std::optional<ExactMatrix> TypedMatrix::exact(const Matrix& doubles) const
{
    const int order = ProbeOrder(doubles);
    ExactMatrix values(order);
    for (int row = 0; row < order; ++row) {
        for (int column = 0; column < order; ++column) {
            if (!std::isfinite(doubles(row, column)))
                return std::nullopt;
            values(row, column) = at(doubles, row, column).exact;
        }
    }
    return values;
}

} // namespace Kalvoran
