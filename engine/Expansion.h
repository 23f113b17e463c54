#pragma once

// The expansion along the first row, as templates on the step, so that each step path's object
// compiles its own instantiations and no inline code is shared between the paths.
#include "Kalvoran.h"
#include "PathFunctions.h"

#include <cstddef>
#include <cstdint>
#include <utility>

namespace Kalvoran {

template <class Step> struct NoCount {
    void add() noexcept {}
};

template <class Step> struct CallCount {
    std::uint64_t& calls;
    void add() noexcept { ++calls; }
};

// Evaluates the leading N x N block of a row-major array with the given row stride. Each call
// owns its minor on the stack. Between two expanded columns the minor is updated rather than
// rebuilt: the minor of column k differs from that of column k - 1 only in its column k - 1,
// which then holds the source column k - 1 instead of column k.
template <class Step, int N> struct Expansion {
    template <class Counter>
    static double eval(const double* a, std::ptrdiff_t stride, Counter& counter)
    {
        counter.add();
        constexpr int M = N - 1;
        double minor[static_cast<std::size_t>(M) * M]; // filled before first use
        for (int i = 1; i < N; ++i)
            for (int j = 1; j < N; ++j)
                minor[(i - 1) * M + (j - 1)] = a[i * stride + j];

        double sum = Step::firstTerm(Expansion<Step, M>::eval(minor, M, counter), a[0]);
        for (int k = 1; k < N; ++k) {
            for (int i = 1; i < N; ++i)
                minor[(i - 1) * M + (k - 1)] = a[i * stride + (k - 1)];
            const double d = Expansion<Step, M>::eval(minor, M, counter);
            sum = k % 2 == 0 ? Step::addTerm(d, a[k], sum) : Step::subtractTerm(sum, d, a[k]);
        }
        return sum;
    }
};

// Order 4, written out so that no compiler has to unroll it. Its twelve 2 x 2 minors (rows 2 and
// 3) use only six distinct pairs of columns: each pair is evaluated where the expansion first
// needs it and reused later, and every one of the twelve calls is counted where the expansion
// makes it. Steps, their order and so every result bit are those of the plain expansion.
template <class Step> struct Expansion<Step, 4> {
    template <class Counter> struct Rows {
        const double* r2;
        const double* r3;
        Counter& counter;

        double pair(int x, int y)
        {
            counter.add();
            return Step::twoByTwo(r2[x], r2[y], r3[x], r3[y]);
        }
        double again(double value)
        {
            counter.add();
            return value;
        }
    };

    template <class Counter>
    static double eval(const double* a, std::ptrdiff_t stride, Counter& counter)
    {
        counter.add();
        const double* r0 = a;
        const double* r1 = a + stride;
        Rows<Counter> rows{a + 2 * stride, a + 3 * stride, counter};

        counter.add(); // column 0: the minor of columns 1, 2, 3
        const double d23 = rows.pair(2, 3);
        double minor = Step::firstTerm(d23, r1[1]);
        const double d13 = rows.pair(1, 3);
        minor = Step::subtractTerm(minor, d13, r1[2]);
        const double d12 = rows.pair(1, 2);
        minor = Step::addTerm(d12, r1[3], minor);
        double sum = Step::firstTerm(minor, r0[0]);

        counter.add(); // column 1: columns 0, 2, 3
        minor = Step::firstTerm(rows.again(d23), r1[0]);
        const double d03 = rows.pair(0, 3);
        minor = Step::subtractTerm(minor, d03, r1[2]);
        const double d02 = rows.pair(0, 2);
        minor = Step::addTerm(d02, r1[3], minor);
        sum = Step::subtractTerm(sum, minor, r0[1]);

        counter.add(); // column 2: columns 0, 1, 3
        minor = Step::firstTerm(rows.again(d13), r1[0]);
        minor = Step::subtractTerm(minor, rows.again(d03), r1[1]);
        const double d01 = rows.pair(0, 1);
        minor = Step::addTerm(d01, r1[3], minor);
        sum = Step::addTerm(minor, r0[2], sum);

        counter.add(); // column 3: columns 0, 1, 2
        minor = Step::firstTerm(rows.again(d12), r1[0]);
        minor = Step::subtractTerm(minor, rows.again(d02), r1[1]);
        minor = Step::addTerm(rows.again(d01), r1[2], minor);
        return Step::subtractTerm(sum, minor, r0[3]);
    }
};

template <class Step> struct Expansion<Step, 2> {
    template <class Counter>
    static double eval(const double* a, std::ptrdiff_t stride, Counter& counter)
    {
        counter.add();
        return Step::twoByTwo(a[0], a[1], a[stride], a[stride + 1]);
    }
};

template <class Step> struct Expansion<Step, 1> {
    template <class Counter>
    static double eval(const double* a, std::ptrdiff_t /*stride*/, Counter& counter)
    {
        counter.add();
        return a[0];
    }
};

template <class Step> struct Evaluation {
    // One entry point per order the probe can report, 1 ... 11.
    template <class Counter, std::size_t... Less>
    static double expand(int order, const double* a, std::ptrdiff_t stride, Counter& counter,
                         std::index_sequence<Less...> /*orders - 1*/)
    {
        using Entry = double (*)(const double*, std::ptrdiff_t, Counter&);
        static constexpr Entry byOrder[] = {
            &Expansion<Step, static_cast<int>(Less) + 1>::template eval<Counter>...};
        return byOrder[order - 1](a, stride, counter);
    }

    static double evaluate(int order, const double* a, std::ptrdiff_t stride)
    {
        NoCount<Step> counter;
        return expand(order, a, stride, counter, std::make_index_sequence<MaxProbedOrder>());
    }

    static double evaluateCounted(int order, const double* a, std::ptrdiff_t stride,
                                  std::uint64_t& calls)
    {
        CallCount<Step> counter{calls};
        return expand(order, a, stride, counter, std::make_index_sequence<MaxProbedOrder>());
    }

    static double step(StepKind kind, double x0, double x1, double x2, double x3)
    {
        switch (kind) {
        case StepKind::TwoByTwo:
            return Step::twoByTwo(x0, x1, x2, x3);
        case StepKind::Add:
            return Step::addTerm(x0, x1, x2);
        case StepKind::Subtract:
            return Step::subtractTerm(x2, x0, x1);
        case StepKind::First:
            break;
        }
        return Step::firstTerm(x0, x1);
    }
};

template <class Step> constexpr PathFunctions pathFunctions()
{
    return {&Evaluation<Step>::evaluate, &Evaluation<Step>::evaluateCounted,
            &Evaluation<Step>::step};
}

} // namespace Kalvoran
