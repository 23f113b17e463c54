#pragma once

#include <boost/multiprecision/cpp_int.hpp>
#include <string>

// Exact numbers: integers of any size and fractions of them in lowest terms.
namespace Kalvoran {

using BigInteger = boost::multiprecision::cpp_int;
using Rational = boost::multiprecision::cpp_rational;

// 10 to the power `exponent`.
[[nodiscard]] BigInteger powerOfTen(unsigned exponent);

// integer × 10^exponent.
[[nodiscard]] Rational timesPowerOfTen(const BigInteger& integer, long long exponent);

// The decimal digits of an integer's magnitude; none for zero.
[[nodiscard]] std::string decimalDigits(const BigInteger& integer);

// The double nearest to the value, a tie to the one with an even last bit: an infinity beyond
// the double range, a zero where only zero is nearer than the smallest subnormal.
[[nodiscard]] double nearestDouble(const Rational& value);

} // namespace Kalvoran
