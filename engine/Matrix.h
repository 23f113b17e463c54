#pragma once

#include <vector>

namespace Kalvoran {

// A rectangular block of doubles, row-major, indices from 0. The first index is the row, the
// second the column. A matrix that was never sized holds no entries (0 x 0).
class Matrix {
public:
    Matrix() = default;
    Matrix(int rows, int cols);

    // Replaces the contents by a fresh rows x cols block of zeros; nothing survives a resize.
    void resize(int rows, int cols);

    [[nodiscard]] int rows() const noexcept { return rows_; }
    [[nodiscard]] int cols() const noexcept { return cols_; }
    [[nodiscard]] bool isEmpty() const noexcept { return values_.empty(); }

    [[nodiscard]] double operator()(int row, int col) const;
    [[nodiscard]] double& operator()(int row, int col);

    // Entry (row, col) lives at data()[row * cols() + col].
    [[nodiscard]] const double* data() const noexcept { return values_.data(); }

    friend bool operator==(const Matrix&, const Matrix&) = default;

private:
    [[nodiscard]] std::size_t offset(int row, int col) const;

    int rows_ = 0;
    int cols_ = 0;
    std::vector<double> values_;
};

} // namespace Kalvoran
