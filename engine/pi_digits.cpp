// Pi to any number of decimals: the stored 100 decimals, and beyond them
// Machin's formula pi = 16 arctan(1/5) - 4 arctan(1/239) in fixed point on
// limbs of nine decimal digits. The longest text computed is kept.
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "engine/expression_text.h"
#include "engine/functions.h"

namespace calvoro {
namespace {

constexpr std::uint64_t kLimbBase = 1'000'000'000;
constexpr int kLimbDigits = 9;
// Extra decimals computed beyond the ones returned, so that the truncation
// errors of the series (a few units of the last limb per term) never reach
// a returned digit.
constexpr int kGuardDigits = 27;

// A fixed-point number: limb 0 is the integer part, limbs 1.. the fraction,
// nine decimals each.
using Fixed = std::vector<std::uint32_t>;

// x /= d in place; returns whether x is now zero.
bool DivideInPlace(Fixed& x, std::uint64_t d) {
  std::uint64_t remainder = 0;
  bool zero = true;
  for (std::uint32_t& limb : x) {
    const std::uint64_t value = remainder * kLimbBase + limb;
    limb = static_cast<std::uint32_t>(value / d);
    remainder = value % d;
    zero = zero && limb == 0;
  }
  return zero;
}

void AddInPlace(Fixed& x, const Fixed& y) {
  std::uint32_t carry = 0;
  for (std::size_t i = x.size(); i-- > 0;) {
    std::uint64_t value = std::uint64_t{x[i]} + y[i] + carry;
    carry = value >= kLimbBase;
    x[i] = static_cast<std::uint32_t>(carry ? value - kLimbBase : value);
  }
}

// x -= y; x >= y.
void SubtractInPlace(Fixed& x, const Fixed& y) {
  std::int64_t borrow = 0;
  for (std::size_t i = x.size(); i-- > 0;) {
    std::int64_t value = std::int64_t{x[i]} - y[i] - borrow;
    borrow = value < 0;
    x[i] =
        static_cast<std::uint32_t>(borrow ? value + static_cast<std::int64_t>(kLimbBase) : value);
  }
}

// factor * arctan(1/x) = factor * sum (-1)^k / ((2k+1) x^(2k+1)).
Fixed ArcTanOfInverse(std::uint64_t x, std::uint64_t factor, std::size_t limbs) {
  Fixed sum(limbs, 0), power(limbs, 0), term(limbs, 0);
  power[0] = static_cast<std::uint32_t>(factor);
  DivideInPlace(power, x);  // factor / x
  const std::uint64_t square = x * x;
  for (std::uint64_t k = 0;; ++k) {
    term = power;
    if (DivideInPlace(term, 2 * k + 1)) break;
    if (k % 2 == 0) {
      AddInPlace(sum, term);
    } else {
      SubtractInPlace(sum, term);
    }
    if (DivideInPlace(power, square)) break;
  }
  return sum;
}

std::string ComputePi(int decimals) {
  const std::size_t limbs = 1 + static_cast<std::size_t>(decimals + kGuardDigits) / kLimbDigits + 1;
  Fixed pi = ArcTanOfInverse(5, 16, limbs);
  SubtractInPlace(pi, ArcTanOfInverse(239, 4, limbs));
  std::string text = std::to_string(pi[0]) + ".";
  text.reserve(limbs * kLimbDigits + 2);
  for (std::size_t i = 1; i < limbs; ++i) {
    const std::string limb = std::to_string(pi[i]);
    text.append(kLimbDigits - limb.size(), '0').append(limb);
  }
  text.resize(2 + static_cast<std::size_t>(decimals));
  return text;
}

}  // namespace

std::string PiText(int decimals) {
  if (decimals <= 0) return "3";
  if (decimals <= static_cast<int>(kPiText.size()) - 2) {
    return std::string(kPiText.substr(0, 2 + static_cast<std::size_t>(decimals)));
  }
  static std::mutex mutex;
  static std::string cache;
  std::lock_guard<std::mutex> lock(mutex);
  if (static_cast<int>(cache.size()) < 2 + decimals) {
    // Computed in steps of 500 decimals, so that growing requests seldom
    // repeat the series.
    cache = ComputePi((decimals + 499) / 500 * 500);
  }
  return cache.substr(0, 2 + static_cast<std::size_t>(decimals));
}

}  // namespace calvoro
