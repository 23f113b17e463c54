#include "ExactDeterminant.h"

#include "Modular.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace Kalvoran {

Rational ExactDeterminant(const ExactMatrix& matrix)
{
    const int n = matrix.order();
    if (n == 0)
        return 1;

    // Each row times the least common multiple of its denominators gives an integer matrix whose
    // determinant is `scale` times the one sought. Hadamard's bound, the product of the rows'
    // lengths, each below sqrt(n) < 4 times its largest entry, bounds that determinant by 2^bits.
    std::vector<BigInteger> integers(static_cast<std::size_t>(n) * static_cast<std::size_t>(n));
    BigInteger scale = 1;
    std::size_t bits = 0;
    for (int i = 0; i < n; ++i) {
        BigInteger multiple = 1;
        for (int j = 0; j < n; ++j) {
            const BigInteger& d = denominator(matrix(i, j));
            if (multiple % d != 0)
                multiple = lcm(multiple, d);
        }
        std::size_t widest = 0;
        bool zeros = true;
        for (int j = 0; j < n; ++j) {
            BigInteger& entry =
                integers[(static_cast<std::size_t>(i) * static_cast<std::size_t>(n)) +
                         static_cast<std::size_t>(j)];
            entry = numerator(matrix(i, j)) * (multiple / denominator(matrix(i, j)));
            if (entry != 0) {
                widest = std::max<std::size_t>(widest, msb(abs(entry)) + 1);
                zeros = false;
            }
        }
        if (zeros)
            return 0;
        bits += widest + 2;
        scale *= multiple;
    }

    // Residues modulo primes above 2^30 whose product exceeds twice the bound.
    const std::vector<std::uint32_t> primes = Modular::largestPrimes(bits / 30 + 2);
    std::vector<Modular::Digits16> digits;
    std::size_t longest = 0;
    for (const BigInteger& entry : integers) {
        digits.push_back(Modular::digits16(entry));
        longest = std::max(longest, digits.back().digits.size());
    }
    std::vector<std::uint32_t> residues;
    std::vector<std::uint32_t> weights(longest);
    std::vector<std::uint32_t> reduced(integers.size());
    for (const std::uint32_t prime : primes) {
        const Modular::Modulus modulus(prime);
        const std::uint32_t radix = modulus.reduce(1U << 16U);
        std::uint32_t weight = 1;
        for (std::uint32_t& w : weights) {
            w = weight;
            weight = modulus.multiply(weight, radix);
        }
        for (std::size_t k = 0; k < integers.size(); ++k)
            reduced[k] = Modular::residue(digits[k], weights, modulus);
        residues.push_back(Modular::determinant(reduced, n, modulus));
    }
    return {Modular::fromResidues(residues, primes), scale};
}

} // namespace Kalvoran
