#pragma once

#include <cstdint>
#include <optional>

// The highest index for a chosen order: order - 1, rounded to the nearest integer with halves
// going to the even neighbour. No value when the result does not fit a 16-bit signed integer.
[[nodiscard]] std::optional<std::int16_t> lastIndexForOrder(double order) noexcept;
