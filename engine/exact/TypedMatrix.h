#pragma once

#include "ExactMatrix.h"
#include "Matrix.h"
#include "TypedNumber.h"

#include <optional>
#include <vector>

namespace Kalvoran {

// The numbers of a matrix of doubles as they were typed. An entry speaks for the double at its
// place only while that double is still the one it was typed as; any other double, such as one
// set by the program itself, counts as its shortest decimal.
class TypedMatrix {
public:
    TypedMatrix() = default;
    // The numbers of an order x order matrix, row by row.
    TypedMatrix(int order, std::vector<TypedNumber> numbers);

    // The number behind the double at (row, column) of `doubles`.
    [[nodiscard]] TypedNumber at(const Matrix& doubles, int row, int column) const;

    // The exact values behind the leading square that the evaluation takes (ProbeOrder); empty
    // when a double there is infinite or not a number.
    [[nodiscard]] std::optional<ExactMatrix> exact(const Matrix& doubles) const;

private:
    int order_ = 0;
    std::vector<TypedNumber> numbers_;
};

// The numbers of MatrixD as typed, kept beside it: written with it by the entry window, read for
// its cells and for the exact determinant.
extern TypedMatrix TypedD;

} // namespace Kalvoran
