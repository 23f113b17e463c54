#pragma once

// What the compiler tells the engine about its target: the engine's only preprocessor tests
// besides the processor query in StepChoice.cpp.

// Error-free sums and products need every operation rounded on its own. GCC and Clang get
// -ffp-contract=off from the build; MSVC before Visual Studio 2022 fuses a * b + c into an fma
// by default wherever the target has one (/arch:AVX2).
#if defined(_MSC_VER) && !defined(__clang__)
#pragma fp_contract(off)
#endif

#include <cmath>

// The fused multiply-add for the fma path. GCC's and Clang's built-in is the instruction also
// without optimisation, where std::fma is a call to the C library's fma.
#if defined(__GNUC__)
#define KALVORA_FMA(a, b, c) __builtin_fma(a, b, c)
#else
#define KALVORA_FMA(a, b, c) std::fma(a, b, c)
#endif

// Inlines a step into the expansion, where the compiler would otherwise call it.
#if defined(__GNUC__)
#define KALVORA_INLINE [[gnu::always_inline]] inline
#elif defined(_MSC_VER)
#define KALVORA_INLINE __forceinline
#else
#define KALVORA_INLINE inline
#endif

namespace Kalvoran {

// std::fma is a single exact instruction in this translation unit: the compiler says so for
// x86-64 built for FMA3 (GCC and Clang -mfma, MSVC /arch:AVX2) and for ARM64. Elsewhere it may be
// a slow library call, and MinGW-w64's is not even exact.
#if defined(FP_FAST_FMA) || defined(__FMA__) || defined(__ARM_FEATURE_FMA) || defined(_M_ARM64) || \
    (defined(_MSC_VER) && !defined(__clang__) && defined(__AVX2__))
inline constexpr bool FastExactFma = true;
#else
inline constexpr bool FastExactFma = false;
#endif

} // namespace Kalvoran
