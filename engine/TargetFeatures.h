#pragma once

// What the build tells the engine about its target: the engine's only preprocessor tests.
#include <cmath>
#include <limits>

// Set to 1 by the CMake option KALVORA_PORTABLE_STEP.
#ifndef KALVORA_PORTABLE_STEP
#define KALVORA_PORTABLE_STEP 0
#endif

// Error-free sums and products need every operation rounded on its own. GCC and Clang get
// -ffp-contract=off from the build; MSVC before Visual Studio 2022 fuses a * b + c into an fma
// by default wherever the target has one (/arch:AVX2).
#if defined(_MSC_VER) && !defined(__clang__)
#pragma fp_contract(off)
#endif

namespace Kalvoran {

// The build asks for the portable step whatever long double is.
inline constexpr bool PortableStepForced = KALVORA_PORTABLE_STEP != 0;

// long double has a wider exponent range than double (the 80-bit x87 format): products of two
// doubles and their sums cannot overflow before the result is rounded to double.
inline constexpr bool ExtendedStepAvailable =
    std::numeric_limits<long double>::max_exponent > 2 * std::numeric_limits<double>::max_exponent;

// std::fma is a single exact instruction on the target: ARM64, or x86-64 built for FMA3 (GCC and
// Clang -mfma or -march=x86-64-v3, MSVC /arch:AVX2). Elsewhere it may be a slow library call,
// and MinGW-w64's is not even exact.
#if defined(FP_FAST_FMA) || defined(__FMA__) || defined(__ARM_FEATURE_FMA) || defined(__AVX2__) || \
    defined(_M_ARM64)
inline constexpr bool FastExactFma = true;
#else
inline constexpr bool FastExactFma = false;
#endif

} // namespace Kalvoran
