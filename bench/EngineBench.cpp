// Times the engine against the naive expansion on the same random matrices, orders 8 to 11, in
// one run, so that the ratio between the two compares builds made with different compilers or
// flags: the engine as EvaluateDeterminant runs it (on the path it chose for this processor) and
// on each step path that the processor runs; and the exact determinant of matrices of 15-digit
// decimals, of fractions, and of 15-digit decimals at both ends of the double range; and the
// working of an order-10 determinant as the window "Rechenweg" builds it.
#include "ExactDeterminant.h"
#include "Kalvoran.h"
#include "NaiveDeterminant.h"
#include "StepPaths.h"
#include "TypedMatrix.h"
#include "Working.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <random>
#include <string>

namespace {

Kalvoran::Matrix randomMatrix(int n)
{
    std::mt19937 rng(static_cast<unsigned>(n));
    std::uniform_real_distribution<double> entry(-10.0, 10.0);
    Kalvoran::Matrix m(n, n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            m(i, j) = entry(rng);
    return m;
}

NaiveMatrix toNaive(const Kalvoran::Matrix& m)
{
    NaiveMatrix a(m.rows(), std::vector<double>(m.cols()));
    for (int i = 0; i < m.rows(); ++i)
        for (int j = 0; j < m.cols(); ++j)
            a[i][j] = m(i, j);
    return a;
}

void Engine(benchmark::State& state)
{
    const auto m = randomMatrix(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(Kalvoran::EvaluateDeterminant(m));
}

// Entries of 15 significant digits, magnitudes from 10^-5 to 10^5, as typed decimals.
Kalvoran::Matrix fifteenDigitMatrix(int n)
{
    std::mt19937_64 rng(static_cast<unsigned>(n));
    std::uniform_int_distribution<long long> digits(100'000'000'000'000, 999'999'999'999'999);
    std::uniform_int_distribution<int> exponent(-19, -9);
    Kalvoran::Matrix m(n, n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            const long long mantissa = rng() % 2 == 0 ? digits(rng) : -digits(rng);
            const std::string text = std::to_string(mantissa) + "e" + std::to_string(exponent(rng));
            m(i, j) = std::strtod(text.c_str(), nullptr);
        }
    return m;
}

// Fractions p/q with |p| and q below 10^4.
Kalvoran::ExactMatrix fractionMatrix(int n)
{
    std::mt19937 rng(static_cast<unsigned>(n));
    std::uniform_int_distribution<int> top(-9999, 9999);
    std::uniform_int_distribution<int> bottom(1, 9999);
    Kalvoran::ExactMatrix m(n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            m(i, j) = Kalvoran::Rational(top(rng)) / Kalvoran::BigInteger(bottom(rng));
    return m;
}

// 15-digit decimals, each near 1E-300 or near 9,9E+300 at random.
Kalvoran::ExactMatrix extremeMatrix(int n)
{
    std::mt19937_64 rng(static_cast<unsigned>(n));
    std::uniform_int_distribution<long long> digits(100'000'000'000'000, 999'999'999'999'999);
    const Kalvoran::Rational tiny = Kalvoran::Rational(1) / Kalvoran::powerOfTen(314);
    const Kalvoran::Rational huge(Kalvoran::powerOfTen(286));
    Kalvoran::ExactMatrix m(n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            m(i, j) = Kalvoran::Rational(digits(rng)) * (rng() % 2 == 0 ? tiny : huge);
    return m;
}

// The exact determinant that the result shows beside the engine's.
void Exact(benchmark::State& state, Kalvoran::ExactMatrix (*make)(int))
{
    const auto m = make(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(Kalvoran::ExactDeterminant(m));
}

Kalvoran::ExactMatrix typedDecimals(int n)
{
    return *Kalvoran::TypedMatrix().exact(fifteenDigitMatrix(n));
}

// The working that the window "Rechenweg" opens with: the line chosen, the terms and the exact
// value of every minor.
void Working(benchmark::State& state, Kalvoran::ExactMatrix (*make)(int))
{
    const auto m = make(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(Kalvoran::workOut(m, Kalvoran::defaultLine(m)));
}

void EngineOn(benchmark::State& state, Kalvoran::StepPath path)
{
    const auto m = randomMatrix(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(Kalvoran::EvaluateDeterminantOn(path, m));
}

void Naive(benchmark::State& state)
{
    const auto a = toNaive(randomMatrix(static_cast<int>(state.range(0))));
    for (auto _ : state)
        benchmark::DoNotOptimize(naiveDeterminant(a));
}

} // namespace

BENCHMARK(Engine)->DenseRange(8, 11)->Unit(benchmark::kMillisecond);
BENCHMARK(Naive)->DenseRange(8, 11)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Exact, decimals, typedDecimals)->DenseRange(8, 11)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Exact, fractions, fractionMatrix)->Arg(10)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Exact, extremes, extremeMatrix)->Arg(10)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Working, decimals, typedDecimals)->Arg(10)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Working, fractions, fractionMatrix)->Arg(10)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    using Kalvoran::StepPath;
    for (const StepPath path : Kalvoran::RunnablePaths())
        benchmark::RegisterBenchmark(
            (std::string("EngineOn/") + (path == StepPath::Fma ? "fma" : "plain")).c_str(),
            EngineOn, path)
            ->DenseRange(8, 11)
            ->Unit(benchmark::kMillisecond);
    benchmark::AddCustomContext("engine step path", StepPathName(Kalvoran::ChosenStepPath()));
    benchmark::AddCustomContext("compiler", KALVORA_BENCH_COMPILER);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
