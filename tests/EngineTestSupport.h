#pragma once

#include "Kalvoran.h"

#include <limits>
#include <vector>

// A matrix from its rows (as many columns as the first row has).
inline Kalvoran::Matrix fromRows(const std::vector<std::vector<double>>& rows)
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
        return std::numeric_limits<double>::infinity();
    }
}
