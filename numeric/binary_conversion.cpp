// Exact conversion between decimal and binary texts of HugeFloat numbers.
#include "numeric/binary_conversion.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "numeric/digit_text.h"

namespace calvoro {
namespace {

// Working precision of the table sums: far above the 100 fraction digits
// that 2^-100 needs, so no sum is ever cut.
constexpr int kSumPrecision = 1000;

// The decimal texts of base^first .. base^last, each computed exactly from
// the previous one.
std::vector<std::string> PowerTable(int base, int first, int last) {
  const HugeFloat factor = HugeFloat::FromInt(base);
  HugeFloat power = HugeFloat::FromInt(1);
  std::vector<std::string> table;
  for (int k = 0; k <= last; ++k) {
    if (k >= first) table.push_back(power.ToText());
    power = Multiply(power, factor, kSumPrecision);
  }
  return table;
}

// 2^0 .. 2^100.
const std::vector<std::string>& PowersOfTwo() {
  static const std::vector<std::string> table = PowerTable(2, 0, kConversionBitLimit);
  return table;
}

// 5^1 .. 5^100 (entry k - 1 holds 5^k).
const std::vector<std::string>& PowersOfFive() {
  static const std::vector<std::string> table = PowerTable(5, 1, kConversionBitLimit);
  return table;
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
int LeadingDigit(const HugeFloat& x, int radix) {
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

std::string DecimalToRadix(const HugeFloat& x, int radix, int fraction_digits) {
  if (radix != 2 && radix != 8 && radix != 10 && radix != 16) {
    throw std::invalid_argument("ERROR: Unsupported radix!");
  }
  std::vector<int> integer, fraction;
  SplitDigits(x, integer, fraction);
  std::string integer_text, fraction_text;
  for (int d : integer) integer_text.push_back(DigitChar(d));
  for (int d : fraction) fraction_text.push_back(DigitChar(d));
  const HugeFloat divisor = HugeFloat::FromInt(radix);

  // Integer part: the remainders of repeated integer division by the radix,
  // least significant digit first.
  std::string integer_digits;
  HugeFloat rest = HugeFloat::FromRadixText(integer_text.empty() ? "0" : integer_text, 10, 0);
  while (!rest.IsZero()) {
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
    const int exact = rest_fraction.FractionDigits() + 1;
    rest_fraction = Multiply(rest_fraction, divisor, exact);
    const int digit = LeadingDigit(rest_fraction, radix);
    fraction_digits_text.push_back(DigitChar(digit));
    rest_fraction = Subtract(rest_fraction, HugeFloat::FromInt(digit), exact);
  }
  return integer_digits + "." + fraction_digits_text;
}

std::string BinaryToDecimal(std::string_view binary) {
  const auto& twos = PowersOfTwo();
  const auto& fives = PowersOfFive();

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

  // Integer value: the sum of 2^k over the set bits, k = 0 next to the point.
  HugeFloat integer_value = HugeFloat::FromInt(0);
  for (std::size_t i = 0; i < integer.size(); ++i) {
    if (integer[i] != '1') continue;
    const std::size_t k = integer.size() - 1 - i;
    integer_value = Add(integer_value, HugeFloat::FromText(twos[k]), kSumPrecision);
  }

  // Fraction value: 2^-k = 5^k / 10^k, the digits of 5^k ending at the k-th
  // decimal place. At most 100 places, so every sum is exact.
  HugeFloat fraction_value = HugeFloat::FromInt(0);
  for (std::size_t i = 0; i < fraction.size(); ++i) {
    if (fraction[i] != '1') continue;
    const std::size_t k = i + 1;
    const std::string& five = fives[k - 1];
    const std::string term = "0." + std::string(k - five.size(), '0') + five;
    fraction_value = Add(fraction_value, HugeFloat::FromText(term), kSumPrecision);
  }

  std::string text = integer_value.ToText();
  if (!fraction_value.IsZero()) {
    const std::string digits = fraction_value.ToText();  // "0.ddd"
    text += digits.substr(digits.find('.'));
  }
  if (dropped) text.insert(0, kBitsDroppedPrefix);
  return text;
}

std::string_view PowerOfTwoText(int exponent) {
  if (exponent < 0 || exponent > kConversionBitLimit) {
    throw std::out_of_range("ERROR: Power of two outside the table!");
  }
  return PowersOfTwo()[exponent];
}

}  // namespace calvoro
