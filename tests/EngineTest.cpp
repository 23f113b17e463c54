#include "EngineTestSupport.h"
#include "Kalvoran.h"
#include "StepPaths.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

using Kalvoran::EvaluateDeterminantOn;
using Kalvoran::EvaluateStep;
using Kalvoran::Matrix;
using Kalvoran::OverflowError;
using Kalvoran::StepKind;
using Kalvoran::StepPath;

namespace {

std::string pathTestName(const testing::TestParamInfo<StepPath>& info)
{
    return info.param == StepPath::Fma ? "Fma" : "Plain";
}

// An n x n matrix of reals from a fixed recipe (the same on every platform): 53 significant bits,
// magnitudes below 4, signs mixed.
Matrix randomRealMatrix(int n, std::uint64_t seed)
{
    std::mt19937_64 rng(seed);
    Matrix m(n, n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            m(i, j) = std::ldexp(static_cast<double>(static_cast<std::int64_t>(rng() >> 10) -
                                                     (std::int64_t{1} << 53)),
                                 -51);
    return m;
}

Matrix diagonal(const std::vector<double>& values)
{
    const auto n = static_cast<int>(values.size());
    Matrix m(n, n);
    for (int i = 0; i < n; ++i)
        m(i, i) = values[i];
    return m;
}

TEST(ProbeOrder, CountsTheLeadingDiagonalUpToEleven)
{
    const std::tuple<int, int, int> shapes[] = {{0, 0, 0},    {0, 4, 0},    {1, 1, 1},
                                                {2, 2, 2},    {10, 10, 10}, {11, 11, 11},
                                                {40, 40, 11}, {3, 7, 3},    {7, 3, 3}};
    for (const auto& [rows, cols, order] : shapes)
        EXPECT_EQ(Kalvoran::ProbeOrder(Matrix(rows, cols)), order) << rows << " x " << cols;
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

// The counted evaluation on the chosen path: 1 + n * C(n - 1) calls in all (the orders up to 8
// are compared with the definition below).
TEST(EvaluateDeterminant, CountsEveryCallOnTheChosenPath)
{
    std::uint64_t calls = 0;
    EXPECT_EQ(Kalvoran::EvaluateDeterminantCounted(diagonal({1, 1, 1, 1, 1, 1, 1, 1, 1, 1}), calls),
              1.0);
    EXPECT_EQ(calls, 2606501U);
}

// Where the test run names the path the processor must get (an emulated processor without fma).
TEST(ChosenStepPath, IsTheExpectedOne)
{
    const char* expected = std::getenv("KALVORA_EXPECTED_STEP_PATH");
    if (expected == nullptr)
        GTEST_SKIP() << "no path expected; chosen: " << StepPathName(Kalvoran::ChosenStepPath());
    EXPECT_EQ(pathTestName({Kalvoran::ChosenStepPath(), 0}), expected);
}

// Run once per step path, skipped where the processor does not run the path.
class EvaluateOnPath : public testing::TestWithParam<StepPath> {
protected:
    void SetUp() override
    {
        if (!Kalvoran::ProcessorRuns(path()))
            GTEST_SKIP() << "this processor does not run the path " << StepPathName(path());
    }
    [[nodiscard]] StepPath path() const { return GetParam(); }
    // The determinant; infinity for OverflowError.
    [[nodiscard]] double evaluate(const Matrix& m) const
    {
        try {
            return EvaluateDeterminantOn(path(), m);
        } catch (const OverflowError&) {
            return std::numeric_limits<double>::infinity();
        }
    }
};

TEST_P(EvaluateOnPath, GivesTheDeterminantOrOverflowError)
{
    const double p = std::ldexp(1.0, 511);
    const double overflow = std::numeric_limits<double>::infinity();
    const std::pair<Matrix, double> cases[] = {
        {Matrix(2, 2), 0.0},
        {fromRows({{5}}), 5.0},
        {fromRows({{1, 2}, {3, 4}}), -2.0},
        {diagonal({40000, 40000, 1}), 1.6e9},
        {Matrix{}, 1.0}, // order 0: the empty product
        // Only the leading square counts; the extra columns must not shift the rows.
        {fromRows({{1, 2, 3, 9}, {4, 5, 6, 9}, {7, 8, 10, 9}}), -3.0},
        // Only step results are checked, not products.
        {fromRows({{1e200, 1e200}, {1e200, 1e200}}), 0.0},
        {diagonal({1e-200, 1e-200}), 0.0},
        // A term -2^1024 meets the running sum -2^1023: the new sum 2^1023 is representable.
        {fromRows({{2 * p, 4 * p, 0}, {0, 0, p}, {1, 1, 0}}), std::ldexp(1.0, 1023)},
        {diagonal({1e200, 1e200}), overflow},
        {diagonal({std::nan(""), 1}), overflow},
        // Every minor is finite, but the running sum of order 3 leaves the range.
        {fromRows({{1e300, -1e300, 0}, {1e8, 1e8, 0}, {0, 0, 1}}), overflow},
    };
    for (const auto& [m, expected] : cases)
        EXPECT_EQ(evaluate(m), expected) << "order " << m.rows();
    // Deep in the recursion the 2 x 2 minors of the last two rows overflow: the evaluation stops.
    Matrix deep = diagonal({1, 2, 3, 4, 1e200, 1e200});
    deep(0, 5) = 7;
    std::uint64_t calls = 0;
    EXPECT_THROW((void)EvaluateDeterminantOn(path(), deep, calls), OverflowError);
    EXPECT_LT(calls, 517U);
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
            for (int j = 0; j < n; ++j)
                if (j != k)
                    minor(i - 1, j < k ? j : j - 1) = a(i, j);
        const double d = definition(path, minor, calls);
        sum =
            EvaluateStep(path, k % 2 == 0 ? StepKind::Add : StepKind::Subtract, d, a(0, k), sum, 0);
    }
    return sum;
}

// Random real matrices, whose results depend on every rounding, give these bits on every path,
// compiler and processor; up to order 8 they are also the bits and calls of the definition.
TEST_P(EvaluateOnPath, FixedRealMatricesGiveTheBitsAndCallsOfTheDefinition)
{
    const std::uint64_t expected[] = {0x400de29e278d875e, 0x3ffcbddac5e78f97, 0xc02bbcd88e2d7c2f,
                                      0x407d513b4f0b7760, 0x405e471ed5b0cdb4, 0xc0bf09ae3c7b9292,
                                      0xc09bd0ac86249bc0, 0x40e3168f7ee82c26, 0xc0ec2dbf93a01771,
                                      0xc138913654b929dc};
    for (int n = 1; n <= 10; ++n)
        EXPECT_EQ(std::bit_cast<std::uint64_t>(evaluate(randomRealMatrix(n, 1000U + n))),
                  expected[n - 1])
            << "order " << n;
    for (int n = 1; n <= 8; ++n)
        for (std::uint64_t seed = 0; seed < 3; ++seed) {
            const Matrix m = randomRealMatrix(n, 10U * n + seed);
            std::uint64_t calls = 0;
            std::uint64_t definitionCalls = 0;
            EXPECT_EQ(std::bit_cast<std::uint64_t>(EvaluateDeterminantOn(path(), m, calls)),
                      std::bit_cast<std::uint64_t>(definition(path(), m, definitionCalls)))
                << "order " << n << ", seed " << seed;
            EXPECT_EQ(calls, definitionCalls) << "order " << n;
        }
}

INSTANTIATE_TEST_SUITE_P(Paths, EvaluateOnPath, testing::Values(StepPath::Fma, StepPath::Plain),
                         pathTestName);

} // namespace
