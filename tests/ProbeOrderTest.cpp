#include "Kalvoran.h"

#include <gtest/gtest.h>

#include <tuple>

using Kalvoran::Matrix;
using Kalvoran::ProbeOrder;

TEST(ProbeOrder, NeverSizedMatrixHasOrderZero)
{
    EXPECT_EQ(ProbeOrder(Matrix{}), 0);
    EXPECT_EQ(ProbeOrder(Matrix(0, 4)), 0);
}

class ProbeOrderOfShape : public ::testing::TestWithParam<std::tuple<int, int, int>> {};

TEST_P(ProbeOrderOfShape, IsTheSmallerExtentCappedAtEleven)
{
    const auto [rows, cols, expected] = GetParam();
    EXPECT_EQ(ProbeOrder(Matrix(rows, cols)), expected);
}

INSTANTIATE_TEST_SUITE_P(Square, ProbeOrderOfShape,
                         ::testing::Values(std::tuple{1, 1, 1}, std::tuple{2, 2, 2},
                                           std::tuple{10, 10, 10}, std::tuple{11, 11, 11},
                                           std::tuple{12, 12, 11}, std::tuple{40, 40, 11}));
INSTANTIATE_TEST_SUITE_P(Rectangular, ProbeOrderOfShape,
                         ::testing::Values(std::tuple{3, 7, 3}, std::tuple{7, 3, 3},
                                           std::tuple{1, 12, 1}, std::tuple{20, 13, 11}));

TEST(ProbeOrder, IgnoresTheValues)
{
    Matrix m(3, 3);
    m(0, 0) = 40000;
    m(1, 1) = -1e300;
    m(2, 2) = 0.5;
    EXPECT_EQ(ProbeOrder(m), 3);
}

TEST(Matrix, ResizeGivesAFreshBlockOfZeros)
{
    Matrix m(2, 2);
    m(1, 1) = 7;
    m.resize(2, 2);
    EXPECT_EQ(m, Matrix(2, 2));
    m(0, 1) = 3;
    m.resize(3, 1);
    EXPECT_EQ(m.rows(), 3);
    EXPECT_EQ(m.cols(), 1);
    EXPECT_EQ(m, Matrix(3, 1));
}

TEST(Matrix, RejectsIndicesAndExtentsOutsideIt)
{
    Matrix m(2, 3);
    EXPECT_THROW((void)m(2, 0), std::out_of_range);
    EXPECT_THROW((void)m(0, 3), std::out_of_range);
    EXPECT_THROW((void)m(-1, 0), std::out_of_range);
    EXPECT_THROW(m.resize(-1, 2), std::invalid_argument);
}
