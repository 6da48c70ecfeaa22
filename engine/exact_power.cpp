// Exact integer powers: square and multiply on HugeFloat magnitudes, then one
// precision cut.
#include "engine/exact_power.h"

#include <bit>
#include <cmath>
#include <limits>

#include "engine/expression_text.h"
#include "engine/number_base.h"
#include "engine/refusal.h"
#include "numeric/digit_text.h"

namespace calvoro {
namespace {

// The precision handed to the intermediate products: more fraction digits
// than any power within kMaxResultDigits can have, so Multiply never cuts,
// and far enough below INT_MAX that ApplyPrecision's count of leading zeros
// plus it cannot overflow.
constexpr int kNoCut = std::numeric_limits<int>::max() / 2;

constexpr std::uint64_t kSaturated = std::numeric_limits<std::uint64_t>::max();

// The text inside one pair of brackets, or the text itself.
struct IntegerExponent {
  bool negative = false;
  bool odd = false;
  std::uint64_t magnitude = 0;  // kSaturated when it does not fit
};

// The exponent as an integer of the radix. A magnitude beyond 64 bits is
// kept as kSaturated: only the powers of 0 and 1 survive the size bound
// there, and for those the sign and parity are all that count.
IntegerExponent ReadExponent(std::string_view text, Radix radix) {
  IntegerExponent exponent;
  text = WithoutBrackets(text);
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    exponent.negative = text.front() == '-';
    text.remove_prefix(1);
  }
  // Every radix is even, so the last digit alone gives the parity.
  exponent.odd = !text.empty() && DigitValue(text.back()) % 2 == 1;
  for (const char c : text) {
    const auto digit = static_cast<std::uint64_t>(DigitValue(c));
    const auto radix64 = static_cast<std::uint64_t>(radix);
    if (exponent.magnitude > (kSaturated - digit) / radix64) {
      exponent.magnitude = kSaturated;
      break;
    }
    exponent.magnitude = exponent.magnitude * radix64 + digit;
  }
  return exponent;
}

bool IsOne(const HugeFloat& magnitude) {
  return !magnitude.HasPoint() && magnitude.digits().size() == 1 && magnitude.digits()[0] == 1;
}

// base^n for n >= 1 by square and multiply over the bits of n, most
// significant first: at most 2 log2(n) exact products.
HugeFloat PowerOfMagnitude(const HugeFloat& base, std::uint64_t n) {
  HugeFloat result = base;
  for (int bit = std::bit_width(n) - 2; bit >= 0; --bit) {
    result = Multiply(result, result, kNoCut);
    if ((n >> bit) & 1) result = Multiply(result, base, kNoCut);
  }
  return result;
}

}  // namespace

bool IsIntegerPower(std::string_view base, std::string_view exponent, Radix radix) {
  return IsNumberOfBase(BaseOfRadix(radix), base) && IsNumberOfBase(BaseOfRadix(radix), exponent) &&
         exponent.find('.') == std::string_view::npos;
}

long double EstimatePowerDigits(const HugeFloat& base, std::uint64_t n) {
  const long double count = static_cast<long double>(n);
  long double digits = count * base.FractionDigits();
  const Digits& d = base.digits();
  if (base.IntegerDigits() > 0 && d.back() != 0) {  // abs(base) >= 1
    // log of the base in its radix: the integer digits less one, plus the
    // log of the leading digits read as a mantissa in [1, radix).
    long double mantissa = 0;
    long double scale = 1;
    for (std::size_t k = 0; k < 20 && k < d.size(); ++k) {
      mantissa += d[d.size() - 1 - k] * scale;
      scale /= base.radix();
    }
    const long double log_base =
        (base.IntegerDigits() - 1) + std::log(mantissa) / std::log((long double)base.radix());
    digits += count * log_base + 1;
  }
  return digits;
}

Outcome<std::string> ExactPower(std::string_view base_text, std::string_view exponent_text,
                                Radix radix, int precision) {
  const IntegerExponent exponent = ReadExponent(exponent_text, radix);
  HugeFloat base = HugeFloat::FromRadixText(WithoutBrackets(base_text), radix, precision);
  const bool negative = base.sign() < 0 && exponent.odd;
  base.set_sign(1);
  base.DropFractionZeros();
  base.DropLeadingZeros();

  // x^0 = 1 for every x, 0^0 included (as pow gives it).
  if (exponent.magnitude == 0) return std::string("1");
  if (base.IsZero()) {
    if (exponent.negative) return Refusal{RefusalId::kZeroDenominator, {}};
    return std::string("0");
  }
  if (IsOne(base)) return std::string(negative ? "-1" : "1");

  // 1 / base^n for an integer base with more than precision + 1 digits in
  // base^n has no digit within the precision: the quotient is 0, found
  // without building the divisor.
  const long double digits = EstimatePowerDigits(base, exponent.magnitude);
  if (exponent.negative && !base.HasPoint() && digits > precision + 2.0L) {
    return std::string(negative ? "-0" : "0");  // the sign Divide gives
  }

  // Bound the digits before any work; for a negative exponent this is the
  // divisor base^n (the quotient is cut by the precision anyway).
  if (digits > kMaxResultDigits) return ResultTooLong("power");

  HugeFloat power = PowerOfMagnitude(base, exponent.magnitude);
  power.set_sign(negative ? -1 : 1);
  if (exponent.negative)
    return Divide(HugeFloat(radix, 1, Digits{1}, -1), power, precision).ToText();
  power.DropFractionZeros();
  power.ApplyPrecision(precision);
  return power.ToText();
}

}  // namespace calvoro
