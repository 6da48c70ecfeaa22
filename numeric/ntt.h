// Exact convolution of limb sequences by number-theoretic transforms over
// three primes, the residues combined by the Chinese remainder theorem
// (internal to numeric/).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace calvoro::ntt {

// Three primes p = c * 2^k + 1 (k >= 23), each with primitive root 3. Their
// product, about 7.9e25, bounds the convolution coefficients that can be
// recovered: n * (base - 1)^2 must stay below it.
inline constexpr std::array<std::uint32_t, 3> kPrimes = {998244353u, 167772161u, 469762049u};

// The longest transform every prime supports (998244353 - 1 = 119 * 2^23).
inline constexpr std::size_t kMaxLength = std::size_t{1} << 23;

// The coefficients c[k] = sum over j of a[j] * b[k - j], k < a.size() +
// b.size() - 1 (at most kMaxLength), each below the product of the primes:
// c[k] = out[0][k] + p0 * (out[1][k] + 2^32 * out[2][k]). Inputs are below
// 2^30. `a` and `b` may be the same sequence (a square: one transform less).
void Convolve(std::span<const std::uint32_t> a, std::span<const std::uint32_t> b,
              std::array<std::vector<std::uint32_t>, 3>& out);

// The length of the transforms that Convolve runs for operands of na and nb
// values (the measure of its cost): the power of two above na + nb - 2, or
// for a length just above a power of two, that power's half and a shorter
// transform of the top values.
std::size_t TransformPoints(std::size_t na, std::size_t nb);

// Whether the transforms may use the processor's vector units (AVX2) when it
// has them. Tests switch them off to check the portable loops on the same
// machine.
void SetVectorUnitsAllowed(bool allowed);

}  // namespace calvoro::ntt
