#include "Modular.h"

#include <algorithm>
#include <iterator>
#include <mutex>
#include <utility>

namespace Kalvoran::Modular {
namespace {

// Deterministic for every n below 2^32 with these three bases.
bool isPrime(std::uint32_t n)
{
    if (n < 2 || n % 2 == 0)
        return n == 2;
    std::uint32_t odd = n - 1;
    int twos = 0;
    while (odd % 2 == 0) {
        odd /= 2;
        ++twos;
    }
    const auto power = [n](std::uint64_t base, std::uint32_t exponent) {
        std::uint64_t result = 1;
        for (base %= n; exponent != 0; exponent >>= 1U, base = base * base % n)
            if ((exponent & 1U) != 0)
                result = result * base % n;
        return result;
    };
    for (const std::uint32_t witness : {2U, 7U, 61U}) {
        if (witness % n == 0)
            continue;
        std::uint64_t x = power(witness, odd);
        if (x == 1 || x == n - 1)
            continue;
        bool composite = true;
        for (int i = 1; i < twos && composite; ++i) {
            x = x * x % n;
            composite = x != n - 1;
        }
        if (composite)
            return false;
    }
    return true;
}

} // namespace

Modulus::Modulus(std::uint32_t prime)
    : prime_(prime)
    , reciprocal_(1.0 / static_cast<double>(prime))
{
}

std::uint32_t Modulus::reduce(std::uint64_t x) const noexcept
{
    // The quotient from the reciprocal is off by at most one either way for x below 2^63, and
    // the remainder is mended by one step.
    const auto quotient = static_cast<std::uint64_t>(static_cast<double>(x) * reciprocal_);
    auto remainder = static_cast<std::int64_t>(x - quotient * prime_);
    if (remainder < 0)
        remainder += prime_;
    else if (remainder >= static_cast<std::int64_t>(prime_))
        remainder -= prime_;
    return static_cast<std::uint32_t>(remainder);
}

std::uint32_t Modulus::inverse(std::uint32_t a) const noexcept
{
    // Extended Euclid: a * s = r (mod p) holds for each pair.
    std::int64_t r0 = prime_;
    std::int64_t r1 = a;
    std::int64_t s0 = 0;
    std::int64_t s1 = 1;
    while (r1 != 0) {
        const std::int64_t q = r0 / r1;
        r0 = std::exchange(r1, r0 - q * r1);
        s0 = std::exchange(s1, s0 - q * s1);
    }
    return static_cast<std::uint32_t>(s0 < 0 ? s0 + prime_ : s0);
}

std::vector<std::uint32_t> largestPrimes(std::size_t count)
{
    // Found once, then shared by every determinant.
    static std::mutex guard;
    static std::vector<std::uint32_t> found;
    const std::scoped_lock lock(guard);
    for (std::uint32_t candidate = found.empty() ? 0x7FFFFFFFU : found.back() - 2;
         found.size() < count; candidate -= 2) {
        if (isPrime(candidate))
            found.push_back(candidate);
    }
    return {found.begin(), found.begin() + static_cast<std::ptrdiff_t>(count)};
}

Digits16 digits16(const BigInteger& value)
{
    Digits16 split{value < 0, {}};
    export_bits(BigInteger(abs(value)), std::back_inserter(split.digits), 16, false);
    return split;
}

std::uint32_t residue(const Digits16& value, const std::vector<std::uint32_t>& weights,
                      const Modulus& modulus)
{
    // Each product is below 2^47, so 2^15 of them add up without overflow.
    constexpr std::size_t run = 1U << 15U;
    std::uint64_t sum = 0;
    for (std::size_t start = 0; start < value.digits.size(); start += run) {
        const std::size_t end = std::min(start + run, value.digits.size());
        std::uint64_t part = 0;
        for (std::size_t k = start; k < end; ++k)
            part += static_cast<std::uint64_t>(value.digits[k]) * weights[k];
        sum = modulus.reduce(sum + modulus.reduce(part));
    }
    const auto r = static_cast<std::uint32_t>(sum);
    return value.negative && r != 0 ? modulus.prime() - r : r;
}

std::uint32_t determinant(std::vector<std::uint32_t>& matrix, int n, const Modulus& modulus)
{
    const std::uint32_t p = modulus.prime();
    const auto at = [&matrix, n](int row, int column) -> std::uint32_t& {
        return matrix[(static_cast<std::size_t>(row) * static_cast<std::size_t>(n)) +
                      static_cast<std::size_t>(column)];
    };
    std::uint32_t result = 1;
    for (int k = 0; k < n; ++k) {
        int pivot = k;
        while (pivot < n && at(pivot, k) == 0)
            ++pivot;
        if (pivot == n)
            return 0;
        if (pivot != k) {
            for (int j = k; j < n; ++j)
                std::swap(at(pivot, j), at(k, j));
            result = p - result;
        }
        result = modulus.multiply(result, at(k, k));
        const std::uint32_t inverse = modulus.inverse(at(k, k));
        for (int i = k + 1; i < n; ++i) {
            const std::uint32_t factor = modulus.multiply(at(i, k), inverse);
            if (factor == 0)
                continue;
            const std::uint64_t minus = p - factor;
            for (int j = k + 1; j < n; ++j)
                at(i, j) = modulus.reduce(at(i, j) + minus * at(k, j));
        }
    }
    return result;
}

BigInteger fromResidues(const std::vector<std::uint32_t>& residues,
                        const std::vector<std::uint32_t>& primes)
{
    // Garner: x = v0 + p0 (v1 + p1 (v2 + ...)) with each mixed-radix digit v below its prime.
    const std::size_t count = primes.size();
    std::vector<std::uint32_t> v(count);
    for (std::size_t i = 0; i < count; ++i) {
        const Modulus modulus(primes[i]);
        std::uint32_t sum = 0;    // v0 + v1 p0 + ... + v(i-1) p0 ... p(i-2), mod p(i)
        std::uint32_t prefix = 1; // p0 ... p(i-1), mod p(i)
        for (std::size_t j = 0; j < i; ++j) {
            sum = modulus.reduce(sum + static_cast<std::uint64_t>(v[j]) * prefix);
            prefix = modulus.reduce(static_cast<std::uint64_t>(prefix) * primes[j]);
        }
        const std::uint32_t difference =
            modulus.reduce(std::uint64_t{residues[i]} + primes[i] - sum);
        v[i] = modulus.multiply(difference, modulus.inverse(prefix));
    }
    BigInteger x = 0;
    BigInteger product = 1;
    for (std::size_t i = count; i-- > 0;) {
        x *= primes[i];
        x += v[i];
        product *= primes[i];
    }
    // The residues name x modulo the product; the value of smallest magnitude is the one meant.
    if (x > product / 2)
        x -= product;
    return x;
}

} // namespace Kalvoran::Modular
