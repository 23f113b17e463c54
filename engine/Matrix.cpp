#include "Matrix.h"

#include <stdexcept>

namespace Kalvoran {

Matrix::Matrix(int rows, int cols)
{
    resize(rows, cols);
}

void Matrix::resize(int rows, int cols)
{
    if (rows < 0 || cols < 0)
        throw std::invalid_argument("Matrix::resize: negative extent");
    if (rows == 0 || cols == 0)
        rows = cols = 0;
    rows_ = rows;
    cols_ = cols;
    values_.assign(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols), 0.0);
}

std::size_t Matrix::offset(int row, int col) const
{
    if (row < 0 || row >= rows_ || col < 0 || col >= cols_)
        throw std::out_of_range("Matrix: index outside the matrix");
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(cols_) +
           static_cast<std::size_t>(col);
}

double Matrix::operator()(int row, int col) const
{
    return values_[offset(row, col)];
}

double& Matrix::operator()(int row, int col)
{
    return values_[offset(row, col)];
}

} // namespace Kalvoran
