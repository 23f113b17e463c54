// The exact determinant against first-row expansion over exact rationals, and the evaluation
// against the exact determinant where it is exact.
#include "ExactDeterminant.h"

#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <boost/multiprecision/cpp_int.hpp>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <tuple>
#include <vector>

using boost::multiprecision::cpp_int;
using boost::multiprecision::cpp_rational;
using Kalvoran::ExactDecimal;
using Kalvoran::ExactDeterminant;
using Kalvoran::Matrix;
using Rows = std::vector<std::vector<double>>;

namespace Kalvoran {
// How a failing check shows an exact value: "-1234E+5" for -1,234 x 10^5.
void PrintTo(const ExactDecimal& d, std::ostream* out)
{
    *out << (d.negative ? "-" : "") << (d.isZero() ? "0" : d.digits) << "E" << d.exponent;
}
} // namespace Kalvoran

namespace {

cpp_rational decimal(const cpp_int& mantissa, int exponent)
{
    const cpp_int power = boost::multiprecision::pow(cpp_int(10), std::abs(exponent));
    return exponent < 0 ? cpp_rational(mantissa, power) : cpp_rational(mantissa * power);
}

cpp_rational expansion(const std::vector<std::vector<cpp_rational>>& a)
{
    if (a.size() == 1)
        return a[0][0];
    cpp_rational sum = 0;
    for (std::size_t k = 0; k < a.size(); ++k) {
        std::vector<std::vector<cpp_rational>> minor(a.begin() + 1, a.end());
        for (auto& row : minor)
            row.erase(row.begin() + static_cast<std::ptrdiff_t>(k));
        sum += (k % 2 == 0 ? 1 : -1) * a[0][k] * expansion(minor);
    }
    return sum;
}

cpp_rational valueOf(const ExactDecimal& d)
{
    const cpp_int digits(d.isZero() ? "0" : d.digits);
    return decimal(d.negative ? cpp_int(-digits) : digits,
                   d.exponent - static_cast<int>(d.digits.size()) + 1);
}

// Random decimals of 1 to 15 digits, typed as text and read by the C library; every fourth
// matrix spreads its magnitudes over most of the double range, and every entry may be zero.
TEST(ExactDeterminant, EqualsTheExpansionOverRationalsOfTheTypedDecimals)
{
    std::mt19937_64 random(17);
    std::uniform_int_distribution<int> digitCount(1, 15), zero(0, 5);
    for (int trial = 0; trial < 120; ++trial) {
        const int n = 1 + trial % 6;
        std::uniform_int_distribution<int> lead(trial % 4 == 0 ? -300 : -3,
                                                trial % 4 == 0 ? 300 : 3);
        Matrix m(n, n);
        std::vector<std::vector<cpp_rational>> typed(n, std::vector<cpp_rational>(n));
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j) {
                if (zero(random) == 0)
                    continue;
                const int count = digitCount(random);
                long long mantissa = std::uniform_int_distribution<long long>(
                    static_cast<long long>(std::pow(10, count - 1)),
                    static_cast<long long>(std::pow(10, count)) - 1)(random);
                mantissa *= random() % 2 == 0 ? 1 : -1;
                const int exponent = lead(random) - count + 1;
                const std::string text = std::to_string(mantissa) + "e" + std::to_string(exponent);
                m(i, j) = std::strtod(text.c_str(), nullptr);
                typed[i][j] = decimal(mantissa, exponent);
            }
        const auto exact = ExactDeterminant(m);
        ASSERT_TRUE(exact.has_value());
        ASSERT_EQ(valueOf(*exact), expansion(typed)) << "trial " << trial;
    }
}

// Over random small-integer matrices every intermediate value is an integer far below 2^53: the
// evaluation on the chosen path is exact.
TEST(EvaluateDeterminant, IsExactForSmallIntegerMatricesUpToOrderEight)
{
    std::mt19937 rng(20261206U);
    std::uniform_int_distribution<int> entry(-9, 9);
    for (int n = 1; n <= 8; ++n)
        for (int sample = 0; sample < 40; ++sample) {
            const Matrix m = randomMatrix(n, [&] { return entry(rng); });
            ASSERT_EQ(Kalvoran::EvaluateDeterminant(m),
                      valueOf(*ExactDeterminant(m)).convert_to<double>())
                << "order " << n << ", sample " << sample;
        }
}

class ExactCases
    : public testing::TestWithParam<std::tuple<const char*, Rows, std::optional<ExactDecimal>>> {};

TEST_P(ExactCases, GiveTheExactValue)
{
    const auto& [name, rows, expected] = GetParam();
    EXPECT_EQ(ExactDeterminant(fromRows(rows)), expected);
}

constexpr double inf = std::numeric_limits<double>::infinity();
// The expected values are sign, digits and the power of ten of the first digit.
const ExactCases::ParamType exactCases[] = {
    {"singular_tenths", {{0.1, 0.2, 0.3}, {0.4, 0.5, 0.6}, {0.7, 0.8, 0.9}}, ExactDecimal{}},
    {"below_the_double_range", {{1e-200, 0}, {0, 1e-200}}, ExactDecimal{false, "1", -400}},
    {"beyond_it", {{1e200, 0, 0}, {0, 1e200, 0}, {0, 0, 1e200}}, ExactDecimal{false, "1", 600}},
    {"pivot_from_a_lower_row", {{0, 2}, {3, 4}}, ExactDecimal{true, "6", 0}},
    {"last_digits", {{0.1, 0.2}, {0.3, 0.4}}, ExactDecimal{true, "2", -2}},
    {"extremes",
     {{std::numeric_limits<double>::max(), 1}, {0, 5e-324}},
     ExactDecimal{false, "89884656743115785", -16}},
    {"no_entries", {}, ExactDecimal{false, "1", 0}},
    {"infinite_entry", {{1, inf}, {0, 1}}, std::nullopt},
    {"not_a_number", {{std::nan("")}}, std::nullopt},
};
INSTANTIATE_TEST_SUITE_P(ExactDeterminant, ExactCases, testing::ValuesIn(exactCases),
                         [](const auto& row) { return std::string(std::get<0>(row.param)); });

} // namespace
