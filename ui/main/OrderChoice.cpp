#include "OrderChoice.h"

#include <cmath>
#include <limits>

std::optional<std::int16_t> lastIndexForOrder(double order) noexcept
{
    // The program never changes the rounding mode, so nearbyint rounds half to even.
    const double rounded = std::nearbyint(order - 1.0);
    if (!(rounded >= std::numeric_limits<std::int16_t>::min() &&
          rounded <= std::numeric_limits<std::int16_t>::max()))
        return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}
