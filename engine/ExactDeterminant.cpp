#include "ExactDeterminant.h"

#include "Kalvoran.h"

#include <algorithm>
#include <boost/multiprecision/cpp_int.hpp>
#include <climits>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

namespace Kalvoran {
namespace {

using BigInteger = boost::multiprecision::cpp_int;

// An entry as an integer times a power of ten: the digits of its shortest round-trip text.
struct Scaled {
    std::int64_t mantissa = 0; // at most 17 digits
    int exponent = 0;          // of the last digit
};

Scaled shortestDecimal(double value)
{
    const ExactDecimal decimal = ExactDecimal::of(value);
    Scaled scaled;
    for (const char digit : decimal.digits)
        scaled.mantissa = scaled.mantissa * 10 + (digit - '0');
    if (decimal.negative)
        scaled.mantissa = -scaled.mantissa;
    // from the first digit's power to the last one's
    scaled.exponent = decimal.exponent - static_cast<int>(decimal.digits.size()) + 1;
    return scaled;
}

BigInteger powerOfTen(int exponent)
{
    BigInteger power = 1;
    BigInteger square = 10; // 10 to the power of the bit's value
    for (auto bits = static_cast<unsigned>(exponent); bits != 0; bits >>= 1U) {
        if ((bits & 1U) != 0)
            power *= square;
        square *= square;
    }
    return power;
}

// Bareiss's fraction-free elimination: every intermediate value is the determinant of a minor
// of the integer matrix, so each division is exact. Row exchanges bring a non-zero pivot.
BigInteger integerDeterminant(std::vector<std::vector<BigInteger>>& a)
{
    const std::size_t n = a.size();
    BigInteger previousPivot = 1;
    bool negate = false;
    for (std::size_t k = 0; k < n; ++k) {
        std::size_t pivot = k;
        while (pivot < n && a[pivot][k] == 0)
            ++pivot;
        if (pivot == n)
            return 0;
        if (pivot != k) {
            std::swap(a[pivot], a[k]);
            negate = !negate;
        }
        for (std::size_t i = k + 1; i < n; ++i) {
            for (std::size_t j = k + 1; j < n; ++j)
                a[i][j] = (a[i][j] * a[k][k] - a[i][k] * a[k][j]) / previousPivot;
        }
        previousPivot = a[k][k];
    }
    return negate ? -a[n - 1][n - 1] : a[n - 1][n - 1];
}

// The decimal digits of a positive integer, 18 at a time from the lowest.
std::string decimalDigits(BigInteger value)
{
    constexpr std::uint64_t chunk = 1'000'000'000'000'000'000;
    std::string digits;
    BigInteger quotient;
    BigInteger remainder;
    while (value != 0) {
        divide_qr(value, BigInteger(chunk), quotient, remainder);
        auto part = remainder.convert_to<std::uint64_t>();
        for (int i = 0; i < 18 && (quotient != 0 || part != 0); ++i) {
            digits += static_cast<char>('0' + part % 10);
            part /= 10;
        }
        value = quotient;
    }
    std::reverse(digits.begin(), digits.end());
    return digits;
}

ExactDecimal toDecimal(const BigInteger& value, int exponent)
{
    if (value == 0)
        return {};
    std::string digits = decimalDigits(value < 0 ? BigInteger(-value) : value);
    exponent += static_cast<int>(digits.size()) - 1;
    digits.erase(digits.find_last_not_of('0') + 1);
    return {value < 0, std::move(digits), exponent};
}

} // namespace

std::optional<ExactDecimal> ExactDeterminant(const Matrix& matrix)
{
    const int n = ProbeOrder(matrix);
    std::vector<std::vector<Scaled>> entries(static_cast<std::size_t>(n),
                                             std::vector<Scaled>(static_cast<std::size_t>(n)));
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            if (!std::isfinite(matrix(i, j)))
                return std::nullopt;
            entries[i][j] = shortestDecimal(matrix(i, j));
        }
    }

    // Each row, then each column, is divided by the largest power of ten that leaves its
    // entries integers; the determinant is that of the integers times all these powers.
    std::vector<int> rowScale(static_cast<std::size_t>(n), INT_MAX);
    std::vector<int> columnScale(static_cast<std::size_t>(n), INT_MAX);
    for (int i = 0; i < n; ++i)
        for (const Scaled& entry : entries[i])
            if (entry.mantissa != 0)
                rowScale[i] = std::min(rowScale[i], entry.exponent);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            if (entries[i][j].mantissa != 0)
                columnScale[j] = std::min(columnScale[j], entries[i][j].exponent - rowScale[i]);

    int exponent = 0;
    std::vector<std::vector<BigInteger>> integers(
        static_cast<std::size_t>(n), std::vector<BigInteger>(static_cast<std::size_t>(n)));
    for (int i = 0; i < n; ++i) {
        if (rowScale[i] == INT_MAX || columnScale[i] == INT_MAX)
            return ExactDecimal{}; // a row or a column of zeros
        exponent += rowScale[i] + columnScale[i];
        for (int j = 0; j < n; ++j) {
            const Scaled& entry = entries[i][j];
            if (entry.mantissa != 0)
                integers[i][j] =
                    entry.mantissa * powerOfTen(entry.exponent - rowScale[i] - columnScale[j]);
        }
    }
    return toDecimal(n == 0 ? BigInteger(1) : integerDeterminant(integers), exponent);
}

} // namespace Kalvoran
