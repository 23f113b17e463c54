#pragma once

#include "Rational.h"

#include <vector>

namespace Kalvoran {

// A square matrix of exact values, row-major, indices from 0.
class ExactMatrix {
public:
    ExactMatrix() = default;
    // order x order zeros.
    explicit ExactMatrix(int order);

    [[nodiscard]] int order() const noexcept { return order_; }
    [[nodiscard]] const Rational& operator()(int row, int column) const;
    [[nodiscard]] Rational& operator()(int row, int column);

    // The matrix without one row and one column, whose determinant is that entry's minor.
    [[nodiscard]] ExactMatrix without(int row, int column) const;

    friend bool operator==(const ExactMatrix&, const ExactMatrix&) = default;

private:
    [[nodiscard]] std::size_t offset(int row, int column) const;

    int order_ = 0;
    std::vector<Rational> entries_;
};

} // namespace Kalvoran
