// The exact determinant against first-row expansion over exact rationals, and the evaluation
// against the exact determinant where it is exact. The table of single cases is in EngineTest.cpp.
#include "ExactDeterminant.h"

#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <boost/multiprecision/cpp_int.hpp>
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

using namespace boost::multiprecision;
using namespace Kalvoran;

namespace {

cpp_rational decimal(const cpp_int& mantissa, int exponent)
{
    const cpp_int power = pow(cpp_int(10), std::abs(exponent));
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
    for (int trial = 0; trial < 120; ++trial) {
        const int n = 1 + trial % 6;
        const int spread = trial % 4 == 0 ? 300 : 3; // of the first digit's power of ten
        Matrix m(n, n);
        std::vector<std::vector<cpp_rational>> typed(n, std::vector<cpp_rational>(n));
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j) {
                if (random() % 6 == 0)
                    continue;
                const int count = 1 + static_cast<int>(random() % 15);
                const auto limit = static_cast<long long>(std::pow(10, count)) - 1;
                const auto mantissa =
                    std::uniform_int_distribution<long long>(-limit, limit)(random);
                const int exponent =
                    static_cast<int>(random() % (2 * spread + 1)) - spread - count + 1;
                const std::string text = std::to_string(mantissa) + "e" + std::to_string(exponent);
                m(i, j) = std::strtod(text.c_str(), nullptr);
                typed[i][j] = decimal(mantissa, exponent);
            }
        ASSERT_EQ(valueOf(ExactDeterminant(m).value()), expansion(typed)) << "trial " << trial;
    }
}

// Over random small-integer matrices every intermediate value is an integer far below 2^53: the
// evaluation on the chosen path is exact.
TEST(EvaluateDeterminant, IsExactForSmallIntegerMatricesUpToOrderEight)
{
    std::mt19937 rng(20261206U);
    for (int sample = 0; sample < 320; ++sample) {
        const Matrix m =
            randomMatrix(1 + sample % 8, [&] { return static_cast<int>(rng() % 19) - 9; });
        ASSERT_EQ(EvaluateDeterminant(m), valueOf(ExactDeterminant(m).value()).convert_to<double>())
            << "order " << m.rows() << ", sample " << sample;
    }
}

} // namespace
