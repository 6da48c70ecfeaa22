// Limb kernels: schoolbook and NTT multiplication, Knuth D, Barrett division
// with a Newton reciprocal, and n! from its prime factorisation.
#include "numeric/limb_arithmetic.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <span>
#include <stdexcept>
#include <string_view>
#include <utility>
#include <vector>

#include "numeric/digit_text.h"
#include "numeric/ntt.h"
#include "numeric/stop.h"

namespace calvoro::limbs {
namespace {

// Whether the transforms beat Karatsuba on operands of nx >= ny limbs.
// Estimated costs in nanoseconds, measured on an AMD EPYC with AVX2:
// Karatsuba about k * ny^1.585 per piece of ny limbs (k = 3.0 for decimal
// limbs, 2.2 for binary ones, whose carries are shifts), the three transforms
// about 21 per point of their length (a square, one transform less, about
// four fifths of that). The length nearly doubles at each power of two, so
// neither wins by size alone: a 160-limb decimal product (length 512) goes to
// Karatsuba, a 128-limb one (length 256) to the transforms.
bool TransformsWin(std::size_t nx, std::size_t ny, bool square, double karatsuba_factor) {
  const double pieces = static_cast<double>((nx + ny - 1) / ny);
  const double karatsuba = pieces * karatsuba_factor * std::pow(static_cast<double>(ny), 1.585);
  const double length = static_cast<double>(ntt::TransformPoints(nx, ny));
  return 21.0 * length * (square ? 0.8 : 1.0) < karatsuba;
}

// Knuth D costs about 2.4 ns per quotient limb and divisor limb (decimal),
// Barrett's blocks two products per divisor length of quotient and the
// reciprocal once: Knuth D wins below about 4000 limb pairs, and for
// divisors of fewer than 16 limbs.
constexpr std::size_t kKnuthLimbPairs = 4000;
constexpr std::size_t kKnuthDivisorLimbs = 16;
// Reciprocals of at most this many limbs are computed by Knuth D directly.
constexpr std::size_t kReciprocalDirectLimbs = 40;

void Trim(Limbs& a) {
  while (!a.empty() && a.back() == 0) a.pop_back();
}

int Compare(const Limbs& a, const Limbs& b) {
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  for (std::size_t i = a.size(); i-- > 0;) {
    if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
  }
  return 0;
}

// a / base^count (the low limbs dropped).
Limbs ShiftDown(const Limbs& a, std::size_t count) {
  if (count >= a.size()) return {};
  return Limbs(a.begin() + static_cast<std::ptrdiff_t>(count), a.end());
}

// a * base^count.
Limbs ShiftUp(const Limbs& a, std::size_t count) {
  if (a.empty()) return {};
  Limbs out(count, 0);
  out.insert(out.end(), a.begin(), a.end());
  return out;
}

template <Limb B>
struct Kernels {
  static constexpr std::uint64_t kBase = B;
  // Products with a shorter operand below this many limbs go to schoolbook
  // rows; Karatsuba splits down to it.
  static constexpr std::size_t kKaratsubaLimbs = B == 1'000'000'000 ? 64 : 128;
  static constexpr double kKaratsubaFactor = B == 1'000'000'000 ? 3.0 : 2.2;

  // a += b * base^shift.
  static void AddShifted(Limbs& a, const Limbs& b, std::size_t shift) {
    if (b.empty()) return;
    if (a.size() < b.size() + shift) a.resize(b.size() + shift, 0);
    Limb carry = 0;
    std::size_t k = shift;
    for (std::size_t i = 0; i < b.size(); ++i, ++k) {
      const Limb s = a[k] + b[i] + carry;
      carry = s >= B;
      a[k] = carry ? s - B : s;
    }
    for (; carry != 0; ++k) {
      if (k == a.size()) {
        a.push_back(1);
        break;
      }
      const Limb s = a[k] + 1;
      carry = s >= B;
      a[k] = carry ? 0 : s;
    }
  }

  // a -= b; requires a >= b.
  static void Subtract(Limbs& a, const Limbs& b) {
    Limb borrow = 0;
    std::size_t i = 0;
    for (; i < b.size(); ++i) {
      const Limb sub = b[i] + borrow;
      borrow = a[i] < sub;
      a[i] = borrow ? a[i] + B - sub : a[i] - sub;
    }
    for (; borrow != 0 && i < a.size(); ++i) {
      borrow = a[i] == 0;
      a[i] = borrow ? B - 1 : a[i] - 1;
    }
    Trim(a);
  }

  static void AddOne(Limbs& a) { AddShifted(a, Limbs{1}, 0); }
  static void SubtractOne(Limbs& a) { Subtract(a, Limbs{1}); }

  // a *= factor, factor < base.
  static void MultiplySmall(Limbs& a, Limb factor) {
    std::uint64_t carry = 0;
    for (Limb& limb : a) {
      const std::uint64_t t = std::uint64_t{limb} * factor + carry;
      limb = static_cast<Limb>(t % kBase);
      carry = t / kBase;
    }
    if (carry != 0) a.push_back(static_cast<Limb>(carry));
    Trim(a);
  }

  // a /= d (d not zero); returns the remainder.
  static Limb DivideSmall(Limbs& a, Limb d) {
    std::uint64_t rest = 0;
    for (std::size_t i = a.size(); i-- > 0;) {
      const std::uint64_t t = rest * kBase + a[i];
      a[i] = static_cast<Limb>(t / d);
      rest = t % d;
    }
    Trim(a);
    return static_cast<Limb>(rest);
  }

  // Products of limbs are below 2^60, so a 64-bit column takes 15 of them on
  // top of a limb: 15 (2^30 - 1)^2 + 2^30 < 1.73e19, and the carry added
  // while normalising stays below 2^35, under 2^64 = 1.84e19 in all. The
  // columns are accumulated without carrying and brought back to limbs after
  // every 15 rows.
  // out[0, nx + ny) = x * y by rows of lazily accumulated 64-bit columns;
  // nx, ny >= 1.
  static void SchoolbookInto(const Limb* x, std::size_t nx, const Limb* y, std::size_t ny,
                             Limb* out) {
    if (nx < ny) {
      std::swap(x, y);
      std::swap(nx, ny);
    }
    constexpr std::size_t kStackColumns = 2 * kKaratsubaLimbs + 2;
    std::uint64_t stack_columns[kStackColumns];
    std::vector<std::uint64_t> heap_columns;
    std::uint64_t* columns = stack_columns;
    if (nx + ny > kStackColumns) {
      heap_columns.resize(nx + ny);
      columns = heap_columns.data();
    }
    std::fill(columns, columns + nx + ny, 0);
    int rows = 0;
    for (std::size_t j = 0; j < ny; ++j) {
      const std::uint64_t yj = y[j];
      if (yj == 0) continue;
      std::uint64_t* __restrict column = columns + j;
      const Limb* __restrict xi = x;
      for (std::size_t i = 0; i < nx; ++i) column[i] += xi[i] * yj;
      if (++rows == 15) {
        Normalize(columns, nx + ny);
        rows = 0;
      }
    }
    Normalize(columns, nx + ny);  // the product is below base^(nx + ny): no carry out
    for (std::size_t k = 0; k < nx + ny; ++k) out[k] = static_cast<Limb>(columns[k]);
  }

  static void Normalize(std::uint64_t* columns, std::size_t count) {
    std::uint64_t carry = 0;
    for (std::size_t k = 0; k < count; ++k) {
      const std::uint64_t t = columns[k] + carry;
      columns[k] = t % kBase;
      carry = t / kBase;
    }
  }

  static Limbs MultiplySchoolbook(const Limbs& a, const Limbs& b) {
    if (a.empty() || b.empty()) return {};
    Limbs out(a.size() + b.size());
    SchoolbookInto(a.data(), a.size(), b.data(), b.size(), out.data());
    Trim(out);
    return out;
  }

  // r = a + b over n limbs; returns the carry out.
  static Limb AddN(Limb* r, const Limb* a, const Limb* b, std::size_t n) {
    Limb carry = 0;
    for (std::size_t i = 0; i < n; ++i) {
      const Limb s = a[i] + b[i] + carry;
      carry = s >= B;
      r[i] = carry ? s - B : s;
    }
    return carry;
  }

  // r = a - b over n limbs; returns the borrow out.
  static Limb SubN(Limb* r, const Limb* a, const Limb* b, std::size_t n) {
    Limb borrow = 0;
    for (std::size_t i = 0; i < n; ++i) {
      const Limb sub = b[i] + borrow;
      borrow = a[i] < sub;
      r[i] = borrow ? a[i] + B - sub : a[i] - sub;
    }
    return borrow;
  }

  // a[0, n) += b[0, m) (m <= n), the carry run up through a; returns the
  // carry out of a's top.
  static Limb AddInto(Limb* a, std::size_t n, const Limb* b, std::size_t m) {
    Limb carry = AddN(a, a, b, m);
    for (std::size_t i = m; carry != 0 && i < n; ++i) {
      const Limb s = a[i] + 1;
      carry = s == B;
      a[i] = carry ? 0 : s;
    }
    return carry;
  }

  // a[0, n) -= b[0, m) (m <= n); returns the borrow out of a's top.
  static Limb SubtractFrom(Limb* a, std::size_t n, const Limb* b, std::size_t m) {
    Limb borrow = SubN(a, a, b, m);
    for (std::size_t i = m; borrow != 0 && i < n; ++i) {
      borrow = a[i] == 0;
      a[i] = borrow ? B - 1 : a[i] - 1;
    }
    return borrow;
  }

  // r[0, n) = |a - b| for a of n limbs and b of m <= n limbs; true when a < b.
  static bool AbsoluteDifference(Limb* r, const Limb* a, std::size_t n, const Limb* b,
                                 std::size_t m) {
    // a's low part may hold leading zero limbs: below b only when its limbs
    // from m up are zero and the low m compare below.
    bool below = std::all_of(a + m, a + n, [](Limb limb) { return limb == 0; });
    if (below) {
      std::size_t i = m;
      while (i > 0 && a[i - 1] == b[i - 1]) --i;
      below = i > 0 && a[i - 1] < b[i - 1];
    }
    if (below) {
      SubN(r, b, a, m);
      std::fill(r + m, r + n, 0);
    } else {
      std::copy(a, a + n, r);
      SubtractFrom(r, n, b, m);
    }
    return below;
  }

  // Scratch limbs that KaratsubaInto needs for operands of at most n limbs:
  // 6 ceil(n / 2) + 1 at each level, for levels that halve n.
  static std::size_t KaratsubaScratch(std::size_t n) {
    std::size_t total = 0;
    while (n >= kKaratsubaLimbs) {
      n = (n + 1) / 2;
      total += 6 * n + 1;
    }
    return total + 1;
  }

  // out[0, nx + ny) = x * y for nx >= ny >= 1, by Karatsuba's three half-size
  // products (the subtractive form: the middle product is |x0 - x1| |y0 - y1|
  // with its sign, so every operand keeps m limbs) down to schoolbook rows.
  // A y no longer than half of x is multiplied piece by piece of ny limbs.
  static void KaratsubaInto(const Limb* x, std::size_t nx, const Limb* y, std::size_t ny, Limb* out,
                            Limb* scratch) {
    if (ny < kKaratsubaLimbs) return SchoolbookInto(x, nx, y, ny, out);
    ThrowIfStopped();
    const std::size_t m = (nx + 1) / 2;
    if (ny <= m) {
      std::fill(out, out + nx + ny, 0);
      Limb* piece = scratch;
      for (std::size_t start = 0; start < nx; start += ny) {
        const std::size_t len = std::min(ny, nx - start);
        if (len >= ny) {
          KaratsubaInto(x + start, len, y, ny, piece, scratch + 2 * ny);
        } else {
          KaratsubaInto(y, ny, x + start, len, piece, scratch + 2 * ny);
        }
        AddInto(out + start, nx + ny - start, piece, len + ny);
      }
      return;
    }
    const bool square = x == y && nx == ny;
    const std::size_t hx = nx - m, hy = ny - m;  // the high parts' limbs, 1..m
    Limb* dx = scratch;
    Limb* dy = scratch + m;
    Limb* middle = scratch + 2 * m;  // 2m limbs, then the sum of 2m + 1
    Limb* sum = scratch + 4 * m;
    Limb* deeper = scratch + 6 * m + 1;
    const bool negative_x = AbsoluteDifference(dx, x, m, x + m, hx);
    const bool negative_y = square ? negative_x : AbsoluteDifference(dy, y, m, y + m, hy);
    KaratsubaInto(x, m, y, m, out, deeper);                     // z0 = x0 y0
    KaratsubaInto(x + m, hx, y + m, hy, out + 2 * m, deeper);   // z2 = x1 y1
    KaratsubaInto(dx, m, square ? dx : dy, m, middle, deeper);  // |x0 - x1| |y0 - y1|
    // x0 y1 + x1 y0 = z0 + z2 - (x0 - x1)(y0 - y1).
    std::copy(out, out + 2 * m, sum);
    sum[2 * m] = AddInto(sum, 2 * m, out + 2 * m, hx + hy);
    if (negative_x == negative_y) {
      SubtractFrom(sum, 2 * m + 1, middle, 2 * m);
    } else {
      AddInto(sum, 2 * m + 1, middle, 2 * m);
    }
    // The product fits nx + ny limbs, so the sum's limbs beyond it are zero.
    AddInto(out + m, nx + ny - m, sum, std::min(2 * m + 1, nx + ny - m));
  }

  static Limbs MultiplyKaratsuba(const Limbs& a, const Limbs& b) {
    if (a.empty() || b.empty()) return {};
    const Limbs& x = a.size() >= b.size() ? a : b;
    const Limbs& y = a.size() >= b.size() ? b : a;
    Limbs out(x.size() + y.size());
    Limbs scratch(KaratsubaScratch(x.size()) + 2 * y.size());
    KaratsubaInto(x.data(), x.size(), y.data(), y.size(), out.data(), scratch.data());
    Trim(out);
    return out;
  }

  // The convolution's coefficients are at most min(|a|, |b|) (base - 1)^2 <
  // 2^23 * 2^60, below the product of the three primes (about 7.9e25), so
  // they come back exact as c = x0 + p0 t with x0 < p0 and t < 2^57. With t
  // split as tq base + tr, the column is (p0 tq) base + (x0 + p0 tr) and
  // every step of the carry fits 64 bits.
  static Limbs MultiplyNtt(const Limbs& a, const Limbs& b) {
    if (a.empty() || b.empty()) return {};
    constexpr std::uint64_t p0 = ntt::kPrimes[0];
    std::array<std::vector<std::uint32_t>, 3> parts;
    ntt::Convolve(std::span<const Limb>(a), std::span<const Limb>(b), parts);
    const std::size_t count = a.size() + b.size() - 1;
    // The product takes the place of the first residues, limb by limb.
    Limbs& out = parts[0];
    out.resize(count + 1);
    std::uint64_t carry = 0;
    for (std::size_t k = 0; k < count; ++k) {
      const std::uint64_t t = parts[1][k] | std::uint64_t{parts[2][k]} << 32;
      const std::uint64_t s = carry + out[k] + p0 * (t % kBase);
      out[k] = static_cast<Limb>(s % kBase);
      carry = p0 * (t / kBase) + s / kBase;
    }
    out[count] = static_cast<Limb>(carry);  // the product is below base^(count + 1)
    Trim(out);
    return std::move(out);
  }

  static Limbs Multiply(const Limbs& a, const Limbs& b) {
    if (a.empty() || b.empty()) return {};
    const Limbs& longer = a.size() >= b.size() ? a : b;
    const Limbs& shorter = a.size() >= b.size() ? b : a;
    if (shorter.size() < kKaratsubaLimbs) return MultiplySchoolbook(a, b);
    if (!TransformsWin(longer.size(), shorter.size(), &a == &b, kKaratsubaFactor))
      return MultiplyKaratsuba(a, b);
    // A long operand times a much shorter one: the transform of the whole
    // length costs more than pieces of a few times the short length.
    const std::size_t piece = std::max<std::size_t>(4 * shorter.size(), 1024);
    if (longer.size() + shorter.size() - 1 > ntt::kMaxLength || longer.size() > 2 * piece) {
      const std::size_t step = std::min(piece, ntt::kMaxLength / 2);
      Limbs out;
      for (std::size_t start = 0; start < longer.size(); start += step) {
        const std::size_t end = std::min(longer.size(), start + step);
        Limbs part(longer.begin() + static_cast<std::ptrdiff_t>(start),
                   longer.begin() + static_cast<std::ptrdiff_t>(end));
        Trim(part);
        AddShifted(out, Multiply(part, shorter), start);
      }
      return out;
    }
    return MultiplyNtt(a, b);
  }

  // Knuth's algorithm D (TAOCP 4.3.1) in base B; y has at least two limbs.
  // Scaling both by d = floor(B / (top + 1)) makes the divisor's top limb at
  // least floor(B / 2), so each estimated quotient limb is at most two too
  // large before the test on the next limb, and at most one after it.
  static void DivModKnuth(const Limbs& x, const Limbs& y, Limbs& q, Limbs& r) {
    if (Compare(x, y) < 0) {
      q.clear();
      r = x;
      return;
    }
    const std::size_t n = y.size();
    const std::size_t m = x.size() - n;
    const Limb d = static_cast<Limb>(kBase / (std::uint64_t{y.back()} + 1));
    Limbs v = y;
    MultiplySmall(v, d);  // stays n limbs
    Limbs u = x;
    MultiplySmall(u, d);
    u.resize(x.size() + 1, 0);
    q.assign(m + 1, 0);
    const std::uint64_t v_top = v[n - 1], v_next = v[n - 2];
    for (std::size_t j = m + 1; j-- > 0;) {
      if (j % 1024 == 0) ThrowIfStopped();
      const std::uint64_t top = std::uint64_t{u[j + n]} * kBase + u[j + n - 1];
      std::uint64_t qhat = top / v_top;
      std::uint64_t rhat = top % v_top;
      while (qhat >= kBase || qhat * v_next > rhat * kBase + u[j + n - 2]) {
        --qhat;
        rhat += v_top;
        if (rhat >= kBase) break;
      }
      std::int64_t borrow = 0;
      std::uint64_t carry = 0;
      for (std::size_t i = 0; i < n; ++i) {
        const std::uint64_t p = qhat * v[i] + carry;
        carry = p / kBase;
        std::int64_t t = std::int64_t{u[i + j]} - static_cast<std::int64_t>(p % kBase) - borrow;
        borrow = t < 0;
        if (t < 0) t += static_cast<std::int64_t>(kBase);
        u[i + j] = static_cast<Limb>(t);
      }
      std::int64_t t = std::int64_t{u[j + n]} - static_cast<std::int64_t>(carry) - borrow;
      if (t < 0) {  // qhat was one too large: add the divisor back once
        --qhat;
        Limb add_carry = 0;
        for (std::size_t i = 0; i < n; ++i) {
          const Limb s = u[i + j] + v[i] + add_carry;
          add_carry = s >= B;
          u[i + j] = add_carry ? s - B : s;
        }
        t += add_carry;
      }
      u[j + n] = static_cast<Limb>(t);
      q[j] = static_cast<Limb>(qhat);
    }
    Trim(q);
    u.resize(n);
    Trim(u);
    DivideSmall(u, d);
    r = std::move(u);
  }

  // floor(B^(2n) / y) for y of n limbs, by Newton's iteration from below.
  //
  // With h = ceil(n / 2) + 3 and yh the top h limbs of y, the recursive ih =
  // floor(B^(2h) / yh) gives I0 = (ih - B^2) B^(n - h) <= B^(2n) / y: since
  // y < (yh + 1) B^(n - h), it is enough that ih - B^2 <= B^(2h) / (yh + 1),
  // and B^(2h) / yh - B^(2h) / (yh + 1) < B^(2h) / yh^2 <= B^2 for yh >=
  // B^(h - 1). The relative error of I0 is below about B^-(h - 2). One
  // Newton step
  //   I1 = I0 + floor(I0 E / B^(2n)),  E = B^(2n) - y I0 >= 0,
  // never overshoots (1/y - x1 = y (1/y - x0)^2 >= 0 in exact arithmetic,
  // and every floor only lowers I1) and squares the relative error, leaving
  // I1 short by less than B^(n + 5 - 2h) <= 1/B plus the few units that the
  // floors lose; a last division of the small remainder makes it exact.
  //
  // Inner levels need not be exact (an underestimate keeps every argument
  // above), so only a call with `exact` pays for the last product.
  static Limbs Reciprocal(const Limbs& y, bool exact) {
    const std::size_t n = y.size();
    Limbs power(2 * n + 1, 0);
    power[2 * n] = 1;
    if (n <= kReciprocalDirectLimbs) {
      Limbs q, r;
      if (n == 1) {
        q = power;
        DivideSmall(q, y[0]);
      } else {
        DivModKnuth(power, y, q, r);
      }
      return q;
    }
    const std::size_t h = (n + 1) / 2 + 3;
    Limbs ih = Reciprocal(Limbs(y.end() - static_cast<std::ptrdiff_t>(h), y.end()), false);
    Subtract(ih, Limbs{0, 0, 1});  // ih >= B^h
    // E / B^(n - h) = B^(n + h) - y ih; its lowest h - 2 limbs change the
    // correction by less than one unit and are dropped.
    Limbs e(n + h + 1, 0);
    e[n + h] = 1;
    Subtract(e, Multiply(y, ih));
    Limbs correction = ShiftDown(Multiply(ih, ShiftDown(e, h - 2)), h + 2);
    Limbs result = ShiftUp(ih, n - h);
    AddShifted(result, correction, 0);
    if (!exact) return result;
    // Exact: add floor((B^(2n) - y I1) / y).
    Limbs product = Multiply(y, result);
    while (Compare(product, power) > 0) {  // not reached: I1 never overshoots
      SubtractOne(result);
      Subtract(product, y);
    }
    Subtract(power, product);
    if (Compare(power, y) >= 0) {
      Limbs dq, dr;
      DivModKnuth(power, y, dq, dr);
      AddShifted(result, dq, 0);
    }
    return result;
  }

  // Barrett reduction (HAC 14.42) block by block: with I = floor(B^(2n) / y)
  // and a block T < y B^len <= B^(2n), qhat = floor(floor(T / B^(n-1)) I /
  // B^(n+1)) satisfies q - 2 <= qhat <= q. The reciprocal used is short of
  // I by a few units at most (never above it), which lowers qhat by as many
  // more; a few subtractions of y finish each block. The running remainder
  // starts as the top n - 1 limbs of x (below y), and the blocks are cut so
  // that only the first one is shorter than n.
  static void DivModBarrett(const Limbs& x, const Limbs& y, Limbs& q, Limbs& r) {
    const std::size_t n = y.size();
    const Limbs inverse = Reciprocal(y, false);
    q.assign(x.size() - n + 1, 0);
    std::size_t low = x.size() - (n - 1);
    Limbs rest(x.begin() + static_cast<std::ptrdiff_t>(low), x.end());  // below y
    Trim(rest);
    std::size_t len = low % n == 0 ? n : low % n;
    while (low > 0) {
      ThrowIfStopped();
      low -= len;
      Limbs t(x.begin() + static_cast<std::ptrdiff_t>(low),
              x.begin() + static_cast<std::ptrdiff_t>(low + len));
      t.insert(t.end(), rest.begin(), rest.end());
      Trim(t);
      Limbs qhat = ShiftDown(Multiply(ShiftDown(t, n - 1), inverse), n + 1);
      Subtract(t, Multiply(qhat, y));
      for (int step = 0; Compare(t, y) >= 0; ++step) {
        if (step == 8) {  // not reached: the estimate is within a few units
          Limbs dq, dr;
          DivModKnuth(t, y, dq, dr);
          AddShifted(qhat, dq, 0);
          t = std::move(dr);
          break;
        }
        Subtract(t, y);
        AddOne(qhat);
      }
      std::copy(qhat.begin(), qhat.end(), q.begin() + static_cast<std::ptrdiff_t>(low));
      rest = std::move(t);
      len = n;
    }
    Trim(q);
    r = std::move(rest);
  }

  static void DivMod(const Limbs& x, const Limbs& y, Limbs& q, Limbs& r) {
    if (y.empty()) throw std::domain_error("ERROR: Division by zero!");
    if (Compare(x, y) < 0) {
      q.clear();
      r = x;
      return;
    }
    if (y.size() == 1) {
      q = x;
      const Limb rest = DivideSmall(q, y[0]);
      r.assign(rest != 0 ? 1 : 0, rest);
      return;
    }
    const std::size_t n = y.size();
    const std::size_t quotient_limbs = x.size() - n + 1;
    if (n < kKnuthDivisorLimbs || quotient_limbs * n < kKnuthLimbPairs)
      return DivModKnuth(x, y, q, r);
    if (quotient_limbs + 2 >= n) return DivModBarrett(x, y, q, r);
    // A quotient much shorter than the divisor depends only on the top limbs:
    // dropping the s lowest limbs of both leaves a divisor of quotient + 2
    // limbs, and the quotient of the shortened numbers is within one of the
    // true one (the relative change is below B^(s + 1 - n) < 1/B of a
    // quotient below B^quotient_limbs). One product with y settles it.
    const std::size_t s = n - quotient_limbs - 2;
    Limbs unused;
    DivMod(ShiftDown(x, s), ShiftDown(y, s), q, unused);
    Limbs product = Multiply(q, y);
    while (Compare(product, x) > 0) {
      SubtractOne(q);
      Subtract(product, y);
    }
    r = x;
    Subtract(r, product);
    while (Compare(r, y) >= 0) {
      Subtract(r, y);
      AddOne(q);
    }
  }

  // The product of the factors (each below the base): gathered into limbs
  // while the product stays below the base, then multiplied pairwise up a
  // balanced tree.
  static Limbs ProductOf(const std::vector<Limb>& factors) {
    std::vector<Limb> leaves;
    std::uint64_t leaf = 1;
    for (const Limb factor : factors) {
      if (leaf * factor >= kBase) {
        leaves.push_back(static_cast<Limb>(leaf));
        leaf = 1;
      }
      leaf *= factor;
    }
    leaves.push_back(static_cast<Limb>(leaf));
    return ProductOfLeaves(leaves, 0, leaves.size());
  }

  static Limbs ProductOfLeaves(const std::vector<Limb>& leaves, std::size_t begin,
                               std::size_t end) {
    if (end - begin <= 16) {
      Limbs product{1};
      for (std::size_t i = begin; i < end; ++i) MultiplySmall(product, leaves[i]);
      return product;
    }
    const std::size_t middle = begin + (end - begin) / 2;
    return Multiply(ProductOfLeaves(leaves, begin, middle), ProductOfLeaves(leaves, middle, end));
  }
};

using Decimal = Kernels<1'000'000'000>;
using Hex = Kernels<Limb{1} << 28>;
using Binary = Kernels<Limb{1} << 30>;  // radix 2 and radix 8 (8^10 = 2^30)

// Calls f with the kernels of the radix's limb base.
template <class F>
decltype(auto) WithKernels(Radix radix, F&& f) {
  switch (radix) {
    case 10:
      return f(Decimal{});
    case 16:
      return f(Hex{});
    default:  // 8 and 2
      return f(Binary{});
  }
}

}  // namespace

LimbFormat FormatOf(Radix radix) {
  switch (radix) {
    case 10:
      return {Radix::kDecimal, 9, 1'000'000'000};
    case 16:
      return {Radix::kHex, 7, Limb{1} << 28};
    case 8:
      return {Radix::kOctal, 10, Limb{1} << 30};
    default:  // 2
      return {Radix::kBinary, 30, Limb{1} << 30};
  }
}

namespace {

template <Limb kRadix>
Limbs PackIn(const Digits& digits, std::size_t width) {
  Limbs out((digits.size() + width - 1) / width);
  const std::size_t whole = digits.size() / width;
  for (std::size_t i = 0; i < whole; ++i) {
    const std::uint8_t* d = digits.data() + i * width;
    Limb value = 0;
    for (std::size_t k = width; k-- > 0;) value = value * kRadix + d[k];
    out[i] = value;
  }
  if (whole < out.size()) {
    Limb value = 0;
    for (std::size_t k = digits.size(); k-- > whole * width;) value = value * kRadix + digits[k];
    out[whole] = value;
  }
  Trim(out);
  return out;
}

// Digit values of a decimal limb, two at a time from a table of 00..99.
struct DigitPairs {
  std::uint8_t low[100] = {}, high[100] = {};
  constexpr DigitPairs() {
    for (int v = 0; v < 100; ++v) {
      low[v] = static_cast<std::uint8_t>(v % 10);
      high[v] = static_cast<std::uint8_t>(v / 10);
    }
  }
};
constexpr DigitPairs kDigitPairs;

template <Limb kRadix>
Digits UnpackIn(const Limbs& limbs, std::size_t width) {
  if (limbs.empty()) return Digits{0};
  Digits out(limbs.size() * width);
  std::uint8_t* d = out.data();
  for (Limb value : limbs) {
    if constexpr (kRadix == 10) {
      for (std::size_t k = 0; k + 2 <= width; k += 2) {  // width 9: four pairs and one digit
        const Limb pair = value % 100;
        value /= 100;
        *d++ = kDigitPairs.low[pair];
        *d++ = kDigitPairs.high[pair];
      }
      *d++ = static_cast<std::uint8_t>(value);
    } else {
      for (std::size_t k = 0; k < width; ++k) {
        *d++ = static_cast<std::uint8_t>(value % kRadix);
        value /= kRadix;
      }
    }
  }
  while (out.size() > 1 && out.back() == 0) out.pop_back();
  return out;
}

}  // namespace

Limbs Pack(const Digits& digits, Radix radix) {
  const auto width = static_cast<std::size_t>(FormatOf(radix).width);
  switch (radix) {
    case 10:
      return PackIn<10>(digits, width);
    case 16:
      return PackIn<16>(digits, width);
    case 8:
      return PackIn<8>(digits, width);
    default:
      return PackIn<2>(digits, width);
  }
}

Digits Unpack(const Limbs& limbs, Radix radix) {
  const auto width = static_cast<std::size_t>(FormatOf(radix).width);
  switch (radix) {
    case 10:
      return UnpackIn<10>(limbs, width);
    case 16:
      return UnpackIn<16>(limbs, width);
    case 8:
      return UnpackIn<8>(limbs, width);
    default:
      return UnpackIn<2>(limbs, width);
  }
}

namespace {

// The digit values of characters (either case), -1 for none.
struct CharValues {
  std::int8_t value[256] = {};
  constexpr CharValues() {
    for (int c = 0; c < 256; ++c)
      value[c] = static_cast<std::int8_t>(DigitValue(static_cast<char>(c)));
  }
};
constexpr CharValues kCharValues;

// The value of eight decimal digit characters, most significant first.
std::uint32_t EightDigits(const char* p) {
  std::uint64_t v;
  std::memcpy(&v, p, 8);
  v -= 0x3030303030303030u;
  v = v * 10 + (v >> 8);  // pairs of digits in every other byte
  v = (((v & 0x000000FF000000FFu) * (100 + (1000000ull << 32))) +
       (((v >> 16) & 0x000000FF000000FFu) * (1 + (10000ull << 32)))) >>
      32;
  return static_cast<std::uint32_t>(v);
}

template <Limb kRadix>
Limbs FromCharactersIn(std::string_view high, std::string_view low, std::size_t zeros,
                       std::size_t width) {
  const std::size_t total = high.size() + low.size() + zeros;
  const std::size_t count = (total + width - 1) / width;
  Limbs out(count);
  std::size_t index = count;
  std::size_t left = total - (count == 0 ? 0 : (count - 1) * width);  // digits of the top limb
  Limb value = 0;
  const auto push = [&](Limb digit) {
    value = value * kRadix + digit;
    if (--left == 0) {
      out[--index] = value;
      value = 0;
      left = width;
    }
  };
  for (const std::string_view part : {high, low}) {
    const char* p = part.data();
    const char* const end = p + part.size();
    while (p < end) {
      if constexpr (kRadix == 10) {
        // A whole limb of nine digits at a time.
        if (left == width && end - p >= 9) {
          out[--index] = EightDigits(p) * 10 + static_cast<Limb>(p[8] - '0');
          p += 9;
          continue;
        }
        push(static_cast<Limb>(*p++ - '0'));
      } else {
        push(static_cast<Limb>(kCharValues.value[static_cast<unsigned char>(*p++)]));
      }
    }
  }
  for (std::size_t k = 0; k < zeros; ++k) push(0);
  Trim(out);
  return out;
}

// The eight decimal digit characters of v < 10^8, most significant first:
// v is split into two halves of four digits in 32-bit lanes, each half into
// two pairs in 16-bit lanes and each pair into two digits in bytes, with
// multiplications by fixed-point reciprocals (10486 / 2^20 for 1/100 below
// 10^4, 103 / 2^10 for 1/10 below 100) that never carry into the next lane.
void EightChars(std::uint32_t v, char* out) {
  std::uint64_t x = (v / 10000) | (std::uint64_t{v % 10000} << 32);
  std::uint64_t q = ((x * 10486) >> 20) & 0x0000007F0000007Fu;
  x = q | ((x - q * 100) << 16);
  q = ((x * 103) >> 10) & 0x000F000F000F000Fu;
  x = q | ((x - q * 10) << 8);
  x += 0x3030303030303030u;
  std::memcpy(out, &x, 8);
}

// The `width` digit characters of one limb, most significant first.
void LimbCharacters(Limb value, Radix radix, std::size_t width, char* out) {
  if (radix == 10) {
    out[0] = static_cast<char>('0' + value / 100'000'000);
    EightChars(value % 100'000'000, out + 1);
    return;
  }
  const int bits = std::countr_zero(static_cast<unsigned>(radix));
  for (std::size_t k = 0; k < width; ++k) {
    out[width - 1 - k] = DigitChar(static_cast<int>((value >> (bits * k)) & (radix - 1)));
  }
}

}  // namespace

Limbs FromCharacters(std::string_view high, std::string_view low, std::size_t zeros, Radix radix) {
  const auto width = static_cast<std::size_t>(FormatOf(radix).width);
  switch (radix) {
    case 10:
      return FromCharactersIn<10>(high, low, zeros, width);
    case 16:
      return FromCharactersIn<16>(high, low, zeros, width);
    case 8:
      return FromCharactersIn<8>(high, low, zeros, width);
    default:
      return FromCharactersIn<2>(high, low, zeros, width);
  }
}

std::size_t DigitCount(const Limbs& limbs, Radix radix) {
  if (limbs.empty()) return 0;
  const auto width = static_cast<std::size_t>(FormatOf(radix).width);
  std::size_t top = 0;
  for (Limb value = limbs.back(); value != 0; value /= static_cast<Limb>(radix)) ++top;
  return (limbs.size() - 1) * width + top;
}

std::size_t TrailingZeroDigits(const Limbs& limbs, Radix radix) {
  const auto width = static_cast<std::size_t>(FormatOf(radix).width);
  std::size_t zeros = 0;
  std::size_t i = 0;
  while (i < limbs.size() && limbs[i] == 0) {
    ++i;
    zeros += width;
  }
  if (i < limbs.size()) {
    for (Limb value = limbs[i]; value % static_cast<Limb>(radix) == 0;
         value /= static_cast<Limb>(radix))
      ++zeros;
  }
  return zeros;
}

void WriteDigits(const Limbs& limbs, Radix radix, std::size_t from, std::size_t count, char* out) {
  if (count == 0) return;
  const auto width = static_cast<std::size_t>(FormatOf(radix).width);
  char chars[32];
  std::size_t place = from + count;
  for (std::size_t limb = (place - 1) / width; place > from; --limb) {
    const std::size_t bottom = limb * width;  // the place of the limb's lowest digit
    const std::size_t low = std::max(bottom, from);
    const std::size_t n = place - low;
    const Limb value = limb < limbs.size() ? limbs[limb] : 0;
    if (n == width) {
      LimbCharacters(value, radix, width, out);  // a whole limb, straight into place
    } else {
      LimbCharacters(value, radix, width, chars);
      std::memcpy(out, chars + width - (place - bottom), n);
    }
    out += n;
    place = low;
  }
}

std::string Text(const Limbs& limbs, Radix radix) {
  if (limbs.empty()) return "0";
  std::string text(DigitCount(limbs, radix), '0');
  WriteDigits(limbs, radix, 0, text.size(), text.data());
  return text;
}

Limbs Multiply(const Limbs& a, const Limbs& b, Radix radix) {
  return WithKernels(radix, [&](auto k) { return decltype(k)::Multiply(a, b); });
}

void DivMod(const Limbs& x, const Limbs& y, Radix radix, Limbs& q, Limbs& r) {
  WithKernels(radix, [&](auto k) { decltype(k)::DivMod(x, y, q, r); });
}

// n! from its prime factorisation. Legendre's formula gives the exponent of
// each prime p <= n: e_p = sum over i of floor(n / p^i). The factors that make
// trailing zeros are taken out first (radix 10: every factor 5 with as many
// factors 2; radix 2^k: the factors 2, leaving 2^(e_2 mod k)), so the zeros
// are written as text. With P_j the product of the primes whose exponent has
// bit j set, the rest is P_0 * (P_1 * (P_2 * ...)^2)^2: the largest steps are
// squarings, about two thirds of a product's cost in the transform, and the
// number squared last is only half the result's length. A balanced tree of
// 2 * 3 * ... * n would multiply numbers of that size once per tree level.
std::string FactorialText(int n, Radix radix) {
  const int bits = radix == 16 ? 4 : radix == 8 ? 3 : radix == 2 ? 1 : 0;
  const auto limit = static_cast<std::size_t>(std::max(n, 0));
  std::vector<bool> composite(limit + 1, false);
  std::vector<Limb> primes;
  std::vector<std::size_t> exponents;
  for (std::size_t p = 2; p <= limit; ++p) {
    if (composite[p]) continue;
    for (std::size_t m = p * p; m <= limit; m += p) composite[m] = true;
    std::size_t e = 0;
    for (std::size_t q = limit / p; q > 0; q /= p) e += q;
    primes.push_back(static_cast<Limb>(p));
    exponents.push_back(e);
  }
  std::size_t zeros = 0;
  if (bits == 0) {
    if (limit >= 5) {
      zeros = exponents[2];  // the prime 5
      exponents[0] -= zeros;
      exponents[2] = 0;
    }
  } else if (limit >= 2) {
    zeros = exponents[0] / static_cast<std::size_t>(bits);
    exponents[0] %= static_cast<std::size_t>(bits);
  }
  const std::size_t top =
      exponents.empty() ? 0 : std::bit_width(*std::max_element(exponents.begin(), exponents.end()));
  Limbs product = WithKernels(radix, [&](auto k) {
    using K = decltype(k);
    Limbs value{1};
    std::vector<Limb> factors;
    for (std::size_t j = top; j-- > 0;) {
      ThrowIfStopped();
      if (value.size() > 1 || value[0] != 1) value = K::Multiply(value, value);
      factors.clear();
      for (std::size_t i = 0; i < primes.size(); ++i)
        if ((exponents[i] >> j) & 1) factors.push_back(primes[i]);
      if (!factors.empty()) value = K::Multiply(value, K::ProductOf(factors));
    }
    return value;
  });
  std::string text = Text(product, radix);
  text.append(zeros, '0');
  return text;
}

namespace detail {

Limbs MultiplySchoolbook(const Limbs& a, const Limbs& b, Radix radix) {
  return WithKernels(radix, [&](auto k) { return decltype(k)::MultiplySchoolbook(a, b); });
}

Limbs MultiplyKaratsuba(const Limbs& a, const Limbs& b, Radix radix) {
  return WithKernels(radix, [&](auto k) { return decltype(k)::MultiplyKaratsuba(a, b); });
}

Limbs MultiplyNtt(const Limbs& a, const Limbs& b, Radix radix) {
  return WithKernels(radix, [&](auto k) { return decltype(k)::MultiplyNtt(a, b); });
}

void DivModKnuth(const Limbs& x, const Limbs& y, Radix radix, Limbs& q, Limbs& r) {
  WithKernels(radix, [&](auto k) { decltype(k)::DivModKnuth(x, y, q, r); });
}

void DivModBarrett(const Limbs& x, const Limbs& y, Radix radix, Limbs& q, Limbs& r) {
  WithKernels(radix, [&](auto k) { decltype(k)::DivModBarrett(x, y, q, r); });
}

Limbs Reciprocal(const Limbs& y, Radix radix) {
  return WithKernels(radix, [&](auto k) { return decltype(k)::Reciprocal(y, true); });
}

}  // namespace detail

}  // namespace calvoro::limbs
