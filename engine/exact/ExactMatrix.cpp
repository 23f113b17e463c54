#include "ExactMatrix.h"

#include <stdexcept>

namespace Kalvoran {

ExactMatrix::ExactMatrix(int order)
    : order_(order)
    , entries_(static_cast<std::size_t>(order) * static_cast<std::size_t>(order))
{
    if (order < 0)
        throw std::invalid_argument("ExactMatrix: negative order");
}

std::size_t ExactMatrix::offset(int row, int column) const
{
    if (row < 0 || row >= order_ || column < 0 || column >= order_)
        throw std::out_of_range("ExactMatrix: index outside the matrix");
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(order_) +
           static_cast<std::size_t>(column);
}

const Rational& ExactMatrix::operator()(int row, int column) const
{
    return entries_[offset(row, column)];
}

Rational& ExactMatrix::operator()(int row, int column)
{
    return entries_[offset(row, column)];
}

ExactMatrix ExactMatrix::without(int row, int column) const
{
    ExactMatrix rest(order_ - 1);
    for (int i = 0, target = 0; i < order_; ++i) {
        if (i == row)
            continue;
        for (int j = 0, targetColumn = 0; j < order_; ++j) {
            if (j != column)
                rest(target, targetColumn++) = (*this)(i, j);
        }
        ++target;
    }
    return rest;
}

} // namespace Kalvoran
