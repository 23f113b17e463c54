#include "NaiveDeterminant.h"

#include <cmath>
#include <cstddef>
#include <stdexcept>

double naiveDeterminant(const NaiveMatrix& a)
{
    const std::size_t n = a.size();
    if (n == 1)
        return a[0][0];
    if (n == 2) {
        const double d = a[0][0] * a[1][1] - a[1][0] * a[0][1];
        if (!std::isfinite(d))
            throw std::overflow_error("overflow");
        return d;
    }
    double sum = 0.0;
    NaiveMatrix minor(n - 1, std::vector<double>(n - 1));
    for (std::size_t k = 0; k < n; ++k) {
        std::size_t r = 0;
        std::size_t c = 0;
        for (std::size_t i = 0; i < n; ++i)
            for (std::size_t j = 0; j < n; ++j)
                if (i != 0 && j != k) {
                    minor[r][c] = a[i][j];
                    if (++c == n - 1) {
                        ++r;
                        c = 0;
                    }
                }
        const double term = naiveDeterminant(minor) * a[0][k];
        sum = k % 2 == 0 ? term + sum : sum - term;
        if (!std::isfinite(sum))
            throw std::overflow_error("overflow");
    }
    return sum;
}
