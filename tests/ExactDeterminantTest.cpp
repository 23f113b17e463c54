// The exact side against independent references: the determinant against the Leibniz formula over
// exact rationals, the nearest double against the processor's own division, and the evaluation
// against the exact determinant where it is exact. The table of single cases is in EngineTest.cpp.
#include "ExactDeterminant.h"

#include "EngineTestSupport.h"
#include "TypedMatrix.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <random>
#include <vector>

using namespace Kalvoran;

namespace {

// The sum over all permutations of the signed products of entries.
Rational leibniz(const ExactMatrix& a)
{
    std::vector<int> permutation(static_cast<std::size_t>(a.order()));
    std::iota(permutation.begin(), permutation.end(), 0);
    Rational sum = 0;
    do {
        Rational product = 1;
        int inversions = 0;
        for (int i = 0; i < a.order(); ++i) {
            product *= a(i, permutation[i]);
            for (int j = i + 1; j < a.order(); ++j)
                inversions += permutation[i] > permutation[j] ? 1 : 0;
        }
        if (inversions % 2 == 0)
            sum += product;
        else
            sum -= product;
    } while (std::next_permutation(permutation.begin(), permutation.end()));
    return sum;
}

// Integers, decimals of up to 15 digits anywhere in the double range, fractions and zeros, with
// either sign; every minor of one matrix per order is checked as well.
TEST(ExactDeterminant, EqualsTheLeibnizFormulaForMixedEntriesAndTheirMinors)
{
    std::mt19937_64 random(17);
    const auto draw = [&random](long long low, long long high) {
        return std::uniform_int_distribution<long long>(low, high)(random);
    };
    for (int trial = 0; trial < 180; ++trial) {
        const int n = 1 + trial % 6;
        ExactMatrix m(n);
        for (int i = 0; i < n; ++i) {
            for (int j = 0; j < n; ++j) {
                switch (draw(0, 3)) {
                case 0:
                    break; // zero
                case 1:
                    m(i, j) = Rational(BigInteger(draw(-99, 99)));
                    break;
                case 2: {
                    const BigInteger digits(draw(-999'999'999'999'999, 999'999'999'999'999));
                    const BigInteger up = pow(BigInteger(10), static_cast<unsigned>(draw(0, 300)));
                    const BigInteger down =
                        pow(BigInteger(10), static_cast<unsigned>(draw(0, 320)));
                    m(i, j) = Rational(digits * up) / down;
                    break;
                }
                default:
                    m(i, j) = Rational(BigInteger(draw(-9999, 9999))) / BigInteger(draw(1, 9999));
                }
            }
        }
        ASSERT_EQ(ExactDeterminant(m), leibniz(m)) << "trial " << trial;
        if (trial < 6) {
            for (int i = 0; i < n; ++i)
                for (int j = 0; j < n; ++j)
                    ASSERT_EQ(ExactDeterminant(m.without(i, j)), leibniz(m.without(i, j)));
        }
    }
}

// For doubles p and q the processor's p / q is the quotient rounded once: so must the nearest
// double of the exact quotient be, subnormals, the largest double and the overflow included.
TEST(NearestDouble, IsTheQuotientRoundedOnce)
{
    std::mt19937_64 random(5);
    std::uniform_int_distribution<long long> significand(1, (1LL << 53) - 1);
    std::uniform_int_distribution<int> exponent(-1074, 971);
    const auto exactOf = [](double x) { return Rational(x); }; // Boost's conversion is exact
    for (int i = 0; i < 4000; ++i) {
        const double p = std::ldexp(static_cast<double>(significand(random)), exponent(random) / 2);
        const double q =
            std::ldexp(static_cast<double>(significand(random)) * (i % 2 == 0 ? 1 : -1),
                       exponent(random) / 2 - (i % 3) * 500);
        if (q == 0)
            continue;
        ASSERT_EQ(nearestDouble(exactOf(p) / exactOf(q)), p / q) << p << " / " << q;
    }
    const double largest = std::numeric_limits<double>::max();
    EXPECT_EQ(nearestDouble(exactOf(largest) * 2), std::numeric_limits<double>::infinity());
    EXPECT_EQ(nearestDouble(Rational(1, pow(BigInteger(2), 1076))), 0.0);
    EXPECT_EQ(nearestDouble(Rational(3, pow(BigInteger(2), 1076))), 0x1p-1074); // above half
}

// Over random small-integer matrices every intermediate value is an integer far below 2^53: the
// evaluation on the chosen path is exact.
TEST(EvaluateDeterminant, IsExactForSmallIntegerMatricesUpToOrderEight)
{
    std::mt19937 rng(20261206U);
    for (int sample = 0; sample < 320; ++sample) {
        const Matrix m =
            randomMatrix(1 + sample % 8, [&] { return static_cast<int>(rng() % 19) - 9; });
        ASSERT_EQ(EvaluateDeterminant(m), nearestDouble(ExactDeterminant(*TypedMatrix().exact(m))))
            << "order " << m.rows() << ", sample " << sample;
    }
}

} // namespace
