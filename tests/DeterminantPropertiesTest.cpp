// Properties over random small-integer matrices. Every intermediate value is then an integer far
// below 2^53, so the expansion is exact and can be compared with an independent computation.
#include "Kalvoran.h"

#include <gtest/gtest.h>

#include <boost/multiprecision/cpp_int.hpp>
#include <random>
#include <utility>
#include <vector>

using Kalvoran::EvaluateDeterminant;
using Kalvoran::Matrix;

namespace {

using Integer = boost::multiprecision::cpp_int;

// Fraction-free Bareiss elimination with row exchanges, exact in big integers.
Integer bareissDeterminant(const Matrix& m)
{
    const int n = m.rows();
    std::vector<std::vector<Integer>> a(n, std::vector<Integer>(n));
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            a[i][j] = Integer(static_cast<long long>(m(i, j)));
    Integer sign = 1;
    Integer previous = 1;
    for (int k = 0; k < n - 1; ++k) {
        int pivot = k;
        while (pivot < n && a[pivot][k] == 0)
            ++pivot;
        if (pivot == n)
            return 0;
        if (pivot != k) {
            std::swap(a[pivot], a[k]);
            sign = -sign;
        }
        for (int i = k + 1; i < n; ++i)
            for (int j = k + 1; j < n; ++j)
                a[i][j] = (a[i][j] * a[k][k] - a[i][k] * a[k][j]) / previous;
        previous = a[k][k];
    }
    return sign * a[n - 1][n - 1];
}

TEST(DeterminantProperties, HoldForRandomIntegerMatricesUpToOrderEight)
{
    std::mt19937 rng(20261206U);
    std::uniform_int_distribution<int> entry(-9, 9);
    for (int n = 1; n <= 8; ++n) {
        for (int sample = 0; sample < 40; ++sample) {
            Matrix m(n, n);
            Matrix transposed(n, n);
            for (int i = 0; i < n; ++i)
                for (int j = 0; j < n; ++j)
                    transposed(j, i) = m(i, j) = entry(rng);
            const double value = EvaluateDeterminant(m);
            ASSERT_EQ(value, bareissDeterminant(m).convert_to<double>()) << "order " << n;
            ASSERT_EQ(EvaluateDeterminant(transposed), value) << "order " << n;
            if (n < 2)
                continue;
            const int r1 = sample % n;
            const int r2 = (r1 + 1 + sample % (n - 1)) % n;
            for (int j = 0; j < n; ++j)
                std::swap(m(r1, j), m(r2, j));
            ASSERT_EQ(EvaluateDeterminant(m), -value)
                << "order " << n << ", rows " << r1 << ", " << r2;
        }
    }
}

} // namespace
