#include "StepResult.h"

#include "Kalvoran.h"

namespace Kalvoran {

void throwOverflow()
{
    throw OverflowError();
}

} // namespace Kalvoran
