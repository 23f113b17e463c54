#pragma once

#include "ExactMatrix.h"
#include "Rational.h"

#include <optional>
#include <vector>

// The working of a determinant as a pupil writes it down, with every value exact: what is
// multiplied, what is added, and the value of each step. Writers only read it.
namespace Kalvoran {

// What a determinant is worked out along: a row or a column (index from 0), or, at order 3, the
// rule of Sarrus.
struct WorkingLine {
    enum class Kind { Row, Column, Sarrus };
    Kind kind = Kind::Row;
    int index = 0;
    friend bool operator==(const WorkingLine&, const WorkingLine&) = default;
};

// Where a minor lies: the row and column struck out of the determinant it belongs to.
struct Strike {
    int row = 0;
    int column = 0;
};

struct WorkedDeterminant;

// One term of a Laplace expansion: the chessboard sign, the entry, its minor and their product
// with the sign. A term whose entry is zero has no minor and the product zero.
struct ExpansionTerm {
    Strike strike;
    bool negative = false;
    Rational entry;
    std::vector<WorkedDeterminant> minor; // one, or none for a zero entry
    Rational product;
};

// A product of entries, for order 2 and the rule of Sarrus: the factors, whether it is
// subtracted, and its value (without that sign).
struct EntryProduct {
    std::vector<Rational> factors;
    bool subtracted = false;
    Rational value;
};

struct WorkedDeterminant {
    // Single: order 1. Cross: order 2, a·d − c·b. Sarrus: its six products. Expansion: Laplace's
    // expansion along `line`, the minors worked out in turn. ValueOnly: the value, no working.
    enum class Method { Single, Cross, Sarrus, Expansion, ValueOnly };
    std::vector<Strike> path; // the strikes from the whole matrix D to this one; none for D
    ExactMatrix matrix;
    Method method = Method::Single;
    WorkingLine line;                   // for Expansion
    std::vector<ExpansionTerm> terms;   // for Expansion
    std::vector<EntryProduct> products; // for Cross and Sarrus
    Rational value;
};

// The line a pupil is taught to expand along: the row or column with the most zeros, the first
// row on a tie (rows before columns, each from the first).
[[nodiscard]] WorkingLine defaultLine(const ExactMatrix& matrix);

// The working of det(matrix) (order 1 to 10) along `line`. Orders 3 and 4 are written out down
// to 2 × 2 determinants, each 3 × 3 minor along its own default line; from order 5 on only the
// first level, with each minor's value.
[[nodiscard]] WorkedDeterminant workOut(const ExactMatrix& matrix, WorkingLine line);

// Whether the floating-point result (none after an overflow) is not exactly `exact`.
[[nodiscard]] bool floatingDiffers(const Rational& exact, std::optional<double> floating);

} // namespace Kalvoran
