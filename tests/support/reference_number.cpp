#include "tests/support/reference_number.h"

#include <algorithm>
#include <bit>
#include <stdexcept>
#include <utility>

#include "numeric/operation_steps.h"

namespace calvoro::testing {

// ---------------------------------------------------------------- Natural

Natural::Natural(std::uint64_t value) {
  limbs_.push_back(static_cast<std::uint32_t>(value));
  limbs_.push_back(static_cast<std::uint32_t>(value >> 32));
  Trim();
}

void Natural::Trim() {
  while (!limbs_.empty() && limbs_.back() == 0) limbs_.pop_back();
}

std::size_t Natural::BitLength() const {
  if (limbs_.empty()) return 0;
  return (limbs_.size() - 1) * 32 + static_cast<std::size_t>(std::bit_width(limbs_.back()));
}

bool Natural::Bit(std::size_t index) const {
  const std::size_t limb = index / 32;
  if (limb >= limbs_.size()) return false;
  return ((limbs_[limb] >> (index % 32)) & 1u) != 0;
}

void Natural::MultiplyAdd(std::uint32_t factor, std::uint32_t addend) {
  std::uint64_t carry = addend;
  for (auto& limb : limbs_) {
    const std::uint64_t t = static_cast<std::uint64_t>(limb) * factor + carry;
    limb = static_cast<std::uint32_t>(t);
    carry = t >> 32;
  }
  if (carry != 0) limbs_.push_back(static_cast<std::uint32_t>(carry));
  Trim();
}

std::uint32_t Natural::DivideSmall(std::uint32_t divisor) {
  if (divisor == 0) throw std::invalid_argument("Natural: division by zero");
  std::uint64_t rest = 0;
  for (std::size_t i = limbs_.size(); i-- > 0;) {
    const std::uint64_t t = (rest << 32) | limbs_[i];
    limbs_[i] = static_cast<std::uint32_t>(t / divisor);
    rest = t % divisor;
  }
  Trim();
  return static_cast<std::uint32_t>(rest);
}

int Natural::Compare(const Natural& a, const Natural& b) {
  if (a.limbs_.size() != b.limbs_.size()) return a.limbs_.size() < b.limbs_.size() ? -1 : 1;
  for (std::size_t i = a.limbs_.size(); i-- > 0;) {
    if (a.limbs_[i] != b.limbs_[i]) return a.limbs_[i] < b.limbs_[i] ? -1 : 1;
  }
  return 0;
}

Natural Natural::Sum(const Natural& a, const Natural& b) {
  Natural r;
  const std::size_t n = std::max(a.limbs_.size(), b.limbs_.size());
  r.limbs_.resize(n + 1, 0);
  std::uint64_t carry = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint64_t x = i < a.limbs_.size() ? a.limbs_[i] : 0;
    const std::uint64_t y = i < b.limbs_.size() ? b.limbs_[i] : 0;
    const std::uint64_t t = x + y + carry;
    r.limbs_[i] = static_cast<std::uint32_t>(t);
    carry = t >> 32;
  }
  r.limbs_[n] = static_cast<std::uint32_t>(carry);
  r.Trim();
  return r;
}

Natural Natural::Difference(const Natural& a, const Natural& b) {
  if (Compare(a, b) < 0) throw std::invalid_argument("Natural: negative difference");
  Natural r = a;
  std::int64_t borrow = 0;
  for (std::size_t i = 0; i < r.limbs_.size(); ++i) {
    const std::int64_t y = i < b.limbs_.size() ? b.limbs_[i] : 0;
    std::int64_t t = static_cast<std::int64_t>(r.limbs_[i]) - y - borrow;
    borrow = t < 0 ? 1 : 0;
    if (t < 0) t += std::int64_t{1} << 32;
    r.limbs_[i] = static_cast<std::uint32_t>(t);
  }
  r.Trim();
  return r;
}

Natural Natural::Product(const Natural& a, const Natural& b) {
  Natural r;
  if (a.IsZero() || b.IsZero()) return r;
  r.limbs_.assign(a.limbs_.size() + b.limbs_.size(), 0);
  for (std::size_t i = 0; i < a.limbs_.size(); ++i) {
    std::uint64_t carry = 0;
    for (std::size_t j = 0; j < b.limbs_.size(); ++j) {
      const std::uint64_t t =
          static_cast<std::uint64_t>(a.limbs_[i]) * b.limbs_[j] + r.limbs_[i + j] + carry;
      r.limbs_[i + j] = static_cast<std::uint32_t>(t);
      carry = t >> 32;
    }
    r.limbs_[i + b.limbs_.size()] = static_cast<std::uint32_t>(carry);
  }
  r.Trim();
  return r;
}

void Natural::DivMod(const Natural& a, const Natural& b, Natural& quotient, Natural& remainder) {
  if (b.IsZero()) throw std::invalid_argument("Natural: division by zero");
  quotient = Natural();
  remainder = Natural();
  if (Compare(a, b) < 0) {
    remainder = a;
    return;
  }
  const std::size_t bits = a.BitLength();
  quotient.limbs_.assign(bits / 32 + 1, 0);
  for (std::size_t i = bits; i-- > 0;) {
    remainder.MultiplyAdd(2, a.Bit(i) ? 1 : 0);
    if (Compare(remainder, b) >= 0) {
      remainder = Difference(remainder, b);
      quotient.limbs_[i / 32] |= std::uint32_t{1} << (i % 32);
    }
  }
  quotient.Trim();
}

Natural Natural::Power(std::uint32_t base, int exponent) {
  Natural r(1);
  for (int i = 0; i < exponent; ++i) r.MultiplyAdd(base, 0);
  return r;
}

std::string Natural::DigitText(int radix) const {
  // Peel off as many digits at a time as fit into one 32-bit divisor.
  int per_chunk = 0;
  std::uint64_t chunk = 1;
  while (chunk * static_cast<std::uint64_t>(radix) <= 0xFFFFFFFFu) {
    chunk *= static_cast<std::uint64_t>(radix);
    ++per_chunk;
  }
  static constexpr char kDigitChars[] = "0123456789ABCDEF";
  std::string reversed;
  Natural rest = *this;
  while (!rest.IsZero()) {
    std::uint32_t part = rest.DivideSmall(static_cast<std::uint32_t>(chunk));
    for (int i = 0; i < per_chunk; ++i) {
      reversed.push_back(kDigitChars[part % static_cast<std::uint32_t>(radix)]);
      part /= static_cast<std::uint32_t>(radix);
    }
  }
  while (!reversed.empty() && reversed.back() == '0') reversed.pop_back();
  return std::string(reversed.rbegin(), reversed.rend());
}

// ---------------------------------------------------------- ReferenceNumber

namespace {

void CheckRadix(int radix) {
  if (radix != 2 && radix != 8 && radix != 10 && radix != 16) {
    throw std::invalid_argument("reference: unsupported radix");
  }
}

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

ReferenceNumber ReferenceNumber::Parse(std::string_view text, int radix) {
  CheckRadix(radix);
  ReferenceNumber number;
  number.radix = radix;
  std::size_t i = 0;
  if (!text.empty() && text[0] == '-') {
    number.negative = true;
    i = 1;
  }
  bool seen_point = false;
  int digit_count = 0;
  for (; i < text.size(); ++i) {
    if (text[i] == '.') {
      if (seen_point) throw std::invalid_argument("reference: two points in " + std::string(text));
      seen_point = true;
      continue;
    }
    const int d = DigitValue(text[i]);
    if (d < 0 || d >= radix) {
      throw std::invalid_argument("reference: bad digit in " + std::string(text));
    }
    number.magnitude.MultiplyAdd(static_cast<std::uint32_t>(radix), static_cast<std::uint32_t>(d));
    ++digit_count;
    if (seen_point) ++number.fraction_digits;
  }
  if (digit_count == 0) throw std::invalid_argument("reference: no digit in " + std::string(text));
  return number;
}

Natural ReferenceNumber::ScaledTo(int digits) const {
  if (digits < fraction_digits) throw std::invalid_argument("reference: cannot scale down");
  return Natural::Product(
      magnitude, Natural::Power(static_cast<std::uint32_t>(radix), digits - fraction_digits));
}

int ReferenceScaledPrecision(int radix, int precision) {
  switch (radix) {
    case 8:
      return precision * 4 / 3;
    case 2:
      return precision * 4;
    default:
      return precision;
  }
}

namespace {

// Drops the `count` least significant digits of n (truncation).
Natural DropDigits(const Natural& n, int radix, int count) {
  Natural q;
  Natural r;
  Natural::DivMod(n, Natural::Power(static_cast<std::uint32_t>(radix), count), q, r);
  return q;
}

// The printed result of an operation whose exact value is `value`: the
// shortest form of the value, then cut by the precision rule. The cut keeps
// the digits it keeps, trailing zeros included.
std::string ResultText(ReferenceNumber value, int precision) {
  if (precision < 1) throw std::invalid_argument("reference: precision below 1");
  const auto radix = static_cast<std::uint32_t>(value.radix);
  if (value.magnitude.IsZero()) return value.negative ? "-0" : "0";

  // Shortest exact form: no fraction digit that is a trailing zero.
  while (value.fraction_digits > 0) {
    Natural shorter = value.magnitude;
    if (shorter.DivideSmall(radix) != 0) break;
    value.magnitude = std::move(shorter);
    --value.fraction_digits;
  }

  if (value.fraction_digits > 0) {
    const bool below_one =
        Natural::Compare(value.magnitude, Natural::Power(radix, value.fraction_digits)) < 0;
    if (!below_one) {
      // At most `precision` fraction digits.
      if (value.fraction_digits > precision) {
        value.magnitude =
            DropDigits(value.magnitude, value.radix, value.fraction_digits - precision);
        value.fraction_digits = precision;
      }
    } else {
      // At most `precision` significant digits; below one, every digit of the
      // scaled integer is a significant fraction digit.
      const int significant = static_cast<int>(value.magnitude.DigitText(value.radix).size());
      if (significant > precision) {
        value.magnitude = DropDigits(value.magnitude, value.radix, significant - precision);
        value.fraction_digits -= significant - precision;
      }
    }
  }

  std::string digits = value.magnitude.DigitText(value.radix);
  const auto fraction = static_cast<std::size_t>(value.fraction_digits);
  if (digits.size() <= fraction) digits.insert(0, fraction + 1 - digits.size(), '0');
  if (fraction > 0) digits.insert(digits.size() - fraction, 1, '.');
  return (value.negative ? "-" : "") + digits;
}

// a + b exactly; the sign of a zero sum is left to the caller.
ReferenceNumber ExactSum(const ReferenceNumber& a, const ReferenceNumber& b) {
  ReferenceNumber sum;
  sum.radix = a.radix;
  sum.fraction_digits = std::max(a.fraction_digits, b.fraction_digits);
  const Natural x = a.ScaledTo(sum.fraction_digits);
  const Natural y = b.ScaledTo(sum.fraction_digits);
  if (a.negative == b.negative) {
    sum.magnitude = Natural::Sum(x, y);
    sum.negative = a.negative;
  } else if (Natural::Compare(x, y) >= 0) {
    sum.magnitude = Natural::Difference(x, y);
    sum.negative = a.negative;
  } else {
    sum.magnitude = Natural::Difference(y, x);
    sum.negative = b.negative;
  }
  return sum;
}

}  // namespace

std::string ReferenceAdd(std::string_view a, std::string_view b, int radix, int precision) {
  const ReferenceNumber x = ReferenceNumber::Parse(a, radix);
  const ReferenceNumber y = ReferenceNumber::Parse(b, radix);
  ReferenceNumber sum = ExactSum(x, y);
  // A zero sum is negative only when both operands carry the minus sign.
  if (sum.magnitude.IsZero()) sum.negative = x.negative && y.negative;
  return ResultText(sum, precision);
}

std::string ReferenceSubtract(std::string_view a, std::string_view b, int radix, int precision) {
  const ReferenceNumber x = ReferenceNumber::Parse(a, radix);
  ReferenceNumber y = ReferenceNumber::Parse(b, radix);
  const bool y_negative = y.negative;
  y.negative = !y.negative;
  ReferenceNumber difference = ExactSum(x, y);
  // A zero difference is negative only for a negative minus a positive operand.
  if (difference.magnitude.IsZero()) difference.negative = x.negative && !y_negative;
  return ResultText(difference, precision);
}

std::string ReferenceMultiply(std::string_view a, std::string_view b, int radix, int precision) {
  const ReferenceNumber x = ReferenceNumber::Parse(a, radix);
  const ReferenceNumber y = ReferenceNumber::Parse(b, radix);
  ReferenceNumber product;
  product.radix = radix;
  product.negative = x.negative != y.negative;  // also for a zero product
  product.magnitude = Natural::Product(x.magnitude, y.magnitude);
  product.fraction_digits = x.fraction_digits + y.fraction_digits;
  return ResultText(product, precision);
}

std::string ReferenceDivide(std::string_view a, std::string_view b, int radix, int precision) {
  const ReferenceNumber x = ReferenceNumber::Parse(a, radix);
  const ReferenceNumber y = ReferenceNumber::Parse(b, radix);
  if (y.magnitude.IsZero()) throw std::invalid_argument("reference: zero divisor");
  if (precision < 1) throw std::invalid_argument("reference: precision below 1");
  if (x.magnitude.IsZero()) return "0";  // a zero dividend gives a positive zero
  // trunc(|x| / |y| * radix^precision) = (mx * radix^(fy + precision)) / (my * radix^fx)
  const auto r = static_cast<std::uint32_t>(radix);
  const Natural numerator =
      Natural::Product(x.magnitude, Natural::Power(r, y.fraction_digits + precision));
  const Natural denominator = Natural::Product(y.magnitude, Natural::Power(r, x.fraction_digits));
  ReferenceNumber quotient;
  quotient.radix = radix;
  quotient.negative = x.negative != y.negative;  // also when truncated to zero
  quotient.fraction_digits = precision;
  Natural rest;
  Natural::DivMod(numerator, denominator, quotient.magnitude, rest);
  return ResultText(quotient, precision);
}

std::string ReferenceOperate(char op, std::string_view a, std::string_view b, int radix,
                             int precision) {
  switch (op) {
    case '+':
      return ReferenceAdd(a, b, radix, precision);
    case '-':
      return ReferenceSubtract(a, b, radix, precision);
    case '*':
      return ReferenceMultiply(a, b, radix, precision);
    case '/':
      return ReferenceDivide(a, b, radix, precision);
    default:
      throw std::invalid_argument("reference: unknown operator");
  }
}

}  // namespace calvoro::testing

namespace calvoro::testing::schoolbook {

namespace {

void RefuseZeroDivisor(const HugeFloat& divisor) {
  if (divisor.IsZero()) throw std::domain_error("ERROR: Division by zero!");
}

// -1, 0, 1 comparing integer digit arrays without leading zeros.
int CompareIntegers(const Digits& x, const Digits& y) {
  if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
  for (std::size_t i = x.size(); i-- > 0;) {
    if (x[i] != y[i]) return x[i] < y[i] ? -1 : 1;
  }
  return 0;
}

// x -= y for integers with x >= y; leading zeros of x dropped afterwards.
void SubtractInPlace(Digits& x, const Digits& y, int radix) {
  int borrow = 0;
  for (std::size_t i = 0; i < x.size(); ++i) {
    int u = x[i] - (i < y.size() ? y[i] : 0) - borrow;
    borrow = u < 0;
    x[i] = static_cast<std::uint8_t>(u < 0 ? u + radix : u);
    if (i >= y.size() && !borrow) break;
  }
  while (x.size() > 1 && x.back() == 0) x.pop_back();
}

// Appends `count` zero digits below an integer digit array (times radix^count).
Digits Shifted(Digits d, int count) {
  if (count > 0 && !(d.size() == 1 && d[0] == 0)) d.insert(d.begin(), count, 0);
  return d;
}

}  // namespace

// The product of two integer digit arrays, least significant first. Column
// sums are accumulated first and carried once: the same digits as summing
// one shifted partial product per digit, in one pass.
Digits MultiplyIntegers(const Digits& a, const Digits& b, int radix) {
  std::vector<std::uint64_t> columns(a.size() + b.size(), 0);
  for (std::size_t j = 0; j < b.size(); ++j) {
    if (b[j] == 0) continue;
    for (std::size_t i = 0; i < a.size(); ++i) columns[i + j] += std::uint64_t{a[i]} * b[j];
  }
  Digits product(columns.size());
  std::uint64_t carry = 0;
  for (std::size_t k = 0; k < columns.size(); ++k) {
    const std::uint64_t u = columns[k] + carry;
    product[k] = static_cast<std::uint8_t>(u % radix);
    carry = u / radix;
  }
  while (carry) {
    product.push_back(static_cast<std::uint8_t>(carry % radix));
    carry /= radix;
  }
  while (product.size() > 1 && product.back() == 0) product.pop_back();
  return product;
}

// Schoolbook division of integer digit arrays: each quotient digit is found
// by subtracting the divisor at most radix - 1 times from the running
// remainder, so the cost grows with the product of the lengths.
void DivideIntegers(const Digits& x, const Digits& y, int radix, Digits& quotient,
                    Digits& remainder) {
  quotient.assign(x.size(), 0);
  remainder.assign(1, 0);
  for (std::size_t i = x.size(); i-- > 0;) {
    // remainder = remainder * radix + x[i]
    if (remainder.size() == 1 && remainder[0] == 0) {
      remainder[0] = x[i];
    } else {
      remainder.insert(remainder.begin(), x[i]);
    }
    int digit = 0;
    while (CompareIntegers(remainder, y) >= 0) {
      SubtractInPlace(remainder, y, radix);
      ++digit;
    }
    quotient[i] = static_cast<std::uint8_t>(digit);
  }
  while (quotient.size() > 1 && quotient.back() == 0) quotient.pop_back();
}

HugeFloat Multiply(const HugeFloat& a, const HugeFloat& b, int precision) {
  detail::CheckSameRadix(a, b);
  const int sign = a.sign() * b.sign();  // a zero product of unlike signs prints "-0"
  if (a.IsZero() || b.IsZero())
    return detail::Finish(HugeFloat(a.radix(), sign, Digits{0}, -1), precision);

  Digits product =
      MultiplyIntegers(detail::IntegerDigitsOf(a), detail::IntegerDigitsOf(b), a.radix());
  const int fraction = a.FractionDigits() + b.FractionDigits();
  if (fraction >= static_cast<int>(product.size())) product.resize(fraction + 1, 0);  // "0." above
  HugeFloat result(a.radix(), sign, std::move(product), fraction > 0 ? fraction : -1);
  result.DropFractionZeros();
  result.DropLeadingZeros();
  return detail::Finish(std::move(result), precision);
}

void LongDivide(const HugeFloat& x, const HugeFloat& y, HugeFloat& q, HugeFloat& r, int n) {
  detail::CheckSameRadix(x, y);
  RefuseZeroDivisor(y);
  const int radix = x.radix();
  if (n < 0) n = 0;
  const int fx = x.FractionDigits();
  const int fy = y.FractionDigits();
  // Scale both to integers so that X / Y = x / y * radix^n.
  const Digits big_x = Shifted(detail::IntegerDigitsOf(x), fy < fx ? n : n + fy - fx);
  const Digits big_y = Shifted(detail::IntegerDigitsOf(y), fy < fx ? fx - fy : 0);

  Digits quotient, remainder;
  DivideIntegers(big_x, big_y, radix, quotient, remainder);
  if (n > 0 && static_cast<int>(quotient.size()) <= n) quotient.resize(n + 1, 0);  // 0.00ddd
  q = HugeFloat(radix, 1, std::move(quotient), n > 0 ? n : -1);
  q.DropLeadingZeros();
  r = HugeFloat(radix, 1, std::move(remainder), -1);
}

HugeFloat Divide(const HugeFloat& a, const HugeFloat& b, int precision) {
  detail::CheckSameRadix(a, b);
  RefuseZeroDivisor(b);
  if (a.IsZero()) return HugeFloat(a.radix(), 1, Digits{0}, -1);
  HugeFloat q(a.radix()), r(a.radix());
  schoolbook::LongDivide(a, b, q, r, precision);
  q.set_sign(a.sign() * b.sign());
  return detail::Finish(std::move(q), precision);
}

HugeFloat Remainder(const HugeFloat& a, const HugeFloat& b) {
  detail::CheckSameRadix(a, b);
  if (b.sign() < 0 && !b.IsZero()) throw std::overflow_error("ERROR: Overflow in operator%!");
  RefuseZeroDivisor(b);
  if (a.IsZero()) return HugeFloat(a.radix(), 1, Digits{0}, -1);
  // With n = 0 both operands are scaled by radix^max(fa, fb), so the integer
  // remainder of the scaled division is abs(a) - k*abs(b) at that scale, with
  // k = floor(abs(a) / abs(b)) found digit by digit.
  HugeFloat q(a.radix()), r(a.radix());
  schoolbook::LongDivide(a, b, q, r, 0);
  const int scale = std::max(a.FractionDigits(), b.FractionDigits());
  Digits digits = r.digits();
  if (scale > 0 && static_cast<int>(digits.size()) <= scale) digits.resize(scale + 1, 0);
  HugeFloat result(a.radix(), 1, std::move(digits), scale > 0 ? scale : -1);
  result.DropFractionZeros();
  result.DropLeadingZeros();
  // The remainder takes the sign of a; a zero remainder stays a plain "0".
  if (!result.IsZero()) result.set_sign(a.sign());
  return result;
}

HugeFloat IntegerQuotient(const HugeFloat& a, const HugeFloat& b) {
  detail::CheckSameRadix(a, b);
  if (b.sign() < 0 && !b.IsZero()) throw std::overflow_error("ERROR: Overflow in operator/!");
  RefuseZeroDivisor(b);
  HugeFloat q(a.radix()), r(a.radix());
  if (!a.IsZero()) {
    schoolbook::LongDivide(a, b, q, r, a.precision());
    q.set_sign(a.sign() * b.sign());
  }
  q.set_precision(a.precision());
  return q;
}

}  // namespace calvoro::testing::schoolbook
