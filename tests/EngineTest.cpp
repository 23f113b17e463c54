#include "Kalvoran.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <tuple>

using Kalvoran::EvaluateDeterminant;
using Kalvoran::EvaluateDeterminantCounted;
using Kalvoran::Matrix;
using Kalvoran::OverflowError;
using Kalvoran::ProbeOrder;

namespace {

Matrix fromRows(std::initializer_list<std::initializer_list<double>> rows)
{
    Matrix m(static_cast<int>(rows.size()), static_cast<int>(rows.begin()->size()));
    int r = 0;
    for (const auto& row : rows) {
        int c = 0;
        for (double v : row)
            m(r, c++) = v;
        ++r;
    }
    return m;
}

Matrix diagonal(std::initializer_list<double> values)
{
    Matrix m(static_cast<int>(values.size()), static_cast<int>(values.size()));
    int i = 0;
    for (double v : values) {
        m(i, i) = v;
        ++i;
    }
    return m;
}

TEST(ProbeOrder, CountsTheLeadingDiagonalUpToEleven)
{
    const std::tuple<int, int, int> shapes[] = {{0, 0, 0},    {0, 4, 0},    {1, 1, 1},
                                                {2, 2, 2},    {10, 10, 10}, {11, 11, 11},
                                                {40, 40, 11}, {3, 7, 3},    {7, 3, 3}};
    for (const auto& [rows, cols, order] : shapes)
        EXPECT_EQ(ProbeOrder(Matrix(rows, cols)), order) << rows << " x " << cols;
    EXPECT_EQ(ProbeOrder(diagonal({40000, -1e300, 0.5})), 3); // values play no part
}

TEST(Matrix, ResizeGivesAFreshBlockOfZerosAndIndicesAreChecked)
{
    Matrix m(2, 2);
    m(1, 1) = 7;
    m.resize(2, 2);
    EXPECT_EQ(m, Matrix(2, 2));
    EXPECT_THROW((void)m(2, 0), std::out_of_range);
    EXPECT_THROW((void)m(0, 2), std::out_of_range);
    EXPECT_THROW((void)m(0, -1), std::out_of_range);
    EXPECT_THROW(m.resize(-1, 2), std::invalid_argument);
    EXPECT_EQ(Matrix(0, 3).cols(), 0); // no rows, no columns
}

TEST(EvaluateDeterminant, Examples)
{
    EXPECT_EQ(EvaluateDeterminant(Matrix(2, 2)), 0.0);
    EXPECT_EQ(EvaluateDeterminant(fromRows({{5}})), 5.0);
    EXPECT_EQ(EvaluateDeterminant(fromRows({{1, 2}, {3, 4}})), -2.0);
    EXPECT_EQ(EvaluateDeterminant(diagonal({40000, 40000, 1})), 1.6e9);
    EXPECT_EQ(EvaluateDeterminant(Matrix{}), 1.0); // order 0: the empty product
    // Only the leading square counts; the extra columns must not shift the rows.
    EXPECT_EQ(EvaluateDeterminant(fromRows({{1, 2, 3, 9}, {4, 5, 6, 9}, {7, 8, 10, 9}})), -3.0);
}

TEST(EvaluateDeterminant, CallsFollowTheExpansion)
{
    std::uint64_t calls = 0;
    EXPECT_EQ(EvaluateDeterminantCounted(fromRows({{1, 2, 3}, {4, 5, 6}, {7, 8, 10}}), calls), -3);
    EXPECT_EQ(calls, 4U);

    const std::uint64_t expected[] = {1, 1, 4, 17, 86, 517, 3620, 28961}; // 1 + n * C(n - 1)
    for (int n = 1; n <= 8; ++n) {
        calls = 0;
        (void)EvaluateDeterminantCounted(Matrix(n, n), calls);
        EXPECT_EQ(calls, expected[n - 1]) << "order " << n;
    }
    Matrix identity = diagonal({1, 1, 1, 1, 1, 1, 1, 1, 1, 1});
    calls = 0;
    EXPECT_EQ(EvaluateDeterminantCounted(identity, calls), 1.0);
    EXPECT_EQ(calls, 2606501U);
}

TEST(EvaluateDeterminantRange, OnlyStepResultsAreChecked)
{
    EXPECT_EQ(EvaluateDeterminant(fromRows({{1e200, 1e200}, {1e200, 1e200}})), 0.0);
    EXPECT_EQ(EvaluateDeterminant(diagonal({1e-200, 1e-200})), 0.0);
    // The second term is -2^1024, beyond the double range, but the running sum it meets is
    // -2^1023, so the new sum 2^1023 is representable.
    const double p = std::ldexp(1.0, 511);
    const Matrix m = fromRows({{2 * p, 4 * p, 0}, {0, 0, p}, {1, 1, 0}});
    EXPECT_EQ(EvaluateDeterminant(m), std::ldexp(1.0, 1023));
}

TEST(EvaluateDeterminantRange, OverflowAbandonsTheEvaluation)
{
    EXPECT_THROW((void)EvaluateDeterminant(diagonal({1e200, 1e200})), OverflowError);
    EXPECT_THROW((void)EvaluateDeterminant(diagonal({std::nan(""), 1})), OverflowError);
    // Every minor is finite, but the running sum of order 3 leaves the range.
    EXPECT_THROW(
        (void)EvaluateDeterminant(fromRows({{1e300, -1e300, 0}, {1e8, 1e8, 0}, {0, 0, 1}})),
        OverflowError);
    // Deep in the recursion: the 2 x 2 minors of the last two rows overflow.
    Matrix deep = diagonal({1, 2, 3, 4, 1e200, 1e200});
    deep(0, 5) = 7;
    std::uint64_t calls = 0;
    EXPECT_THROW((void)EvaluateDeterminantCounted(deep, calls), OverflowError);
    EXPECT_LT(calls, 517U);
    EXPECT_EQ(EvaluateDeterminant(fromRows({{1, 2}, {3, 4}})), -2.0); // no state survives
}

} // namespace
