// Built for a processor with fma (x86-64: -mfma or /arch:AVX2); called only where StepChoice.cpp
// finds one. Everything it compiles is an instantiation for FmaStep.
#include "Expansion.h"
#include "PathFunctions.h"
#include "Step.h"

namespace Kalvoran {

static_assert(FastExactFma, "FmaPath.cpp must be built for a processor with fma");

const PathFunctions FmaPathFunctions = pathFunctions<FmaStep>();

} // namespace Kalvoran
