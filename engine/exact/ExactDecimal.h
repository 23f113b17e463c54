#pragma once

#include "Rational.h"

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

    // An exact value's decimal digits, all of them; empty when it has no end (one third).
    [[nodiscard]] static std::optional<ExactDecimal> of(const Rational& value);

    // An exact value rounded to `significant` digits (at least 1), a tie to an even last digit.
    [[nodiscard]] static ExactDecimal nearest(const Rational& value, int significant);

    [[nodiscard]] Rational value() const;

    // The nearest value of at most `significant` digits (at least 1), a tie to the one whose last
    // digit is even, as the output rule rounds a double. A carry moves the exponent: 9,995 to three
    // digits is 10 (digits "1", exponent 1).
    [[nodiscard]] ExactDecimal rounded(int significant) const;

    friend bool operator==(const ExactDecimal&, const ExactDecimal&) = default;
};

} // namespace Kalvoran
