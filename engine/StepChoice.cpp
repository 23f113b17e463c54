// The one place that asks the processor: whether it runs the fma path. The fma path is built on
// x86-64 and ARM64 only (FmaPath.cpp fails to build elsewhere).
#include "StepPaths.h"

#if defined(_MSC_VER) && !defined(__clang__) && defined(_M_X64)
#include <intrin.h>
#endif

namespace Kalvoran {
namespace {

bool processorHasFma()
{
#if defined(_MSC_VER) && !defined(__clang__) && defined(_M_X64)
    // FMA3 and AVX, and the system saves the AVX registers (OSXSAVE, XCR0 bits 1 and 2).
    int info[4] = {};
    __cpuid(info, 1);
    const int needed = (1 << 12) | (1 << 27) | (1 << 28);
    return (info[2] & needed) == needed && (_xgetbv(0) & 6) == 6;
#elif defined(__x86_64__)
    return __builtin_cpu_supports("avx") && __builtin_cpu_supports("fma");
#else
    return true; // ARM64
#endif
}

} // namespace

std::vector<StepPath> RunnablePaths()
{
    static const bool hasFma = processorHasFma();
    if (hasFma)
        return {StepPath::Fma, StepPath::Plain};
    return {StepPath::Plain};
}

} // namespace Kalvoran
