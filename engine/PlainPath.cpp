#include "Expansion.h"
#include "PathFunctions.h"
#include "Step.h"

namespace Kalvoran {

const PathFunctions PlainPathFunctions = pathFunctions<PlainStep>();

} // namespace Kalvoran
