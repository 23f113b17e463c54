#pragma once

#include "Kalvoran.h"
#include "StepPaths.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

// A test fixture run once per step path, skipped where the processor does not run the path.
class OnEachPath : public testing::TestWithParam<Kalvoran::StepPath> {
protected:
    void SetUp() override;
    [[nodiscard]] Kalvoran::StepPath path() const { return GetParam(); }
};

std::string pathTestName(const testing::TestParamInfo<Kalvoran::StepPath>& info);

#define KALVORA_ON_EACH_PATH(Suite)                                                                \
    INSTANTIATE_TEST_SUITE_P(Paths, Suite,                                                         \
                             testing::Values(Kalvoran::StepPath::Fma, Kalvoran::StepPath::Plain),  \
                             pathTestName)

// An n x n matrix of reals from a fixed recipe (the same on every platform): 53 significant bits,
// magnitudes below 4, signs mixed.
Kalvoran::Matrix randomRealMatrix(int n, std::uint64_t seed);
