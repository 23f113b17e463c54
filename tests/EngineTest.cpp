#include "EngineTestSupport.h"
#include "ExactDecimal.h"
#include "ExactDeterminant.h"
#include "Kalvoran.h"
#include "StepPaths.h"
#include "TypedMatrix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <sstream>
#include <string>
#include <tuple>

using namespace Kalvoran;

namespace {

// An n x n matrix of reals from a fixed recipe (the same on every platform): 53 significant bits,
// magnitudes below 4, signs mixed.
Matrix randomRealMatrix(int n, std::uint64_t seed)
{
    std::mt19937_64 rng(seed);
    return randomMatrix(n, [&rng] {
        const auto mantissa = static_cast<std::int64_t>(rng() >> 10) - (std::int64_t{1} << 53);
        return std::ldexp(static_cast<double>(mantissa), -51);
    });
}

TEST(ProbeOrder, CountsTheLeadingDiagonalUpToEleven)
{
    const std::tuple<int, int, int> shapes[] = {{0, 0, 0},    {0, 4, 0},    {1, 1, 1},
                                                {2, 2, 2},    {10, 10, 10}, {11, 11, 11},
                                                {40, 40, 11}, {3, 7, 3},    {7, 3, 3}};
    for (const auto& [rows, cols, order] : shapes)
        EXPECT_EQ(ProbeOrder(Matrix(rows, cols)), order) << rows << " x " << cols;
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

// The counted evaluation on the chosen path: the identity of order 10 in 1 + n * C(n - 1) calls
// (the orders up to 8 are compared with the definition below).
TEST(EvaluateDeterminant, CountsEveryCallOnTheChosenPath)
{
    const Matrix identity = randomMatrix(10, [k = 0]() mutable { return k++ % 11 == 0 ? 1 : 0; });
    std::uint64_t calls = 0;
    EXPECT_EQ(EvaluateDeterminantCounted(identity, calls), 1.0);
    EXPECT_EQ(calls, 2606501U);
}

// A matrix, its determinant on every path the processor runs (infinity for OverflowError) and its
// exact value as sign, digits and the power of ten of the first digit, nothing for a non-finite
// entry.
using Determinant = testing::TestWithParam<std::tuple<const char*, Rows, double, const char*>>;

TEST_P(Determinant, OnEveryPathAndExactly)
{
    const auto& [name, rows, evaluated, exact] = GetParam();
    const Matrix m = fromRows(rows);
    for (const StepPath path : RunnablePaths()) {
        EXPECT_EQ(orInfinity([&] { return EvaluateDeterminantOn(path, m); }), evaluated)
            << StepPathName(path);
    }
    std::ostringstream text; // "-1234E5" for -1,234 x 10^5
    if (const auto entries = TypedMatrix().exact(m)) {
        const auto d = ExactDecimal::of(ExactDeterminant(*entries)).value();
        text << (d.negative ? "-" : "") << (d.isZero() ? "0" : d.digits) << "E" << d.exponent;
    }
    EXPECT_EQ(text.str(), exact);
}

const Determinant::ParamType determinants[] = {
    {"zeros", {{0, 0}, {0, 0}}, 0, "0E0"},
    {"one_entry", {{5}}, 5, "5E0"},
    {"order_two", {{1, 2}, {3, 4}}, -2, "-2E0"},
    {"diagonal", {{4e4, 0, 0}, {0, 4e4, 0}, {0, 0, 1}}, 1.6e9, "16E9"},
    {"no_entries", {}, 1, "1E0"}, // the empty product
    // Only the leading square counts; the extra columns must not shift the rows.
    {"extra_columns", {{1, 2, 3, 9}, {4, 5, 6, 9}, {7, 8, 10, 9}}, -3, "-3E0"},
    {"pivot_from_a_lower_row", {{0, 2}, {5, 4}}, -10, "-1E1"},
    // Each entry counts as its shortest decimal.
    {"tenths", {{0.1, 0.2, 0.3}, {0.4, 0.5, 0.6}, {0.7, 0.8, 0.9}}, 0x1.978d4fdf3b644p-59, "0E0"},
    {"last_digits", {{0.1, 0.2}, {0.3, 0.4}}, -0x1.47ae147ae147ap-6, "-2E-2"},
    {"extremes", {{Largest, 1}, {0, 0x1p-1074}}, 0x1.fffffffffffffp-51, "89884656743115785E-16"},
    // Only step results are checked, not products.
    {"equal_huge_entries", {{1e200, 1e200}, {1e200, 1e200}}, 0, "0E0"},
    {"below_the_double_range", {{1e-200, 0}, {0, 1e-200}}, 0, "1E-400"},
    // A term -2^1024 meets the running sum -2^1023: the new sum 2^1023 is representable.
    {"sum_back_in_range",
     {{0x1p512, 0x1p513, 0}, {0, 0, 0x1p511}, {1, 1, 0}},
     0x1p1023,
     "89884656743115800755299822523503E307"},
    {"beyond_the_double_range", {{1e200, 0}, {0, 1e200}}, Infinity, "1E400"},
    // Every minor is finite, but the running sum of order 3 leaves the range.
    {"sum_overflows", {{1e300, -1e300, 0}, {1e8, 1e8, 0}, {0, 0, 1}}, Infinity, "2E308"},
    {"not_a_number", {{std::nan(""), 0}, {0, 1}}, Infinity, ""},
    {"infinite_entry", {{1, Infinity}, {0, 1}}, Infinity, ""},
};
INSTANTIATE_TEST_SUITE_P(Table, Determinant, testing::ValuesIn(determinants),
                         [](const auto& row) { return std::string(std::get<0>(row.param)); });

// Deep in the recursion the 2 x 2 minors of the last two rows overflow: the evaluation stops
// before its 517 calls, on every path.
TEST(EvaluateDeterminant, StopsAtTheFirstOverflow)
{
    Matrix deep(6, 6);
    deep(4, 4) = deep(5, 5) = 1e200;
    for (const StepPath path : RunnablePaths()) {
        std::uint64_t calls = 0;
        EXPECT_THROW((void)EvaluateDeterminantOn(path, deep, calls), OverflowError);
        EXPECT_LT(calls, 517U) << StepPathName(path);
    }
}

// The expansion as the definition states it, with the same steps: a fresh minor for each
// column, the running sum from +0.0, every call counted.
double definition(StepPath path, const Matrix& a, std::uint64_t& calls)
{
    ++calls;
    const int n = a.rows();
    if (n == 1)
        return a(0, 0);
    if (n == 2)
        return EvaluateStep(path, StepKind::TwoByTwo, a(0, 0), a(0, 1), a(1, 0), a(1, 1));
    double sum = +0.0;
    for (int k = 0; k < n; ++k) {
        Matrix minor(n - 1, n - 1);
        for (int i = 1; i < n; ++i)
            for (int j = 0; j < n - 1; ++j)
                minor(i - 1, j) = a(i, j < k ? j : j + 1);
        sum = EvaluateStep(path, k % 2 == 0 ? StepKind::Add : StepKind::Subtract,
                           definition(path, minor, calls), a(0, k), sum, 0);
    }
    return sum;
}

// Random real matrices, whose results depend on every rounding, give these bits on every path,
// compiler and processor; up to order 8 they are also the bits and calls of the definition.
TEST(EvaluateDeterminant, FixedRealMatricesGiveTheBitsAndCallsOfTheDefinition)
{
    const double expected[] = {0x1.de29e278d875ep+1,   0x1.cbddac5e78f97p+0,
                               -0x1.bbcd88e2d7c2fp+3,  0x1.d513b4f0b7760p+8,
                               0x1.e471ed5b0cdb4p+6,   -0x1.f09ae3c7b9292p+12,
                               -0x1.bd0ac86249bc0p+10, 0x1.3168f7ee82c26p+15,
                               -0x1.c2dbf93a01771p+15, -0x1.8913654b929dcp+20};
    for (const StepPath path : RunnablePaths()) {
        for (int n = 1; n <= 10; ++n)
            EXPECT_EQ(EvaluateDeterminantOn(path, randomRealMatrix(n, 1000U + n)), expected[n - 1])
                << StepPathName(path) << ", order " << n;
        for (int n = 1; n <= 8; ++n)
            for (std::uint64_t seed = 0; seed < 3; ++seed) {
                const Matrix m = randomRealMatrix(n, std::uint64_t{10} * n + seed);
                std::uint64_t calls[2] = {};
                EXPECT_EQ(EvaluateDeterminantOn(path, m, calls[0]), definition(path, m, calls[1]))
                    << StepPathName(path) << ", order " << n << ", seed " << seed;
                EXPECT_EQ(calls[0], calls[1]) << "order " << n;
            }
    }
}

} // namespace
