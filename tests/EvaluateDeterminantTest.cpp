#include "Kalvoran.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>

using Kalvoran::EvaluateDeterminant;
using Kalvoran::EvaluateDeterminantCounted;
using Kalvoran::Matrix;
using Kalvoran::OverflowError;

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

} // namespace

TEST(EvaluateDeterminant, SmallExamples)
{
    EXPECT_EQ(EvaluateDeterminant(Matrix(2, 2)), 0.0);
    EXPECT_EQ(EvaluateDeterminant(fromRows({{5}})), 5.0);
    EXPECT_EQ(EvaluateDeterminant(fromRows({{1, 2}, {3, 4}})), -2.0);
    EXPECT_EQ(EvaluateDeterminant(diagonal({40000, 40000, 1})), 1.6e9);
}

TEST(EvaluateDeterminant, ThreeByThreeTakesFourCalls)
{
    std::uint64_t calls = 0;
    EXPECT_EQ(EvaluateDeterminantCounted(fromRows({{1, 2, 3}, {4, 5, 6}, {7, 8, 10}}), calls),
              -3.0);
    EXPECT_EQ(calls, 4U);
}

TEST(EvaluateDeterminant, CallCountFollowsTheExpansion)
{
    // C(1) = C(2) = 1, C(n) = 1 + n * C(n - 1)
    const std::uint64_t expected[] = {1, 1, 4, 17, 86, 517, 3620, 28961};
    for (int n = 1; n <= 8; ++n) {
        std::uint64_t calls = 0;
        (void)EvaluateDeterminantCounted(Matrix(n, n), calls);
        EXPECT_EQ(calls, expected[n - 1]) << "order " << n;
    }
}

TEST(EvaluateDeterminant, TenByTenIdentityIsOne)
{
    Matrix m(10, 10);
    for (int i = 0; i < 10; ++i)
        m(i, i) = 1;
    std::uint64_t calls = 0;
    EXPECT_EQ(EvaluateDeterminantCounted(m, calls), 1.0);
    EXPECT_EQ(calls, 2606501U);
}

TEST(EvaluateDeterminant, OrderZeroIsTheEmptyProduct)
{
    EXPECT_EQ(EvaluateDeterminant(Matrix{}), 1.0);
}

TEST(EvaluateDeterminant, RectangularMatrixUsesItsLeadingSquare)
{
    // Only the leading 3 x 3 block counts; the extra columns must not shift the rows.
    const Matrix m = fromRows({{1, 2, 3, 9, 9}, {4, 5, 6, 9, 9}, {7, 8, 10, 9, 9}});
    EXPECT_EQ(EvaluateDeterminant(m), -3.0);
}

TEST(EvaluateDeterminantRange, HugeProductsWithASmallDifferenceSucceed)
{
    EXPECT_EQ(EvaluateDeterminant(fromRows({{1e200, 1e200}, {1e200, 1e200}})), 0.0);
}

TEST(EvaluateDeterminantRange, TinyProductsUnderflowToZero)
{
    EXPECT_EQ(EvaluateDeterminant(diagonal({1e-200, 1e-200})), 0.0);
}

TEST(EvaluateDeterminantRange, AccumulationStepChecksTheSumNotTheProduct)
{
    // The second term is -2^1024, just beyond the double range, but the running sum it meets is
    // -2^1023, so the new sum 2^1023 is representable.
    const double p = std::ldexp(1.0, 511);
    const Matrix m =
        fromRows({{std::ldexp(1.0, 512), std::ldexp(1.0, 513), 0}, {0, 0, p}, {1, 1, 0}});
    EXPECT_EQ(EvaluateDeterminant(m), std::ldexp(1.0, 1023));
}

TEST(EvaluateDeterminantRange, TwoByTwoOverflowThrows)
{
    EXPECT_THROW((void)EvaluateDeterminant(diagonal({1e200, 1e200})), OverflowError);
    EXPECT_THROW((void)EvaluateDeterminant(fromRows({{1e200, -1e200}, {1e200, 1e200}})),
                 OverflowError);
}

TEST(EvaluateDeterminantRange, OverflowDeepInTheRecursionLeavesTheMatrixAlone)
{
    // The 2 x 2 minors of rows 4 and 5 overflow long before the outermost sum is formed.
    Matrix m = diagonal({1, 2, 3, 4, 1e200, 1e200});
    m(0, 5) = 7;
    const Matrix before = m;
    std::uint64_t calls = 0;
    EXPECT_THROW((void)EvaluateDeterminantCounted(m, calls), OverflowError);
    EXPECT_LT(calls, 517U);
    EXPECT_EQ(m, before);
    // The evaluator holds no state between calls: the next evaluation is unaffected.
    EXPECT_EQ(EvaluateDeterminant(fromRows({{1, 2}, {3, 4}})), -2.0);
}

TEST(EvaluateDeterminantRange, AccumulatedOverflowThrows)
{
    // Every minor is finite, but the running sum of order 3 passes the double range.
    const Matrix m = fromRows({{1e300, -1e300, 0}, {1e8, 1e8, 0}, {0, 0, 1}});
    EXPECT_THROW((void)EvaluateDeterminant(m), OverflowError);
}
