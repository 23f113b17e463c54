#include "EngineTestSupport.h"

#include <cmath>
#include <random>

void OnEachPath::SetUp()
{
    if (!Kalvoran::ProcessorRuns(path()))
        GTEST_SKIP() << "this processor does not run the path " << StepPathName(path());
}

std::string pathTestName(const testing::TestParamInfo<Kalvoran::StepPath>& info)
{
    return info.param == Kalvoran::StepPath::Fma ? "Fma" : "Plain";
}

Kalvoran::Matrix randomRealMatrix(int n, std::uint64_t seed)
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
