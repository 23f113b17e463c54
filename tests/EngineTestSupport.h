#pragma once

#include "Kalvoran.h"

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
