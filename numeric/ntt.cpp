// Number-theoretic transforms in Montgomery arithmetic modulo 32-bit primes.
#include "numeric/ntt.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <memory>
#include <mutex>

#if defined(__x86_64__)
#include <immintrin.h>
// glibc's header declares _Bool, which only GCC accepts in C++.
#if __has_include(<sys/platform/x86.h>) && !defined(__clang__)
#include <sys/platform/x86.h>
#endif
#endif

#include "numeric/stop.h"

namespace calvoro::ntt {
namespace {

std::atomic<bool> vector_units_allowed{true};

bool HasAvx2() {
#if defined(__x86_64__)
#if defined(CPU_FEATURE_ACTIVE)
  // glibc's answer, read when it started; GCC's own probe would run cpuid
  // again in a constructor of every process, calculation or not.
  static const bool has = CPU_FEATURE_ACTIVE(AVX2);
#else
  static const bool has = __builtin_cpu_supports("avx2");
#endif
  return has && vector_units_allowed.load(std::memory_order_relaxed);
#else
  return false;
#endif
}

// Runs a loop body compiled for AVX2 when the processor has it (and vector
// units are allowed), the portable build of it otherwise. The body is a
// lambda marked always_inline, so each caller's loop is compiled once for
// each target and the compiler vectorises it with that target's registers.
#if defined(__x86_64__)
template <class Body>
[[gnu::target("avx2")]] void RunWithAvx2(const Body& body) {
  body();
}
#endif

template <class Body>
void RunVectorised(const Body& body) {
#if defined(__x86_64__)
  if (HasAvx2()) return RunWithAvx2(body);
#endif
  body();
}

// Arithmetic modulo P < 2^30 with values kept in Montgomery form x * 2^32 mod
// P. A product of two residues is below P^2 < 2^32 * P, so reduce() sees at
// most 2^32 * P + (2^32 - 1) * P < 2^63 and returns a value below 2P, one
// conditional subtraction from the residue.
template <std::uint32_t P>
struct Field {
  static constexpr std::uint32_t NegInverse() {
    std::uint32_t inv = P;  // P * P = 1 mod 8; each step doubles the correct bits
    for (int i = 0; i < 5; ++i) inv *= 2u - P * inv;
    return 0u - inv;
  }
  static constexpr std::uint32_t kNegInv = NegInverse();
  static constexpr std::uint32_t kR2 = static_cast<std::uint32_t>((0 - std::uint64_t{P}) % P);

  static std::uint32_t Reduce(std::uint64_t t) {
    const std::uint32_t m = static_cast<std::uint32_t>(t) * kNegInv;
    const auto u = static_cast<std::uint32_t>((t + std::uint64_t{m} * P) >> 32);
    return std::min(u, u - P);  // u < 2P; the unsigned wrap makes min pick u - P
  }
  static std::uint32_t Mul(std::uint32_t a, std::uint32_t b) {
    return Reduce(std::uint64_t{a} * b);
  }
  static std::uint32_t Add(std::uint32_t a, std::uint32_t b) {
    const std::uint32_t s = a + b;
    return s >= P ? s - P : s;
  }
  static std::uint32_t Sub(std::uint32_t a, std::uint32_t b) { return a >= b ? a - b : a + P - b; }
  // Any value below 2^32 into Montgomery form.
  static std::uint32_t ToMont(std::uint32_t a) { return Reduce(std::uint64_t{a} * kR2); }
  static std::uint32_t Power(std::uint32_t base_mont, std::uint64_t e) {
    std::uint32_t result = ToMont(1);
    while (e != 0) {
      if (e & 1) result = Mul(result, base_mont);
      base_mont = Mul(base_mont, base_mont);
      e >>= 1;
    }
    return result;
  }

  // roots[len + j] = w^j for the primitive (2 len)-th root w, len = 1, 2, 4,
  // ..., n / 2. The top level is computed in eight interleaved chains
  // (w^(j + 8) = w^j w^8); every lower level is every other entry of the
  // level above it.
  static std::vector<std::uint32_t> BuildRoots(std::size_t n) {
    std::vector<std::uint32_t> roots(std::max<std::size_t>(n, 2));
    const std::size_t top = roots.size() / 2;
    const std::uint32_t w = Power(ToMont(3), (P - 1) / (2 * top));
    std::uint32_t* level = &roots[top];
    level[0] = ToMont(1);
    for (std::size_t j = 1; j < top && j < 8; ++j) level[j] = Mul(level[j - 1], w);
    const std::uint32_t w8 = Power(w, 8);
    for (std::size_t j = 8; j < top; ++j) level[j] = Mul(level[j - 8], w8);
    for (std::size_t len = top / 2; len >= 1; len /= 2) {
      for (std::size_t j = 0; j < len; ++j) roots[len + j] = roots[2 * len + 2 * j];
    }
    return roots;
  }

  // The root table for a transform of length n. An entry does not depend on
  // the length, so one table serves every shorter transform: a table of up
  // to kCachedRoots entries is kept per prime (behind a lock:
  // the engine may run on more than one thread) and rebuilt when a longer
  // transform asks; longer ones are built for the call and freed with it.
  static constexpr std::size_t kCachedRoots = std::size_t{1} << 16;
  static std::shared_ptr<const std::vector<std::uint32_t>> Roots(std::size_t n) {
    if (n > kCachedRoots) return std::make_shared<const std::vector<std::uint32_t>>(BuildRoots(n));
    static std::mutex mutex;
    static std::shared_ptr<const std::vector<std::uint32_t>> table;
    std::lock_guard<std::mutex> lock(mutex);
    if (!table || table->size() < n) {
      table = std::make_shared<const std::vector<std::uint32_t>>(BuildRoots(n));
    }
    return table;
  }

  // The butterflies reduce lazily (Harvey): values stay in [0, 2P). A
  // product of a value below 4P and a root below P is below 4P^2 < 2^32 P
  // (P < 2^30), and its reduction without the last subtraction is below 2P.
  static std::uint32_t ReduceLazy(std::uint64_t t) {
    const std::uint32_t m = static_cast<std::uint32_t>(t) * kNegInv;
    return static_cast<std::uint32_t>((t + std::uint64_t{m} * P) >> 32);
  }
  // A value below 4P brought below 2P.
  static std::uint32_t Fold(std::uint32_t x) { return std::min(x, x - 2 * P); }

  // Decimation in frequency: natural order in, bit-reversed order out.
  static void ForwardPortable(std::vector<std::uint32_t>& a,
                              const std::vector<std::uint32_t>& roots, std::size_t first_len) {
    const std::size_t n = a.size();
    for (std::size_t len = first_len; len >= 1; len >>= 1) {
      for (std::size_t i = 0; i < n; i += 2 * len) {
        std::uint32_t* __restrict x = &a[i];
        std::uint32_t* __restrict y = &a[i + len];
        const std::uint32_t* __restrict w = &roots[len];
        for (std::size_t j = 0; j < len; ++j) {
          const std::uint32_t u = x[j], v = y[j];
          x[j] = Fold(u + v);
          y[j] = ReduceLazy(std::uint64_t{u - v + 2 * P} * w[j]);
        }
      }
    }
  }

  // Decimation in time with the roots it is given: bit-reversed order in,
  // natural order out (not yet divided by n).
  static void InversePortable(std::vector<std::uint32_t>& a,
                              const std::vector<std::uint32_t>& roots) {
    const std::size_t n = a.size();
    for (std::size_t len = 1; len < n; len <<= 1) {
      for (std::size_t i = 0; i < n; i += 2 * len) {
        std::uint32_t* __restrict x = &a[i];
        std::uint32_t* __restrict y = &a[i + len];
        const std::uint32_t* __restrict w = &roots[len];
        for (std::size_t j = 0; j < len; ++j) {
          const std::uint32_t u = x[j];
          const std::uint32_t v = ReduceLazy(std::uint64_t{y[j]} * w[j]);
          x[j] = Fold(u + v);
          y[j] = Fold(u - v + 2 * P);
        }
      }
    }
  }

#if defined(__x86_64__)
  // The same butterflies eight at a time in AVX2. A Montgomery product of
  // eight lanes: vpmuludq multiplies the even 32-bit lanes into 64-bit
  // products, so even and odd lanes are reduced separately and the high
  // halves blended back together.
  [[gnu::target("avx2")]] static __m256i MulLazy8(__m256i a, __m256i b) {
    const __m256i neg_inv = _mm256_set1_epi32(static_cast<int>(kNegInv));
    const __m256i p = _mm256_set1_epi32(static_cast<int>(P));
    const __m256i even = _mm256_mul_epu32(a, b);
    const __m256i odd = _mm256_mul_epu32(_mm256_srli_epi64(a, 32), _mm256_srli_epi64(b, 32));
    const __m256i even_m = _mm256_mul_epu32(even, neg_inv);
    const __m256i odd_m = _mm256_mul_epu32(odd, neg_inv);
    const __m256i even_t = _mm256_add_epi64(even, _mm256_mul_epu32(even_m, p));
    const __m256i odd_t = _mm256_add_epi64(odd, _mm256_mul_epu32(odd_m, p));
    return _mm256_blend_epi32(_mm256_srli_epi64(even_t, 32), odd_t, 0xAA);
  }
  [[gnu::target("avx2")]] static __m256i Fold8(__m256i x) {
    return _mm256_min_epu32(x, _mm256_sub_epi32(x, _mm256_set1_epi32(static_cast<int>(2 * P))));
  }
  [[gnu::target("avx2")]] static void ForwardButterflies8(__m256i& x, __m256i& y, __m256i w) {
    const __m256i two_p = _mm256_set1_epi32(static_cast<int>(2 * P));
    const __m256i u = x;
    x = Fold8(_mm256_add_epi32(u, y));
    y = MulLazy8(_mm256_add_epi32(_mm256_sub_epi32(u, y), two_p), w);
  }
  [[gnu::target("avx2")]] static void InverseButterflies8(__m256i& x, __m256i& y, __m256i w) {
    const __m256i two_p = _mm256_set1_epi32(static_cast<int>(2 * P));
    const __m256i v = MulLazy8(y, w);
    y = Fold8(_mm256_add_epi32(_mm256_sub_epi32(x, v), two_p));
    x = Fold8(_mm256_add_epi32(x, v));
  }

  // Levels with len >= 8 work on whole vectors; len = 4 pairs two blocks so
  // that one vector holds the four x of both and another their four y;
  // len = 2 and 1 are scalar (their roots are 1 and one fourth root).
  [[gnu::target("avx2")]] static void ForwardAvx2(std::vector<std::uint32_t>& a,
                                                  const std::vector<std::uint32_t>& roots,
                                                  std::size_t first_len) {
    const std::size_t n = a.size();
    std::uint32_t* d = a.data();
    std::size_t len = first_len;
    for (; len >= 8; len >>= 1) {
      for (std::size_t i = 0; i < n; i += 2 * len) {
        for (std::size_t j = 0; j < len; j += 8) {
          auto* px = reinterpret_cast<__m256i*>(d + i + j);
          auto* py = reinterpret_cast<__m256i*>(d + i + j + len);
          __m256i x = _mm256_loadu_si256(px), y = _mm256_loadu_si256(py);
          ForwardButterflies8(
              x, y, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(&roots[len + j])));
          _mm256_storeu_si256(px, x);
          _mm256_storeu_si256(py, y);
        }
      }
    }
    if (len == 4 && n >= 16) {
      const __m256i w =
          _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(&roots[4])));
      for (std::size_t i = 0; i < n; i += 16) {
        auto* p0 = reinterpret_cast<__m256i*>(d + i);
        auto* p1 = reinterpret_cast<__m256i*>(d + i + 8);
        const __m256i a0 = _mm256_loadu_si256(p0), a1 = _mm256_loadu_si256(p1);
        __m256i x = _mm256_permute2x128_si256(a0, a1, 0x20);
        __m256i y = _mm256_permute2x128_si256(a0, a1, 0x31);
        ForwardButterflies8(x, y, w);
        _mm256_storeu_si256(p0, _mm256_permute2x128_si256(x, y, 0x20));
        _mm256_storeu_si256(p1, _mm256_permute2x128_si256(x, y, 0x31));
      }
      len = 2;
    }
    if (len == 2 && n >= 16) return LastTwoLevels8(a, roots, false);
    SmallForwardLevels(a, roots, len);
  }

  // The levels len = 2 and len = 1 on blocks of sixteen values, in
  // registers: forward does len 2 and then 1, inverse 1 and then 2. The
  // values are dealt into two vectors so that each butterfly pairs lane i of
  // one with lane i of the other: "pairs" holds [a0 a1 b0 b1 | a4 a5 b4 b5]
  // against [a2 a3 b2 b3 | a6 a7 b6 b7] (len 2, roots w0 w1 alternating;
  // a = values 0..7, b = 8..15), "evens" [a0 b0 a2 b2 | a4 b4 a6 b6] against
  // the odd places (len 1, root w0).
  [[gnu::target("avx2")]] static __m256i Evens8(__m256i u, __m256i v) {
    return _mm256_castps_si256(
        _mm256_shuffle_ps(_mm256_castsi256_ps(u), _mm256_castsi256_ps(v), _MM_SHUFFLE(2, 0, 2, 0)));
  }
  [[gnu::target("avx2")]] static __m256i Odds8(__m256i u, __m256i v) {
    return _mm256_castps_si256(
        _mm256_shuffle_ps(_mm256_castsi256_ps(u), _mm256_castsi256_ps(v), _MM_SHUFFLE(3, 1, 3, 1)));
  }
  [[gnu::target("avx2")]] static void LastTwoLevels8(std::vector<std::uint32_t>& a,
                                                     const std::vector<std::uint32_t>& roots,
                                                     bool inverse) {
    const __m256i w2 = _mm256_set_epi32(static_cast<int>(roots[3]), static_cast<int>(roots[2]),
                                        static_cast<int>(roots[3]), static_cast<int>(roots[2]),
                                        static_cast<int>(roots[3]), static_cast<int>(roots[2]),
                                        static_cast<int>(roots[3]), static_cast<int>(roots[2]));
    const __m256i w1 = _mm256_set1_epi32(static_cast<int>(roots[1]));
    std::uint32_t* d = a.data();
    for (std::size_t i = 0; i < a.size(); i += 16) {
      auto* p0 = reinterpret_cast<__m256i*>(d + i);
      auto* p1 = reinterpret_cast<__m256i*>(d + i + 8);
      const __m256i x0 = _mm256_loadu_si256(p0), x1 = _mm256_loadu_si256(p1);
      __m256i u = _mm256_unpacklo_epi64(x0, x1), v = _mm256_unpackhi_epi64(x0, x1);
      if (inverse) {
        __m256i e = Evens8(u, v), o = Odds8(u, v);
        InverseButterflies8(e, o, w1);
        u = _mm256_unpacklo_epi32(e, o);
        v = _mm256_unpackhi_epi32(e, o);
        InverseButterflies8(u, v, w2);
      } else {
        ForwardButterflies8(u, v, w2);
        __m256i e = Evens8(u, v), o = Odds8(u, v);
        ForwardButterflies8(e, o, w1);
        u = _mm256_unpacklo_epi32(e, o);
        v = _mm256_unpackhi_epi32(e, o);
      }
      _mm256_storeu_si256(p0, _mm256_unpacklo_epi64(u, v));
      _mm256_storeu_si256(p1, _mm256_unpackhi_epi64(u, v));
    }
  }

  [[gnu::target("avx2")]] static void InverseAvx2(std::vector<std::uint32_t>& a,
                                                  const std::vector<std::uint32_t>& roots) {
    const std::size_t n = a.size();
    std::uint32_t* d = a.data();
    std::size_t len = 4;
    if (n >= 16) {
      LastTwoLevels8(a, roots, true);
    } else {
      len = SmallInverseLevels(a, roots);
    }
    if (len == 4 && n >= 16) {
      const __m256i w =
          _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(&roots[4])));
      for (std::size_t i = 0; i < n; i += 16) {
        auto* p0 = reinterpret_cast<__m256i*>(d + i);
        auto* p1 = reinterpret_cast<__m256i*>(d + i + 8);
        const __m256i a0 = _mm256_loadu_si256(p0), a1 = _mm256_loadu_si256(p1);
        __m256i x = _mm256_permute2x128_si256(a0, a1, 0x20);
        __m256i y = _mm256_permute2x128_si256(a0, a1, 0x31);
        InverseButterflies8(x, y, w);
        _mm256_storeu_si256(p0, _mm256_permute2x128_si256(x, y, 0x20));
        _mm256_storeu_si256(p1, _mm256_permute2x128_si256(x, y, 0x31));
      }
      len = 8;
    }
    for (; len >= 8 && len < n; len <<= 1) {
      for (std::size_t i = 0; i < n; i += 2 * len) {
        for (std::size_t j = 0; j < len; j += 8) {
          auto* px = reinterpret_cast<__m256i*>(d + i + j);
          auto* py = reinterpret_cast<__m256i*>(d + i + j + len);
          __m256i x = _mm256_loadu_si256(px), y = _mm256_loadu_si256(py);
          InverseButterflies8(
              x, y, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(&roots[len + j])));
          _mm256_storeu_si256(px, x);
          _mm256_storeu_si256(py, y);
        }
      }
    }
    // Lengths below 16 left levels from len on to the portable loop.
    for (; len < n; len <<= 1) InverseLevel(a, roots, len);
  }
#endif

  // The forward levels len, len / 2, ..., 1 (len <= 2 here, or any len for
  // short transforms), scalar.
  static void SmallForwardLevels(std::vector<std::uint32_t>& a,
                                 const std::vector<std::uint32_t>& roots, std::size_t len) {
    for (; len >= 1; len >>= 1) ForwardLevel(a, roots, len);
  }

  // The inverse levels 1 and 2 (those below 4); returns the next len.
  static std::size_t SmallInverseLevels(std::vector<std::uint32_t>& a,
                                        const std::vector<std::uint32_t>& roots) {
    std::size_t len = 1;
    for (; len < a.size() && len < 4; len <<= 1) InverseLevel(a, roots, len);
    return len;
  }

  static void ForwardLevel(std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& roots,
                           std::size_t len) {
    const std::size_t n = a.size();
    for (std::size_t i = 0; i < n; i += 2 * len) {
      for (std::size_t j = 0; j < len; ++j) {
        const std::uint32_t u = a[i + j], v = a[i + j + len];
        a[i + j] = Fold(u + v);
        a[i + j + len] = ReduceLazy(std::uint64_t{u - v + 2 * P} * roots[len + j]);
      }
    }
  }

  static void InverseLevel(std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& roots,
                           std::size_t len) {
    const std::size_t n = a.size();
    for (std::size_t i = 0; i < n; i += 2 * len) {
      for (std::size_t j = 0; j < len; ++j) {
        const std::uint32_t u = a[i + j];
        const std::uint32_t v = ReduceLazy(std::uint64_t{a[i + j + len]} * roots[len + j]);
        a[i + j] = Fold(u + v);
        a[i + j + len] = Fold(u - v + 2 * P);
      }
    }
  }

  // The forward transform from the level of half-length first_len down.
  static void Forward(std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& roots,
                      std::size_t first_len) {
#if defined(__x86_64__)
    if (HasAvx2()) return ForwardAvx2(a, roots, first_len);
#endif
    ForwardPortable(a, roots, first_len);
  }

  static void Inverse(std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& roots) {
#if defined(__x86_64__)
    if (HasAvx2()) return InverseAvx2(a, roots);
#endif
    InversePortable(a, roots);
  }

  static void SquarePointwise(std::vector<std::uint32_t>& a) {
    RunVectorised([&]() __attribute__((always_inline)) {
      for (std::uint32_t& x : a) x = ReduceLazy(std::uint64_t{x} * x);
    });
  }

  static void MultiplyPointwise(std::vector<std::uint32_t>& a,
                                const std::vector<std::uint32_t>& b) {
    RunVectorised([&]() __attribute__((always_inline)) {
      std::uint32_t* __restrict x = a.data();
      const std::uint32_t* __restrict y = b.data();
      for (std::size_t i = 0; i < a.size(); ++i) x[i] = ReduceLazy(std::uint64_t{x[i]} * y[i]);
    });
  }

  // The input in Montgomery form, zero-padded to n, and the forward
  // transform of it. When the input fills at most the lower half, the first
  // level's butterflies (u, 0) -> (u, u w) are done while loading.
  static void LoadAndTransform(std::span<const std::uint32_t> in, std::vector<std::uint32_t>& out,
                               std::size_t n, const std::vector<std::uint32_t>& roots) {
    out.assign(n, 0);
    if (n >= 2 && in.size() <= n / 2) {
      LoadFirstLevel(in, out, roots);
      Forward(out, roots, n >> 2);
    } else {
      Load(in, out);
      Forward(out, roots, n >> 1);
    }
  }

  static void Load(std::span<const std::uint32_t> in, std::vector<std::uint32_t>& out) {
    RunVectorised([&]() __attribute__((always_inline)) {
      std::uint32_t* __restrict o = out.data();
      const std::uint32_t* __restrict x = in.data();
      for (std::size_t i = 0; i < in.size(); ++i) o[i] = ReduceLazy(std::uint64_t{x[i]} * kR2);
    });
  }

  // Both results of a butterfly stay below 2P: u < 2P and u w reduced lazily.
  static void LoadFirstLevel(std::span<const std::uint32_t> in, std::vector<std::uint32_t>& out,
                             const std::vector<std::uint32_t>& roots) {
    RunVectorised([&]() __attribute__((always_inline)) {
      const std::size_t half = out.size() / 2;
      std::uint32_t* __restrict lower = out.data();
      std::uint32_t* __restrict upper = out.data() + half;
      const std::uint32_t* __restrict x = in.data();
      const std::uint32_t* __restrict w = roots.data() + half;
      for (std::size_t i = 0; i < in.size(); ++i) {
        const std::uint32_t u = ReduceLazy(std::uint64_t{x[i]} * kR2);
        lower[i] = u;
        upper[i] = ReduceLazy(std::uint64_t{u} * w[i]);
      }
    });
  }

  // The cyclic convolution modulo P of length n (a power of two no shorter
  // than either operand) into `result`: result[k] sums a[i] b[j] over i + j
  // = k modulo n. `scratch` is reused between the primes.
  static void Convolve(std::span<const std::uint32_t> a, std::span<const std::uint32_t> b,
                       std::size_t n, std::vector<std::uint32_t>& result,
                       std::vector<std::uint32_t>& scratch) {
    const bool square = a.data() == b.data() && a.size() == b.size();
    const auto roots_holder = Roots(n);
    const std::vector<std::uint32_t>& roots = *roots_holder;
    LoadAndTransform(a, result, n, roots);
    if (square) {
      SquarePointwise(result);
    } else {
      LoadAndTransform(b, scratch, n, roots);
      MultiplyPointwise(result, scratch);
    }
    // The inverse butterflies with the forward roots give the transform at
    // -k in place k (w^(jk) for w^(-jk)): turning the order round takes no
    // table of inverse roots.
    Inverse(result, roots);
    std::reverse(result.begin() + 1, result.end());
    // Mul by the plain value of 1/n turns the Montgomery form into the plain
    // residue and divides by n in one step.
    const std::uint32_t n_inverse = Reduce(Power(ToMont(static_cast<std::uint32_t>(n % P)), P - 2));
    Scale(result, n_inverse);
  }

  // Removes the top coefficients c[k], k in [n, n + top.size()), that the
  // cyclic convolution of length n added onto c[k - n], and appends them.
  static void Unfold(std::vector<std::uint32_t>& result, std::size_t n,
                     std::span<const std::uint32_t> top) {
    result.resize(n + top.size());
    for (std::size_t k = 0; k < top.size(); ++k) {
      result[k] = Sub(result[k], top[k]);
      result[n + k] = top[k];
    }
  }

  static void Scale(std::vector<std::uint32_t>& a, std::uint32_t factor) {
    RunVectorised([&]() __attribute__((always_inline)) {
      std::uint32_t* __restrict x = a.data();
      for (std::size_t i = 0; i < a.size(); ++i) x[i] = Mul(x[i], factor);
    });
  }
};

// Garner's mixed-radix form of each coefficient c = x0 + p0 (x1 + p1 x2)
// with x0 = c mod p0, x1 = (c - x0) / p0 mod p1, x2 = ((c - x0) / p0 - x1) /
// p1 mod p2; the products by the inverses are Montgomery products with
// constants stored in Montgomery form, so each is a plain residue. t = x1 +
// p1 x2 < p1 p2 < 2^57 is stored as two 32-bit halves in place of the
// residues modulo p1 and p2.
void CombineResidues(std::array<std::vector<std::uint32_t>, 3>& residues) {
  using F1 = Field<kPrimes[1]>;
  using F2 = Field<kPrimes[2]>;
  constexpr std::uint32_t p0 = kPrimes[0], p1 = kPrimes[1], p2 = kPrimes[2];
  const std::uint32_t inv_p0_mod_p1 =
      F1::ToMont(F1::Reduce(F1::Power(F1::ToMont(p0 % p1), p1 - 2)));
  const std::uint32_t p0_mod_p2 = F2::ToMont(p0 % p2);
  const std::uint32_t p0p1_mod_p2 = static_cast<std::uint32_t>(std::uint64_t{p0 % p2} * p1 % p2);
  const std::uint32_t inv_p0p1_mod_p2 =
      F2::ToMont(F2::Reduce(F2::Power(F2::ToMont(p0p1_mod_p2), p2 - 2)));
  std::uint32_t* r0 = residues[0].data();
  std::uint32_t* r1 = residues[1].data();
  std::uint32_t* r2 = residues[2].data();
  for (std::size_t k = 0; k < residues[0].size(); ++k) {
    const std::uint32_t x0 = r0[k];
    const std::uint32_t x0_mod_p1 = x0 % p1;
    const std::uint32_t x1 =
        F1::Mul(r1[k] >= x0_mod_p1 ? r1[k] - x0_mod_p1 : r1[k] + p1 - x0_mod_p1, inv_p0_mod_p1);
    const std::uint32_t x0_mod_p2 = x0 % p2;
    const std::uint32_t low = F2::Add(x0_mod_p2, F2::Mul(x1, p0_mod_p2));
    const std::uint32_t x2 = F2::Mul(F2::Sub(r2[k], low), inv_p0p1_mod_p2);
    const std::uint64_t t = x1 + std::uint64_t{p1} * x2;
    r1[k] = static_cast<std::uint32_t>(t);
    r2[k] = static_cast<std::uint32_t>(t >> 32);
  }
}

using Residues = std::array<std::vector<std::uint32_t>, 3>;

// The coefficients modulo each prime (not yet combined).
//
// A count a little above a power of two would double the transforms'
// length. Instead the cyclic convolution of half that length folds the top
// coefficients (k >= half) onto the lowest ones; those top coefficients need
// only the top `excess` values of each operand, whose own (much shorter)
// convolution gives them exactly, and they are taken off again: with
// excess <= half / 4 the two cost at most three quarters of the long one.
bool FoldsTheTop(std::size_t na, std::size_t nb) {
  const std::size_t count = na + nb - 1;
  const std::size_t half = std::bit_ceil(count) / 2;
  return half >= 64 && count - half <= half / 4 && na <= half && nb <= half;
}

void ConvolveResidues(std::span<const std::uint32_t> a, std::span<const std::uint32_t> b,
                      Residues& residues) {
  const std::size_t count = a.size() + b.size() - 1;
  const std::size_t n = std::bit_ceil(count);
  const std::size_t half = n / 2;
  std::vector<std::uint32_t> scratch;
  ThrowIfStopped();
  if (FoldsTheTop(a.size(), b.size())) {
    const std::size_t excess = count - half;
    Field<kPrimes[0]>::Convolve(a, b, half, residues[0], scratch);
    Field<kPrimes[1]>::Convolve(a, b, half, residues[1], scratch);
    Field<kPrimes[2]>::Convolve(a, b, half, residues[2], scratch);
    // c[k] for k >= half takes a[i] with i >= na - excess and b[j] with j >=
    // nb - excess only.
    const std::size_t skip_a = a.size() > excess ? a.size() - excess : 0;
    const std::size_t skip_b = b.size() > excess ? b.size() - excess : 0;
    const bool square = a.data() == b.data() && a.size() == b.size();
    const auto top_a = a.subspan(skip_a);
    Residues top;
    ConvolveResidues(top_a, square ? top_a : b.subspan(skip_b), top);
    const std::size_t first = half - skip_a - skip_b;  // where c[half] stands in `top`
    Field<kPrimes[0]>::Unfold(residues[0], half, std::span(top[0]).subspan(first, excess));
    Field<kPrimes[1]>::Unfold(residues[1], half, std::span(top[1]).subspan(first, excess));
    Field<kPrimes[2]>::Unfold(residues[2], half, std::span(top[2]).subspan(first, excess));
    return;
  }
  Field<kPrimes[0]>::Convolve(a, b, n, residues[0], scratch);
  ThrowIfStopped();
  Field<kPrimes[1]>::Convolve(a, b, n, residues[1], scratch);
  ThrowIfStopped();
  Field<kPrimes[2]>::Convolve(a, b, n, residues[2], scratch);
  for (auto* r : {&residues[0], &residues[1], &residues[2]}) r->resize(count);
}

}  // namespace

void Convolve(std::span<const std::uint32_t> a, std::span<const std::uint32_t> b,
              Residues& residues) {
  ConvolveResidues(a, b, residues);
  CombineResidues(residues);
}

std::size_t TransformPoints(std::size_t na, std::size_t nb) {
  const std::size_t count = na + nb - 1;
  const std::size_t n = std::bit_ceil(count);
  if (!FoldsTheTop(na, nb)) return n;
  const std::size_t excess = count - n / 2;
  return n / 2 + TransformPoints(std::min(na, excess), std::min(nb, excess));
}

void SetVectorUnitsAllowed(bool allowed) {
  vector_units_allowed.store(allowed, std::memory_order_relaxed);
}

}  // namespace calvoro::ntt
