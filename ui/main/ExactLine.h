#pragma once

#include "NumberText.h"
#include "Rational.h"

#include <QString>

// The line under a result that gives the exact determinant of the numbers as typed.
struct ExactLine {
    bool shown = false;       // the result's own digits do not say it
    bool approximate = false; // "≈": rounded to the output rule's 15 digits
    QString number;           // as shown
    QString copied;           // the whole value: every digit, or the whole fraction

    // The line under a result whose number text is `resultNumber` (empty after an overflow). A
    // value that ends as a decimal shows where its 15-digit text differs from the result's; one
    // that does not end always shows, as a fraction in lowest terms where numerator and
    // denominator have 15 digits at most, else rounded to 15 digits.
    [[nodiscard]] static ExactLine of(const Kalvoran::Rational& exact, const QString& resultNumber,
                                      const NumberText::Separators& separators);
};
