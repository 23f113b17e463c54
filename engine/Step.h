#pragma once

// The step the evaluation uses: the long double one where long double has the wider exponent
// range, the portable one elsewhere (MSVC, ARM64) or when the build forces it.
#include "ExtendedStep.h"
#include "PortableStep.h"
#include "TargetFeatures.h"

#include <type_traits>

namespace Kalvoran {

using Step =
    std::conditional_t<ExtendedStepAvailable && !PortableStepForced, ExtendedStep, PortableStep>;

inline constexpr const char* StepName = std::is_same_v<Step, ExtendedStep> ? "long double (x87)"
                                        : FastExactFma ? "portable (double, fma)"
                                                       : "portable (double, Dekker products)";

} // namespace Kalvoran
