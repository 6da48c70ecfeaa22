// Exact conversion between decimal and binary texts of HugeFloat numbers.
#include "numeric/binary_conversion.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "numeric/digit_text.h"
#include "numeric/limb_arithmetic.h"
#include "numeric/stop.h"

namespace calvoro {
namespace {

// value = value * factor + addend on decimal limbs (base 10^9).
void MultiplyAdd(limbs::Limbs& value, std::uint64_t factor, std::uint64_t addend) {
  constexpr std::uint64_t kBase = 1'000'000'000;
  std::uint64_t carry = addend;
  for (limbs::Limb& limb : value) {
    const std::uint64_t t = limb * factor + carry;
    limb = static_cast<limbs::Limb>(t % kBase);
    carry = t / kBase;
  }
  for (; carry != 0; carry /= kBase) value.push_back(static_cast<limbs::Limb>(carry % kBase));
}

// The value of a text of bits (most significant first) in decimal limbs.
limbs::Limbs DecimalOfBits(std::string_view bits) {
  limbs::Limbs value;
  for (char bit : bits) MultiplyAdd(value, 2, bit == '1' ? 1 : 0);
  return value;
}

// The digits of abs(x), most significant first, split at the point. The
// integer part loses its leading zeros (it may become empty); the fraction
// loses its trailing zeros.
void SplitDigits(const HugeFloat& x, std::vector<int>& integer, std::vector<int>& fraction) {
  const Digits& d = x.digits();  // least significant first
  const int below = x.FractionDigits();
  integer.clear();
  fraction.clear();
  for (int i = static_cast<int>(d.size()) - 1; i >= below; --i) {
    if (integer.empty() && d[i] == 0) continue;
    integer.push_back(d[i]);
  }
  for (int i = below - 1; i >= 0; --i) fraction.push_back(d[i]);
  while (!fraction.empty() && fraction.back() == 0) fraction.pop_back();
}

// The largest digit value d of the radix with d <= x (0 <= x < radix),
// found by comparing against the digit values.
int LeadingDigit(const HugeFloat& x, Radix radix) {
  for (int d = radix - 1; d > 0; --d) {
    if (CompareMagnitude(x, HugeFloat::FromInt(d)) >= 0) return d;
  }
  return 0;
}

}  // namespace

std::string DecimalToBinary(const HugeFloat& x, int fraction_bits) {
  std::vector<int> integer, fraction;
  SplitDigits(x, integer, fraction);

  // Integer part: halve the decimal digit text; each halving's carry is the
  // next bit, least significant first.
  std::string integer_bits;
  std::size_t start = 0;  // first digit still in use (leading zeros skipped)
  while (start < integer.size()) {
    ThrowIfStopped();
    int carry = 0;
    for (std::size_t i = start; i < integer.size(); ++i) {
      const int value = integer[i] + 10 * carry;
      integer[i] = value / 2;
      carry = value % 2;
    }
    integer_bits.push_back(static_cast<char>('0' + carry));
    while (start < integer.size() && integer[start] == 0) ++start;
  }
  if (integer_bits.empty()) integer_bits.push_back('0');
  std::reverse(integer_bits.begin(), integer_bits.end());

  // Fraction part: double the decimal fraction text; the carry out of its
  // first digit is the next bit, most significant first. Stops when the
  // expansion is exact or the bit limit is reached (truncation).
  std::string fraction_bits_text;
  while (!fraction.empty() && static_cast<int>(fraction_bits_text.size()) < fraction_bits) {
    ThrowIfStopped();
    int carry = 0;
    for (std::size_t i = fraction.size(); i-- > 0;) {
      const int value = 2 * fraction[i] + carry;
      fraction[i] = value % 10;
      carry = value / 10;
    }
    fraction_bits_text.push_back(static_cast<char>('0' + carry));
    while (!fraction.empty() && fraction.back() == 0) fraction.pop_back();
  }
  return integer_bits + "." + fraction_bits_text;
}

std::string DecimalToRadix(const HugeFloat& x, Radix radix, int fraction_digits) {
  std::vector<int> integer, fraction;
  SplitDigits(x, integer, fraction);
  std::string integer_text, fraction_text;
  for (int d : integer) integer_text.push_back(DigitChar(d));
  for (int d : fraction) fraction_text.push_back(DigitChar(d));
  const HugeFloat divisor = HugeFloat::FromInt(radix);

  // Integer part: the remainders of repeated integer division by the radix,
  // least significant digit first.
  std::string integer_digits;
  HugeFloat rest =
      HugeFloat::FromRadixText(integer_text.empty() ? "0" : integer_text, Radix::kDecimal, 0);
  while (!rest.IsZero()) {
    ThrowIfStopped();
    const HugeFloat digit = Remainder(rest, divisor);
    integer_digits.push_back(DigitChar(LeadingDigit(digit, radix)));
    rest.set_precision(0);  // integer quotient
    IntegerQuotientInPlace(rest, divisor);
  }
  if (integer_digits.empty()) integer_digits.push_back('0');
  std::reverse(integer_digits.begin(), integer_digits.end());

  // Fraction part: multiply by the radix; the integer part that appears is
  // the next digit. Multiplying by an integer adds no fraction digit, so a
  // precision of the current fraction length keeps every product exact.
  std::string fraction_digits_text;
  HugeFloat rest_fraction = HugeFloat::FromText("0." + fraction_text);
  while (!rest_fraction.IsZero() &&
         static_cast<int>(fraction_digits_text.size()) < fraction_digits) {
    ThrowIfStopped();
    const int exact = rest_fraction.FractionDigits() + 1;
    rest_fraction = Multiply(rest_fraction, divisor, exact);
    const int digit = LeadingDigit(rest_fraction, radix);
    fraction_digits_text.push_back(DigitChar(digit));
    rest_fraction = Subtract(rest_fraction, HugeFloat::FromInt(digit), exact);
  }
  return integer_digits + "." + fraction_digits_text;
}

std::string BinaryToDecimal(std::string_view binary) {
  const auto point = binary.find('.');
  std::string_view integer = binary.substr(0, point);
  std::string_view fraction =
      point == std::string_view::npos ? std::string_view() : binary.substr(point + 1);
  // Zero bits above the integer or below the fraction carry no value; only
  // significant bits count against the limits.
  while (!integer.empty() && integer.front() == '0') integer.remove_prefix(1);
  while (!fraction.empty() && fraction.back() == '0') fraction.remove_suffix(1);

  const std::size_t limit = kConversionBitLimit;
  bool dropped = false;
  if (integer.size() > limit) {
    integer = integer.substr(integer.size() - limit);
    dropped = true;
  }
  if (fraction.size() > limit) {
    fraction = fraction.substr(0, limit);
    dropped = true;
  }

  std::string text = limbs::Text(DecimalOfBits(integer), Radix::kDecimal);
  // The fraction F / 2^f is F * 5^f / 10^f: the digits of F * 5^f written
  // out to f decimal places.
  limbs::Limbs scaled = DecimalOfBits(fraction);
  if (!scaled.empty()) {
    for (std::size_t k = 0; k < fraction.size(); ++k) MultiplyAdd(scaled, 5, 0);
    std::string digits(fraction.size(), '0');
    limbs::WriteDigits(scaled, Radix::kDecimal, 0, digits.size(), digits.data());
    digits.erase(std::min(digits.find_last_not_of('0') + 1, digits.size()));
    text.append(".").append(digits);
  }
  if (dropped) text.insert(0, kBitsDroppedPrefix);
  return text;
}

std::string PowerOfTwoText(int exponent) {
  if (exponent < 0 || exponent > kConversionBitLimit) {
    throw std::out_of_range("ERROR: Power of two outside the table!");
  }
  return limbs::Text(DecimalOfBits("1" + std::string(static_cast<std::size_t>(exponent), '0')),
                     Radix::kDecimal);
}

}  // namespace calvoro
