#pragma once

#include "Kalvoran.h"
#include "StepPaths.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

// A test fixture run once per step path, skipped where the processor does not run the path.
class OnEachPath : public testing::TestWithParam<Kalvoran::StepPath> {
protected:
    void SetUp() override
    {
        if (!Kalvoran::ProcessorRuns(path()))
            GTEST_SKIP() << "this processor does not run the path " << StepPathName(path());
    }
    [[nodiscard]] Kalvoran::StepPath path() const { return GetParam(); }
};

inline std::string pathTestName(const testing::TestParamInfo<Kalvoran::StepPath>& info)
{
    return info.param == Kalvoran::StepPath::Fma ? "Fma" : "Plain";
}

#define KALVORA_ON_EACH_PATH(Suite)                                                                \
    INSTANTIATE_TEST_SUITE_P(Paths, Suite,                                                         \
                             testing::Values(Kalvoran::StepPath::Fma, Kalvoran::StepPath::Plain),  \
                             pathTestName)

// An n x n matrix of reals from a fixed recipe (the same on every platform): 53 significant bits,
// magnitudes below 4, signs mixed.
inline Kalvoran::Matrix randomRealMatrix(int n, std::uint64_t seed)
{
    std::mt19937_64 rng(seed);
    Kalvoran::Matrix m(n, n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            m(i, j) = std::ldexp(static_cast<double>(static_cast<std::int64_t>(rng() >> 10) -
                                                     (std::int64_t{1} << 53)),
                                 -51);
    return m;
}

// A matrix from its rows (as many columns as the first row has).
inline Kalvoran::Matrix fromRows(const std::vector<std::vector<double>>& rows)
{
    const auto n = static_cast<int>(rows.size());
    Kalvoran::Matrix m(n, n == 0 ? 0 : static_cast<int>(rows[0].size()));
    for (int i = 0; i < m.rows(); ++i)
        for (int j = 0; j < m.cols(); ++j)
            m(i, j) = rows[i][j];
    return m;
}
