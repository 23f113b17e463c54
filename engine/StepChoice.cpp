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
    // FMA3 and AVX, and the system saves the AVX registers (OSXSAVE, XCR0 bits 1 and 2); and
    // AVX2 (leaf 7, EBX bit 5), since MSVC builds the fma path with /arch:AVX2, which may use
    // AVX2 instructions (AMD's processors of 2012 to 2015 have FMA3 without AVX2).
    int info[4] = {};
    __cpuid(info, 0);
    if (info[0] < 7)
        return false;
    __cpuid(info, 1);
    const int needed = (1 << 12) | (1 << 27) | (1 << 28);
    if ((info[2] & needed) != needed || (_xgetbv(0) & 6) != 6)
        return false;
    __cpuidex(info, 7, 0);
    return (info[1] & (1 << 5)) != 0;
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
