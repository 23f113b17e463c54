#include "Kalvoran.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <limits>
#include <utility>

namespace Kalvoran {
namespace {

// Products of two doubles, and their sums, must not overflow inside a step: only the stored
// result of a step is checked.
static_assert(std::numeric_limits<long double>::max_exponent >
                  2 * std::numeric_limits<double>::max_exponent,
              "the evaluation needs a long double with a wider exponent range than double");

using Wide = long double;

// Rounds a step's result to double once and checks it.
double stored(Wide value)
{
    const auto result = static_cast<double>(value);
    if (!std::isfinite(result))
        throw OverflowError();
    return result;
}

struct NoCount {
    void add() noexcept {}
};

struct CallCount {
    std::uint64_t& calls;
    void add() noexcept { ++calls; }
};

// Evaluates the leading N x N block of a row-major array with the given row stride. Each call
// owns its minor on the stack. Between two expanded columns the minor is updated rather than
// rebuilt: the minor of column k differs from that of column k - 1 only in its column k - 1,
// which then holds the source column k - 1 instead of column k.
template <int N> struct Expansion {
    template <class Counter>
    static double eval(const double* a, std::ptrdiff_t stride, Counter& counter)
    {
        counter.add();
        constexpr int M = N - 1;
        std::array<double, static_cast<std::size_t>(M) * M> minor; // filled before first use
        for (int i = 1; i < N; ++i)
            for (int j = 1; j < N; ++j)
                minor[(i - 1) * M + (j - 1)] = a[i * stride + j];

        double sum = +0.0;
        for (int k = 0; k < N; ++k) {
            if (k > 0)
                for (int i = 1; i < N; ++i)
                    minor[(i - 1) * M + (k - 1)] = a[i * stride + (k - 1)];
            const Wide term = Wide{Expansion<M>::eval(minor.data(), M, counter)} * a[k];
            sum = stored(k % 2 == 0 ? term + sum : sum - term);
        }
        return sum;
    }
};

// The 2 x 2 step: the product of the main diagonal minus the product of row 1, column 0 and
// row 0, column 1.
template <class Counter>
double twoByTwo(double a00, double a01, double a10, double a11, Counter& counter)
{
    counter.add();
    return stored(Wide{a00} * a11 - Wide{a10} * a01);
}

template <> struct Expansion<2> {
    template <class Counter>
    static double eval(const double* a, std::ptrdiff_t stride, Counter& counter)
    {
        return twoByTwo(a[0], a[1], a[stride], a[stride + 1], counter);
    }
};

template <> struct Expansion<1> {
    template <class Counter>
    static double eval(const double* a, std::ptrdiff_t /*stride*/, Counter& counter)
    {
        counter.add();
        return a[0];
    }
};

// One entry point per order the probe can report, 1 ... 11.
template <class Counter, std::size_t... Less>
double expand(int order, const double* a, std::ptrdiff_t stride, Counter& counter,
              std::index_sequence<Less...> /*orders - 1*/)
{
    using Entry = double (*)(const double*, std::ptrdiff_t, Counter&);
    static constexpr Entry byOrder[] = {&Expansion<static_cast<int>(Less) + 1>::eval...};
    return byOrder[order - 1](a, stride, counter);
}

template <class Counter> double evaluate(const Matrix& matrix, Counter& counter)
{
    const int order = ProbeOrder(matrix);
    if (order == 0)
        return 1.0; // the empty product
    return expand(order, matrix.data(), matrix.cols(), counter,
                  std::make_index_sequence<MaxProbedOrder>());
}

} // namespace

double EvaluateDeterminant(const Matrix& matrix)
{
    NoCount counter;
    return evaluate(matrix, counter);
}

double EvaluateDeterminantCounted(const Matrix& matrix, std::uint64_t& calls)
{
    CallCount counter{calls};
    return evaluate(matrix, counter);
}

} // namespace Kalvoran
