#include "tests/support/reference_number.h"

#include <algorithm>
#include <bit>
#include <stdexcept>
#include <utility>

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

Natural NaturalOf(const Digits& digits, int radix) {
  Natural n;
  for (std::size_t i = digits.size(); i-- > 0;)
    n.MultiplyAdd(static_cast<std::uint32_t>(radix), digits[i]);
  return n;
}

Digits DigitsOf(const Natural& n, int radix) {
  const std::string text = n.DigitText(radix);
  if (text.empty()) return Digits{0};
  Digits digits;
  for (std::size_t i = text.size(); i-- > 0;)
    digits.push_back(static_cast<std::uint8_t>(DigitValue(text[i])));
  return digits;
}

ReferenceNumber ValueOf(const HugeFloat& x) {
  return ReferenceNumber::Parse(x.ToText(), x.radix());
}

// The digits of n with a point `fraction` places from the right ("0.005").
std::string PointedText(const Natural& n, int radix, int fraction) {
  std::string text = n.DigitText(radix);
  if (text.empty()) text = "0";
  if (fraction <= 0) return text;
  const auto places = static_cast<std::size_t>(fraction);
  if (text.size() <= places) text.insert(0, places + 1 - text.size(), '0');
  text.insert(text.size() - places, 1, '.');
  return text;
}

}  // namespace

Digits MultiplyIntegers(const Digits& a, const Digits& b, int radix) {
  return DigitsOf(Natural::Product(NaturalOf(a, radix), NaturalOf(b, radix)), radix);
}

void DivideIntegers(const Digits& x, const Digits& y, int radix, Digits& quotient,
                    Digits& remainder) {
  Natural q, r;
  Natural::DivMod(NaturalOf(x, radix), NaturalOf(y, radix), q, r);
  quotient = DigitsOf(q, radix);
  remainder = DigitsOf(r, radix);
}

HugeFloat Multiply(const HugeFloat& a, const HugeFloat& b, int precision) {
  return HugeFloat::FromRadixText(ReferenceMultiply(a.ToText(), b.ToText(), a.radix(), precision),
                                  a.radix(), 0);
}

HugeFloat Divide(const HugeFloat& a, const HugeFloat& b, int precision) {
  RefuseZeroDivisor(b);
  return HugeFloat::FromRadixText(ReferenceDivide(a.ToText(), b.ToText(), a.radix(), precision),
                                  a.radix(), 0);
}

void LongDivide(const HugeFloat& x, const HugeFloat& y, HugeFloat& q, HugeFloat& r, int n) {
  RefuseZeroDivisor(y);
  const Radix radix = x.radix();
  const auto base = static_cast<std::uint32_t>(radix);
  n = std::max(n, 0);
  const ReferenceNumber a = ValueOf(x), b = ValueOf(y);
  const int fx = a.fraction_digits, fy = b.fraction_digits;
  // Both scaled to integers so that X / Y = x / y * radix^n.
  const Natural big_x =
      Natural::Product(a.magnitude, Natural::Power(base, fy < fx ? n : n + fy - fx));
  const Natural big_y = Natural::Product(b.magnitude, Natural::Power(base, fy < fx ? fx - fy : 0));
  Natural quotient, remainder;
  Natural::DivMod(big_x, big_y, quotient, remainder);
  q = HugeFloat::FromRadixText(PointedText(quotient, radix, n), radix, 0);
  r = HugeFloat::FromRadixText(PointedText(remainder, radix, 0), radix, 0);
}

HugeFloat Remainder(const HugeFloat& a, const HugeFloat& b) {
  if (b.sign() < 0 && !b.IsZero()) throw std::overflow_error("ERROR: Overflow in operator%!");
  RefuseZeroDivisor(b);
  const ReferenceNumber x = ValueOf(a), y = ValueOf(b);
  // abs(a) - k * abs(b) with k = floor(abs(a) / abs(b)), at the finer scale.
  ReferenceNumber rest;
  rest.radix = a.radix();
  rest.fraction_digits = std::max(x.fraction_digits, y.fraction_digits);
  Natural k;
  Natural::DivMod(x.ScaledTo(rest.fraction_digits), y.ScaledTo(rest.fraction_digits), k,
                  rest.magnitude);
  // The remainder takes the sign of a; a zero remainder stays a plain "0".
  rest.negative = a.sign() < 0 && !rest.magnitude.IsZero();
  return HugeFloat::FromRadixText(ResultText(rest, std::max(rest.fraction_digits, 1)), a.radix(),
                                  0);
}

HugeFloat IntegerQuotient(const HugeFloat& a, const HugeFloat& b) {
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
