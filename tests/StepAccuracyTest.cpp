// Both kinds of step (the 2 x 2 value and the accumulation t + S or S - t) against an exact
// reference. __float128 holds every product of two doubles exactly, and its exponent range
// holds every product and sum a step forms, so the reference is exact or rounded far below
// 1 ulp of a double.
#include "ExtendedStep.h"
#include "Kalvoran.h"
#include "PortableStep.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <ostream>
#include <random>
#include <sstream>

namespace {

__extension__ using Exact = __float128;

enum class Kind { TwoByTwo, Add, Subtract, First }; // First: Add to a sum of +0

struct StepInput {
    Kind kind;
    double x0, x1, x2, x3; // a00, a01, a10, a11; or d, a, S
};

Exact magnitude(Exact x)
{
    return x < 0 ? -x : x;
}

// The exact value of the step's formula, and the magnitude of its largest term.
struct Reference {
    Exact value;
    Exact largestTerm;
};

Reference reference(const StepInput& in)
{
    if (in.kind == Kind::TwoByTwo) {
        const Exact p = Exact{in.x0} * in.x3;
        const Exact q = Exact{in.x2} * in.x1;
        return {p - q, std::max(magnitude(p), magnitude(q))};
    }
    const Exact t = Exact{in.x0} * in.x1;
    return {in.kind == Kind::Subtract ? in.x2 - t : t + in.x2,
            std::max(magnitude(t), Exact{std::fabs(in.x2)})};
}

// The result, or nothing when the step threw OverflowError.
template <class Step> std::optional<double> run(const StepInput& in)
{
    try {
        switch (in.kind) {
        case Kind::TwoByTwo:
            return Step::twoByTwo(in.x0, in.x1, in.x2, in.x3);
        case Kind::Add:
            return Step::addTerm(in.x0, in.x1, in.x2);
        case Kind::Subtract:
            return Step::subtractTerm(in.x2, in.x0, in.x1);
        case Kind::First:
            return Step::firstTerm(in.x0, in.x1);
        }
    } catch (const Kalvoran::OverflowError&) {
    }
    return std::nullopt;
}

const double Largest = std::numeric_limits<double>::max();
// Exact values from here on round to infinity; 2^971 is the last place of the largest double.
const Exact OverflowThreshold = Exact{Largest} + std::ldexp(1.0, 970);
const Exact TopUlp = std::ldexp(1.0, 971);

// The spacing of doubles at x (|x| below the overflow threshold).
Exact ulpAt(Exact x)
{
    if (x == 0)
        return std::ldexp(1.0, -1074);
    int e = 0;
    (void)std::frexp(static_cast<double>(magnitude(x)), &e); // 2^(e-1) <= |x| < 2^e, or e one high
    if (Exact{std::ldexp(1.0, e - 1)} > magnitude(x))
        --e;
    return std::ldexp(1.0, std::max(e - 53, -1074));
}

// Fails beyond 1 ulp of the exact value, and on overflow unless the exact value lies within
// 1 ulp of the threshold.
testing::AssertionResult withinOneUlp(std::optional<double> got, Exact exact)
{
    const Exact size = magnitude(exact);
    if (size >= OverflowThreshold + TopUlp)
        return got ? testing::AssertionFailure() << "no overflow, got " << *got
                   : testing::AssertionSuccess();
    if (size > OverflowThreshold - TopUlp)
        return testing::AssertionSuccess();
    if (!got)
        return testing::AssertionFailure() << "overflow, exact " << static_cast<double>(exact);
    const Exact error = magnitude(Exact{*got} - exact);
    if (error > ulpAt(exact))
        return testing::AssertionFailure()
               << "got " << *got << ", exact " << static_cast<double>(exact) << ", off by "
               << static_cast<double>(error / ulpAt(exact)) << " ulp";
    return testing::AssertionSuccess();
}

// A double with a random sign, 53 random bits and an exponent in [low, high].
double randomDouble(std::mt19937_64& rng, int low, int high)
{
    const double mantissa = 1 + std::ldexp(static_cast<double>(rng() >> 12), -52);
    const int exponent = std::uniform_int_distribution<int>(low, high)(rng);
    return std::ldexp(rng() % 2 ? -mantissa : mantissa, exponent);
}

// x moved by up to `steps` doubles either way.
double nudged(std::mt19937_64& rng, double x, int steps)
{
    for (int n = std::uniform_int_distribution<int>(-steps, steps)(rng); n != 0;
         n += n < 0 ? 1 : -1)
        x = std::nextafter(x, n < 0 ? -Largest : Largest);
    return x;
}

Kind accumulation(std::mt19937_64& rng)
{
    const Kind kinds[] = {Kind::Add, Kind::Subtract, Kind::Add, Kind::Subtract, Kind::First};
    return kinds[rng() % 5];
}

// S for an accumulation whose term t = d * a the sum (nearly) cancels.
double cancelling(Kind kind, double t)
{
    return kind == Kind::Add ? -t : t;
}

using Generator = StepInput (*)(std::mt19937_64&);

struct Family {
    const char* name;
    Generator make;
};

void PrintTo(const Family& family, std::ostream* out)
{
    *out << family.name;
}

// Three consecutive terms of a Fibonacci-like sequence from small seeds, the last below 2^53:
// g0 * g2 - g1 * g1 is +-(seed1^2 - seed0 * seed1 - seed0^2), while the products reach 2^105.
struct Cassini {
    double g0, g1, g2;
};

Cassini cassini(std::mt19937_64& rng)
{
    std::uniform_int_distribution<std::int64_t> seed(1, 1000);
    std::int64_t g0 = seed(rng);
    std::int64_t g1 = seed(rng);
    std::int64_t g2 = g0 + g1;
    while (g1 + g2 < (std::int64_t{1} << 53)) {
        g0 = g1;
        g1 = g2;
        g2 = g0 + g1;
    }
    return {static_cast<double>(g0), static_cast<double>(g1), static_cast<double>(g2)};
}

const Family Families[] = {
    {"Ordinary",
     [](std::mt19937_64& rng) {
         const Kind kind = rng() % 3 ? accumulation(rng) : Kind::TwoByTwo;
         return StepInput{kind, randomDouble(rng, -60, 60), randomDouble(rng, -60, 60),
                          randomDouble(rng, -60, 60), randomDouble(rng, -60, 60)};
     }},
    {"ProductsBeyondTheRangeDifferingLittle",
     [](std::mt19937_64& rng) {
         const int e = std::uniform_int_distribution<int>(440, 600)(rng);
         const int sum = std::uniform_int_distribution<int>(960, 1090)(rng);
         const double a00 = randomDouble(rng, e, e);
         const double a11 = randomDouble(rng, sum - e, sum - e);
         return StepInput{Kind::TwoByTwo, a00, nudged(rng, a11, 2), nudged(rng, a00, 2), a11};
     }},
    {"ProductsEqualInAllButTheirLastBits",
     [](std::mt19937_64& rng) {
         const auto [g0, g1, g2] = cassini(rng);
         const int sum = std::uniform_int_distribution<int>(-1180, 1010)(rng); // 2^sum * small
         const int e = std::uniform_int_distribution<int>(std::max(-1074, sum - 970),
                                                          std::min(970, sum + 1074))(rng);
         const int f = sum - e;
         return StepInput{Kind::TwoByTwo, std::ldexp(g0, e), std::ldexp(g1, f), std::ldexp(g1, e),
                          std::ldexp(g2, f)};
     }},
    {"SumsThatCancel",
     [](std::mt19937_64& rng) {
         const Kind kind = accumulation(rng);
         const double d = randomDouble(rng, -500, 500);
         const double a = randomDouble(rng, -500, 500);
         return StepInput{kind, d, a, nudged(rng, cancelling(kind, d * a), 3), 0};
     }},
    {"ProductJustBeyondTheRangeMeetsTheSum",
     [](std::mt19937_64& rng) {
         const Kind kind = accumulation(rng);
         const int e = std::uniform_int_distribution<int>(0, 1023)(rng);
         const double d = randomDouble(rng, e, e);
         const double a = randomDouble(rng, 1023 - e, 1023 - e); // |d * a| in [2^1023, 2^1025)
         const double size = std::fabs(randomDouble(rng, 1022, 1023));
         return StepInput{kind, d, a, cancelling(kind, std::copysign(size, d * a)), 0};
     }},
    {"SubnormalResults",
     [](std::mt19937_64& rng) {
         const int e = std::uniform_int_distribution<int>(-560, -500)(rng);
         const int sum = std::uniform_int_distribution<int>(-1130, -1000)(rng);
         const double x = randomDouble(rng, e, e);
         const double y = randomDouble(rng, sum - e, sum - e);
         if (rng() % 2)
             return StepInput{Kind::TwoByTwo, x, nudged(rng, y, 2), nudged(rng, x, 2), y};
         const Kind kind = accumulation(rng);
         return StepInput{kind, x, y, nudged(rng, cancelling(kind, x * y), 3), 0};
     }},
    {"HalfwayBetweenSubnormalsAndJustOff",
     [](std::mt19937_64& rng) {
         // (2n + 1) * 2^-1075 lies halfway between two subnormals; a far smaller part decides.
         const double odd = static_cast<double>(2 * (rng() >> 13) + 1);
         const double halfway = std::ldexp(rng() % 2 ? -odd : odd, -600);
         if (rng() % 2)
             return StepInput{Kind::TwoByTwo, halfway, std::ldexp(1.0, -600),
                              randomDouble(rng, -530, -500), std::ldexp(1.0, -475)};
         const double off = rng() % 2 ? 1 + std::ldexp(1.0, -52) : 1 - std::ldexp(1.0, -53);
         const double sum = std::ldexp(static_cast<double>(rng() % 2001) - 1000, -1074);
         return StepInput{accumulation(rng), halfway, std::ldexp(off, -475), sum, 0};
     }},
    {"ZeroSubnormalAndHugeFactors",
     [](std::mt19937_64& rng) {
         const auto any = [&rng] {
             switch (rng() % 4) {
             case 0:
                 return rng() % 2 ? 0.0 : -0.0;
             case 1:
                 return randomDouble(rng, -1074, -480); // subnormal from 2^-1022 down
             case 2:
                 return randomDouble(rng, 400, 1023);
             default:
                 return randomDouble(rng, -5, 5);
             }
         };
         const Kind kind = rng() % 2 ? accumulation(rng) : Kind::TwoByTwo;
         return StepInput{kind, any(), any(), any(), any()};
     }},
    {"ResultsNearTheLargestDouble",
     [](std::mt19937_64& rng) {
         const double x = randomDouble(rng, 0, 1000);
         const double shift = std::ldexp(static_cast<double>(rng() % 64) - 32, -53);
         const double y = static_cast<double>(Exact{Largest} * (1 + shift) / x);
         if (rng() % 2)
             return StepInput{Kind::TwoByTwo, x, randomDouble(rng, -20, 20),
                              randomDouble(rng, -20, 20), y};
         // A running sum a few places below the largest double, growing by about 2^970 ... 2^973.
         const Kind kind = accumulation(rng);
         const double sum =
             std::copysign(Largest - static_cast<double>(rng() % 8) * std::ldexp(1.0, 971), x);
         const double size = std::ldexp(1 + static_cast<double>(rng() % 1024) / 128, 969);
         const double grow = kind == Kind::Add ? sum : -sum;
         return StepInput{kind, x, std::copysign(size / std::fabs(x), grow * x), sum, 0};
     }},
};

std::string describe(const StepInput& in)
{
    std::ostringstream text;
    text << std::hexfloat << "kind " << static_cast<int>(in.kind) << ": " << in.x0 << ", " << in.x1
         << ", " << in.x2 << ", " << in.x3;
    return text.str();
}

class StepAccuracy : public testing::TestWithParam<Family> {};

TEST_P(StepAccuracy, WithinOneUlpOfTheExactValue)
{
    std::mt19937_64 rng(20261207U);
    for (int sample = 0; sample < 20000; ++sample) {
        StepInput in = GetParam().make(rng);
        if (in.kind == Kind::First)
            in.x2 = +0.0;
        const Reference exact = reference(in);
        const std::optional<double> portable = run<Kalvoran::PortableStep>(in);
        ASSERT_TRUE(withinOneUlp(portable, exact.value)) << "portable step, " << describe(in);
        if (magnitude(exact.value) < std::numeric_limits<double>::min()) { // nearest, with sign
            const double nearest = static_cast<double>(exact.value);
            ASSERT_EQ(portable, nearest) << describe(in);
            ASSERT_EQ(std::signbit(*portable), std::signbit(nearest)) << describe(in);
        }
        // The long double step rounds twice; only without heavy cancellation do both roundings
        // together stay within 1 ulp.
        if (Kalvoran::ExtendedStepAvailable && magnitude(exact.value) * 256 >= exact.largestTerm) {
            ASSERT_TRUE(withinOneUlp(run<Kalvoran::ExtendedStep>(in), exact.value))
                << "long double step, " << describe(in);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Families, StepAccuracy, testing::ValuesIn(Families),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
