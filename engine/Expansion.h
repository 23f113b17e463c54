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
    };

    template <class Counter>
    static double eval(const double* a, std::ptrdiff_t stride, Counter& counter)
    {
        counter.add();
        Rows<Counter> rows{a + 2 * stride, a + 3 * stride, counter};
        return expand(a, a + stride, rows, counter);
    }

    // The expansion of a block whose rows 0 and 1 are r0 and r1 and whose 2 x 2 values of rows
    // 2 and 3 come from `pairs`.
    template <class Pairs, class Counter>
    static double expand(const double* r0, const double* r1, Pairs& pairs, Counter& counter)
    {
        const auto again = [&counter](double value) { // a pair evaluated before, counted again
            counter.add();
            return value;
        };
        counter.add(); // column 0: the minor of columns 1, 2, 3
        const double d23 = pairs.pair(2, 3);
        double minor = Step::firstTerm(d23, r1[1]);
        const double d13 = pairs.pair(1, 3);
        minor = Step::subtractTerm(minor, d13, r1[2]);
        const double d12 = pairs.pair(1, 2);
        minor = Step::addTerm(d12, r1[3], minor);
        double sum = Step::firstTerm(minor, r0[0]);

        counter.add(); // column 1: columns 0, 2, 3
        minor = Step::firstTerm(again(d23), r1[0]);
        const double d03 = pairs.pair(0, 3);
        minor = Step::subtractTerm(minor, d03, r1[2]);
        const double d02 = pairs.pair(0, 2);
        minor = Step::addTerm(d02, r1[3], minor);
        sum = Step::subtractTerm(sum, minor, r0[1]);

        counter.add(); // column 2: columns 0, 1, 3
        minor = Step::firstTerm(again(d13), r1[0]);
        minor = Step::subtractTerm(minor, again(d03), r1[1]);
        const double d01 = pairs.pair(0, 1);
        minor = Step::addTerm(d01, r1[3], minor);
        sum = Step::addTerm(minor, r0[2], sum);

        counter.add(); // column 3: columns 0, 1, 2
        minor = Step::firstTerm(again(d12), r1[0]);
        minor = Step::subtractTerm(minor, again(d02), r1[1]);
        minor = Step::addTerm(again(d01), r1[2], minor);
        return Step::subtractTerm(sum, minor, r0[3]);
    }
};

// Order 5 in the same way: its five minors of order 4 share their last two rows, whose ten
// distinct pairs of columns are evaluated first, each once; every one of the sixty 2 x 2 calls is
// still counted where the expansion makes it. The plain expansion evaluates every pair too, so an
// overflow in one fails both.
template <class Step> struct Expansion<Step, 5> {
    template <class Counter> struct Table {
        const double (&values)[5][5];
        const int (&columns)[4]; // of the block, for the minor's columns 0 ... 3
        Counter& counter;

        double pair(int x, int y)
        {
            counter.add();
            return values[columns[x]][columns[y]];
        }
    };

    template <class Counter>
    static double eval(const double* a, std::ptrdiff_t stride, Counter& counter)
    {
        counter.add();
        const double* r3 = a + 3 * stride;
        const double* r4 = a + 4 * stride;
        double values[5][5]; // [x][y] for x < y
        for (int x = 0; x < 5; ++x)
            for (int y = x + 1; y < 5; ++y)
                values[x][y] = Step::twoByTwo(r3[x], r3[y], r4[x], r4[y]);

        double sum = 0;
        for (int k = 0; k < 5; ++k) {
            int columns[4];
            double r1[4];
            double r2[4];
            for (int j = 0, c = 0; j < 5; ++j)
                if (j != k) {
                    columns[c] = j;
                    r1[c] = a[stride + j];
                    r2[c++] = a[2 * stride + j];
                }
            counter.add(); // the minor of column k
            Table<Counter> table{values, columns, counter};
            const double d = Expansion<Step, 4>::expand(r1, r2, table, counter);
            sum = k == 0       ? Step::firstTerm(d, a[0])
                  : k % 2 == 0 ? Step::addTerm(d, a[k], sum)
                               : Step::subtractTerm(sum, d, a[k]);
        }
        return sum;
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
