#pragma once

// The step the evaluation uses: the long double one where long double has the wider exponent
// range, the portable one elsewhere (MSVC, ARM64) or when the build forces it with the CMake
// option KALVORA_PORTABLE_STEP.
#include "ExtendedStep.h"
#include "PortableStep.h"

#include <type_traits>

#ifndef KALVORA_PORTABLE_STEP
#define KALVORA_PORTABLE_STEP 0
#endif

namespace Kalvoran {

inline constexpr bool PortableStepForced = KALVORA_PORTABLE_STEP != 0;

using Step = std::conditional_t<ExtendedStepAvailable && !PortableStepForced, ExtendedStep,
                                PortableStep>;

inline constexpr const char* StepName =
    std::is_same_v<Step, ExtendedStep> ? "long double (x87)" : "portable (double only)";

} // namespace Kalvoran
