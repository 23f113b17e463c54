// Properties of the evaluator over many random small-integer matrices. For such matrices every
// intermediate value is an integer far below 2^53, so the expansion is exact and can be compared
// with an independent exact computation.
#include "Kalvoran.h"

#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

using Kalvoran::EvaluateDeterminant;
using Kalvoran::Matrix;

namespace {

__extension__ using Int128 = __int128;

// Fraction-free Bareiss elimination with row exchanges, exact in 128-bit integers.
Int128 bareissDeterminant(const Matrix& m)
{
    const int n = m.rows();
    std::vector<std::vector<Int128>> a(n, std::vector<Int128>(n));
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            a[i][j] = static_cast<Int128>(m(i, j));
    Int128 sign = 1;
    Int128 previous = 1;
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

Matrix transposed(const Matrix& m)
{
    Matrix t(m.cols(), m.rows());
    for (int i = 0; i < m.rows(); ++i)
        for (int j = 0; j < m.cols(); ++j)
            t(j, i) = m(i, j);
    return t;
}

Matrix withRowsSwapped(Matrix m, int r1, int r2)
{
    for (int j = 0; j < m.cols(); ++j)
        std::swap(m(r1, j), m(r2, j));
    return m;
}

class RandomIntegerMatrices : public ::testing::TestWithParam<int> {
protected:
    static constexpr int samples = 40;

    Matrix next()
    {
        const int n = GetParam();
        Matrix m(n, n);
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j)
                m(i, j) = entry(rng);
        return m;
    }

    std::mt19937 rng{20261206U + static_cast<unsigned>(GetParam())};
    std::uniform_int_distribution<int> entry{-9, 9};
};

TEST_P(RandomIntegerMatrices, AgreeWithExactElimination)
{
    for (int s = 0; s < samples; ++s) {
        const Matrix m = next();
        const double expected = static_cast<double>(bareissDeterminant(m));
        ASSERT_EQ(EvaluateDeterminant(m), expected) << "sample " << s;
    }
}

// Swapping needs two rows.
class RandomIntegerMatricesWithRowsToSwap : public RandomIntegerMatrices {};

TEST_P(RandomIntegerMatricesWithRowsToSwap, SwappingTwoRowsNegates)
{
    const int n = GetParam();
    std::uniform_int_distribution<int> row{0, n - 1};
    for (int s = 0; s < samples; ++s) {
        const Matrix m = next();
        const int r1 = row(rng);
        const int r2 = (r1 + 1 + row(rng) % (n - 1)) % n;
        ASSERT_EQ(EvaluateDeterminant(withRowsSwapped(m, r1, r2)), -EvaluateDeterminant(m))
            << "rows " << r1 << " and " << r2 << ", sample " << s;
    }
}

TEST_P(RandomIntegerMatrices, TransposingKeepsTheValue)
{
    for (int s = 0; s < samples; ++s) {
        const Matrix m = next();
        ASSERT_EQ(EvaluateDeterminant(transposed(m)), EvaluateDeterminant(m)) << "sample " << s;
    }
}

const auto orderName = [](const auto& info) { return "Order" + std::to_string(info.param); };
INSTANTIATE_TEST_SUITE_P(Orders, RandomIntegerMatrices, ::testing::Range(1, 9), orderName);
INSTANTIATE_TEST_SUITE_P(Orders, RandomIntegerMatricesWithRowsToSwap, ::testing::Range(2, 9),
                         orderName);

} // namespace
