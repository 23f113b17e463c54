#pragma once

#include "Rational.h"

#include <cstdint>
#include <vector>

// Arithmetic modulo primes below 2^31, for the determinant of an integer matrix by its residues.
namespace Kalvoran::Modular {

// A prime modulus, with the reciprocal that reduces a product without a division.
class Modulus {
public:
    explicit Modulus(std::uint32_t prime);

    [[nodiscard]] std::uint32_t prime() const noexcept { return prime_; }
    // x mod p for any x below 2^63.
    [[nodiscard]] std::uint32_t reduce(std::uint64_t x) const noexcept;
    [[nodiscard]] std::uint32_t multiply(std::uint32_t a, std::uint32_t b) const noexcept
    {
        return reduce(static_cast<std::uint64_t>(a) * b);
    }
    // The inverse of a value that is not 0 mod p.
    [[nodiscard]] std::uint32_t inverse(std::uint32_t a) const noexcept;

private:
    std::uint32_t prime_;
    double reciprocal_;
};

// The `count` largest primes below 2^31, largest first.
[[nodiscard]] std::vector<std::uint32_t> largestPrimes(std::size_t count);

// An integer split into 16-bit digits, lowest first, and its sign, so that its residue modulo
// any prime is a sum of products without divisions.
struct Digits16 {
    bool negative = false;
    std::vector<std::uint16_t> digits;
};
[[nodiscard]] Digits16 digits16(const BigInteger& value);

// The residue of an integer: the weights are 2^(16 k) mod p for at least as many k as it has
// digits.
[[nodiscard]] std::uint32_t
residue(const Digits16& value, const std::vector<std::uint32_t>& weights, const Modulus& modulus);

// The determinant modulo p of an n x n matrix of residues, row-major; destroys the matrix.
[[nodiscard]] std::uint32_t determinant(std::vector<std::uint32_t>& matrix, int n,
                                        const Modulus& modulus);

// The integer of smallest magnitude with the given residues modulo the given primes (distinct,
// their product more than twice the magnitude).
[[nodiscard]] BigInteger fromResidues(const std::vector<std::uint32_t>& residues,
                                      const std::vector<std::uint32_t>& primes);

} // namespace Kalvoran::Modular
