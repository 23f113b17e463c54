// Every kind of step on every step path against its exact value, formed in big integers and
// rounded once to the nearest double (ties to even): the step must give that double bit for bit,
// or throw OverflowError where it is infinite.
#include "EngineTestSupport.h"
#include "StepPaths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <boost/multiprecision/cpp_int.hpp>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <tuple>
#include <utility>

namespace {

using boost::multiprecision::cpp_int;
using namespace Kalvoran;
using enum StepKind;

// The families' random source, the same sequence on every platform.
struct Rng : std::mt19937_64 {
    using std::mt19937_64::mt19937_64;
    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(*this); }
};

struct StepInput {
    double x0, x1, x2, x3 = 0; // a00, a01, a10, a11; or d, a, S
};

// x * y exactly, as an integer times 2^-2254 (the product of two subnormals is a multiple of
// 2^-2148; frexp gives their mantissas with trailing zeros).
cpp_int product(double x, double y)
{
    int ex = 0;
    int ey = 0;
    const cpp_int mx(std::ldexp(std::frexp(x, &ex), 53));
    return mx * cpp_int(std::ldexp(std::frexp(y, &ey), 53)) << (ex + ey + 2148);
}

// value * 2^-2254, not zero, rounded once, ties to even; +inf beyond the range, as orInfinity
// gives for OverflowError.
double nearest(const cpp_int& value)
{
    const cpp_int magnitude = value < 0 ? cpp_int(-value) : value;
    // Bits below the last place of the result (53 bits from the top, or 2^-1074) go.
    const int shift = std::max(static_cast<int>(msb(magnitude)) - 52, 1180);
    // Half a unit in that place, less one unless the kept part is odd: a tie goes to even.
    const cpp_int half = (cpp_int(1) << (shift - 1)) - (bit_test(magnitude, shift) ? 0 : 1);
    const cpp_int kept = (magnitude + half) >> shift;
    const double result = std::ldexp(kept.convert_to<double>(), shift - 2254);
    return std::isinf(result) || value > 0 ? result : -result;
}

// x * y + u * v rounded once. An exact zero is -0 only as the sum of two zero products of -0.
double rounded(double x, double y, double u, double v)
{
    const cpp_int value = product(x, y) + product(u, v);
    if (value == 0)
        return (x == 0 || y == 0) && (u == 0 || v == 0) ? x * y + u * v : 0.0;
    return nearest(value);
}

// a00 * a11 - a10 * a01; or t + S, S - t and t + (+0.0) with t = d * a.
double reference(StepKind kind, const StepInput& in)
{
    if (kind == TwoByTwo)
        return rounded(in.x0, in.x3, -in.x2, in.x1);
    return rounded(kind == Subtract ? -in.x0 : in.x0, in.x1, kind == First ? 0.0 : in.x2, 1);
}

// A double with a random sign, 53 random bits and an exponent in [low, high].
double randomDouble(Rng& rng, int low, int high)
{
    const double mantissa = 1 + std::ldexp(static_cast<double>(rng() >> 12), -52);
    return std::ldexp(rng() % 2 ? -mantissa : mantissa, rng.between(low, high));
}

// x moved by up to `steps` doubles either way.
double nudged(Rng& rng, double x, int steps)
{
    for (int n = rng.between(-steps, steps); n != 0; n += n < 0 ? 1 : -1)
        x = std::nextafter(x, n < 0 ? -Largest : Largest);
    return x;
}

// Random factors whose product is about 2^e.
std::pair<double, double> factorsNear(Rng& rng, int e)
{
    const int f = rng.between(std::max(-1074, e - 1023), std::min(1023, e + 1074));
    return {randomDouble(rng, f, f), randomDouble(rng, e - f, e - f)};
}

// An input whose two terms nearly cancel, the products being about 2^Low ... 2^High (High - Less
// for a sum S, which must be a double): a 2 x 2 block whose products differ in their last bits,
// or a sum S near the opposite of the rounded product d * a; moved by up to Steps doubles.
template <int Low, int High, int Less, int Steps> StepInput cancelling(Rng& rng, StepKind kind)
{
    const auto [x, y] = factorsNear(rng, rng.between(Low, kind == TwoByTwo ? High : High - Less));
    if (kind == TwoByTwo)
        return {x, nudged(rng, y, Steps), nudged(rng, x, Steps), y};
    return {x, y, nudged(rng, kind == Subtract ? x * y : -(x * y), Steps), 0};
}

// x * y - m, m being a middle between two doubles next to x * y.
double pastTheMiddle(double x, double y)
{
    const double error = rounded(x, y, -(x * y), 1); // x * y less its nearest double, exactly
    return error - std::copysign(std::ldexp(1.0, std::ilogb(x * y) - 53), error);
}

// A family's name and the generator of its inputs of a kind.
using Family = std::pair<const char*, StepInput (*)(Rng&, StepKind)>;

// Three consecutive terms of a Fibonacci-like sequence from small seeds, the last below 2^53:
// g0 * g2 - g1 * g1 is +-(seed1^2 - seed0 * seed1 - seed0^2), while the products reach 2^105.
std::tuple<double, double, double> cassini(Rng& rng)
{
    std::int64_t g0 = rng.between(1, 1000);
    std::int64_t g1 = rng.between(1, 1000);
    while (g0 + 2 * g1 < (std::int64_t{1} << 53))
        std::tie(g0, g1) = std::make_tuple(g1, g0 + g1);
    return {static_cast<double>(g0), static_cast<double>(g1), static_cast<double>(g0 + g1)};
}

const Family Families[] = {
    {"Ordinary",
     [](Rng& rng, StepKind) {
         return StepInput{randomDouble(rng, -60, 60), randomDouble(rng, -60, 60),
                          randomDouble(rng, -60, 60), randomDouble(rng, -60, 60)};
     }},
    {"TermsThatNearlyCancel", cancelling<-900, 900, 0, 3>},
    {"ProductsBeyondTheRangeDifferingLittle", cancelling<960, 1030, 10, 2>},
    {"SubnormalResults", cancelling<-1130, -1000, 0, 3>},
    {"ProductsEqualInAllButTheirLastBits",
     [](Rng& rng, StepKind kind) {
         const auto [g0, g1, g2] = cassini(rng);
         const int high = kind == TwoByTwo ? 1010 : 900; // S = g1 * g1 * 2^sum finite
         const int sum = rng.between(-1180, high);       // 2^sum * small
         const int e = rng.between(std::max(-1074, sum - 970), std::min(970, sum + 1074));
         const double b = std::ldexp(g1, e);
         const double c = std::ldexp(g1, sum - e);
         if (kind == TwoByTwo)
             return StepInput{std::ldexp(g0, e), c, b, std::ldexp(g2, sum - e)};
         return StepInput{b, c, std::ldexp((kind == Subtract ? g1 : -g1) * g1, sum), 0};
     }},
    {"ProductJustBeyondTheRangeMeetsTheOtherTerm",
     [](Rng& rng, StepKind kind) {
         const auto [x, y] = factorsNear(rng, 1023); // |x * y| in [2^1023, 2^1025)
         const auto [u, v] = factorsNear(rng, 1023);
         if (kind == TwoByTwo) // u * v of the sign of x * y
             return StepInput{x, std::copysign(v, x * y * u), u, y};
         const double other = std::copysign(std::fabs(randomDouble(rng, 1022, 1023)), x * y);
         return StepInput{x, y, kind == Subtract ? other : -other, 0};
     }},
    {"HalfwayBetweenSubnormalsAndJustOff",
     [](Rng& rng, StepKind kind) {
         // (2n + 1) * 2^-1075 lies halfway between two subnormals; a far smaller part decides.
         const auto odd = static_cast<double>(2 * (rng() >> 13) + 1);
         const double halfway = std::ldexp(rng() % 2 ? -odd : odd, -600);
         if (kind == TwoByTwo)
             return StepInput{halfway, 0x1p-600, randomDouble(rng, -530, -500), 0x1p-475};
         const double off = rng() % 2 ? 1 + 0x1p-52 : 1 - 0x1p-53;
         const double sum = std::ldexp(static_cast<double>(rng() % 2001) - 1000, -1074);
         return StepInput{halfway, std::ldexp(off, -475), sum, 0};
     }},
    {"HalfwayBetweenNormalsAndJustOff",
     [](Rng& rng, StepKind kind) {
         // An odd 53-bit integer times 1.5 lies halfway between two doubles; the other term is
         // zero or far smaller.
         const int e = rng.between(-1000, 900);
         const double odd = std::ldexp(static_cast<double>((rng() >> 11) | 1), e);
         const double small = rng() % 4 == 0 ? 0.0 : randomDouble(rng, e - 60, e - 20);
         if (kind == TwoByTwo)
             return StepInput{odd, small, randomDouble(rng, -30, -10), 1.5};
         return StepInput{odd, 1.5, small, 0};
     }},
    {"NearTheMiddleBetweenTwoDoubles",
     [](Rng& rng, StepKind kind) {
         // The other term takes away the part of x * y past the middle, or nearly.
         const double x = randomDouble(rng, -300, 300);
         const double y = randomDouble(rng, -300, 300);
         const double rest = pastTheMiddle(x, y);
         if (kind == TwoByTwo)
             return StepInput{x, nudged(rng, 1.0, 1), rest, y};
         return StepInput{x, y, nudged(rng, kind == Subtract ? rest : -rest, 2), 0};
     }},
    {"JustBelowAndAbovePowersOfTwo",
     [](Rng& rng, StepKind kind) {
         // x * y near 2^e; the other term takes it to 2^e + c * 2^(e - 55), c from -6 to 10, or
         // nearly: the doubles next to 2^e lie at c = -4 and 8, the middles at -2 and 4.
         const int e = rng.between(-900, 900);
         const double x = randomDouble(rng, -30, 30);
         const double y = std::ldexp(1.0, e) / x;
         const cpp_int target = (cpp_int(rng.between(-6, 10)) + (cpp_int(1) << 55))
                                << (e - 55 + 2254);
         const cpp_int restValue = product(x, y) - target;
         const double rest = restValue == 0 ? 0.0 : nearest(restValue); // rounded
         if (kind == TwoByTwo)
             return StepInput{x, nudged(rng, 1.0, 1), rest, y};
         return StepInput{x, y, nudged(rng, kind == Subtract ? rest : -rest, 2), 0};
     }},
    {"ZeroSubnormalAndHugeFactors",
     [](Rng& rng, StepKind) {
         const auto any = [&rng] { // zero, subnormal (from 2^-1022 down), huge or ordinary
             const std::pair<int, int> exponents[] = {{0, 0}, {-1074, -480}, {400, 1023}, {-5, 5}};
             const auto [low, high] = exponents[rng() % 4];
             return high == 0 ? (rng() % 2 ? 0.0 : -0.0) : randomDouble(rng, low, high);
         };
         return StepInput{any(), any(), any(), any()};
     }},
    {"ResultsNearTheLargestDouble",
     [](Rng& rng, StepKind kind) {
         const double x = randomDouble(rng, 1, 1000);
         const double shift = std::ldexp(static_cast<double>(rng() % 64) - 32, -53);
         if (kind == TwoByTwo) // x * y within a few places of the largest double
             return StepInput{x, randomDouble(rng, -20, 20), randomDouble(rng, -20, 20),
                              Largest / x * (1 + shift)};
         // A sum a few places below the largest double, growing by about 2^970 ... 2^973.
         const double sum = std::copysign(Largest - static_cast<double>(rng() % 8) * 0x1p971, x);
         const double size = std::ldexp(1 + static_cast<double>(rng() % 1024) / 128, 969);
         const double grow = kind == Subtract ? -sum : sum;
         return StepInput{x, std::copysign(size / std::fabs(x), grow * x), sum, 0};
     }},
};

class StepAccuracy : public testing::TestWithParam<Family> {};

// 12 families of 10^4 inputs of each kind: more than 10^5 inputs of each kind, on every path the
// processor runs.
TEST_P(StepAccuracy, EveryStepIsTheExactValueRoundedOnce)
{
    for (const StepKind kind : {TwoByTwo, Add, Subtract, First}) {
        Rng rng(20261207U + static_cast<unsigned>(kind));
        for (int sample = 0; sample < 10000; ++sample) {
            const StepInput in = GetParam().second(rng, kind);
            const double expected = reference(kind, in);
            for (const StepPath path : RunnablePaths()) {
                const double result = orInfinity(
                    [&] { return EvaluateStep(path, kind, in.x0, in.x1, in.x2, in.x3); });
                ASSERT_EQ(std::bit_cast<std::uint64_t>(result),
                          std::bit_cast<std::uint64_t>(expected))
                    << StepPathName(path) << ", kind " << static_cast<int>(kind) << std::hexfloat
                    << ": " << in.x0 << ", " << in.x1 << ", " << in.x2 << ", " << in.x3;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Families, StepAccuracy, testing::ValuesIn(Families),
                         [](const auto& info) { return std::string(info.param.first); });

} // namespace
