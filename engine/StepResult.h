#pragma once

namespace Kalvoran {

// Throws OverflowError; out of line, so that the steps' checks stay small enough to inline.
[[noreturn]] void throwOverflow();

} // namespace Kalvoran
