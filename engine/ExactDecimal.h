#pragma once

#include <optional>
#include <string>

namespace Kalvoran {

// A decimal number held exactly: zero, or the significant digits d.ddd… times 10^exponent with a
// sign. The digits start and end with a non-zero digit, so equal values compare equal.
struct ExactDecimal {
    bool negative = false;
    std::string digits; // empty for zero
    int exponent = 0;   // the power of ten of the first digit; 0 for zero

    [[nodiscard]] bool isZero() const noexcept { return digits.empty(); }

    // A finite double's decimal digits: with `significant` (1 to 17), that many, correctly rounded;
    // without, the fewest that read back as the same double. Either zero is zero.
    [[nodiscard]] static ExactDecimal of(double value, std::optional<int> significant = {});

    // The nearest value of at most `significant` digits (at least 1), a tie to the one whose last
    // digit is even, as the output rule rounds a double. A carry moves the exponent: 9,995 to three
    // digits is 10 (digits "1", exponent 1).
    [[nodiscard]] ExactDecimal rounded(int significant) const;

    friend bool operator==(const ExactDecimal&, const ExactDecimal&) = default;
};

} // namespace Kalvoran
