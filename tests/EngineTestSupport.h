#pragma once

#include "Kalvoran.h"

#include <limits>
#include <vector>

using Rows = std::vector<std::vector<double>>;

inline constexpr double Infinity = std::numeric_limits<double>::infinity();
inline constexpr double Largest = std::numeric_limits<double>::max();

// A matrix from its rows (as many columns as the first row has).
inline Kalvoran::Matrix fromRows(const Rows& rows)
{
    const auto n = static_cast<int>(rows.size());
    Kalvoran::Matrix m(n, n == 0 ? 0 : static_cast<int>(rows[0].size()));
    for (int i = 0; i < m.rows(); ++i)
        for (int j = 0; j < m.cols(); ++j)
            m(i, j) = rows[i][j];
    return m;
}

// An n x n matrix whose entries `draw` gives row by row.
template <class Draw> Kalvoran::Matrix randomMatrix(int n, Draw draw)
{
    Kalvoran::Matrix m(n, n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            m(i, j) = draw();
    return m;
}

// What `evaluate` returns; +infinity where it throws OverflowError.
template <class Evaluate> double orInfinity(Evaluate evaluate)
{
    try {
        return evaluate();
    } catch (const Kalvoran::OverflowError&) {
        return Infinity;
    }
}
