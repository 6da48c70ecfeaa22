// Exact addition and subtraction of HugeFloat numbers.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "numeric/huge_float.h"
#include "numeric/operation_steps.h"

namespace calvoro {
namespace {

using detail::CheckSameRadix;
using detail::Finish;

// Adds `size` digits of `other` into `digits` from place `from` on, the
// carry running on below place `count`; gives the carry out of it.
int AddDigitsInto(std::uint8_t* digits, std::size_t count, const std::uint8_t* other,
                  std::size_t from, std::size_t size, int radix) {
  int carry = 0;
  std::size_t place = from;
  for (; place < from + size; ++place) {
    // Branch-free: a carry comes with every other digit of random input.
    const int u = digits[place] + other[place - from] + carry;
    carry = u >= radix;
    digits[place] = static_cast<std::uint8_t>(u - (radix & -carry));
  }
  for (; carry && place < count; ++place) {
    carry = digits[place] == radix - 1;
    digits[place] = static_cast<std::uint8_t>(carry ? 0 : digits[place] + 1);
  }
  return carry;
}

// abs(x) + sign * abs(y) on the aligned layout of both; for a subtraction the
// caller guarantees abs(x) >= abs(y). The digits of x are copied to their
// places, those of y added or taken away over their own places, and the
// carry or borrow runs on above them.
HugeFloat CombineMagnitudes(const HugeFloat& x, const HugeFloat& y, bool subtract) {
  CheckSameRadix(x, y);
  const Radix radix = x.radix();
  const int fraction = std::max(x.FractionDigits(), y.FractionDigits());
  const int integer = std::max(x.IntegerDigits(), y.IntegerDigits());
  const std::size_t count = static_cast<std::size_t>(fraction + integer);
  const auto from_x = static_cast<std::size_t>(fraction - x.FractionDigits());
  const auto from_y = static_cast<std::size_t>(fraction - y.FractionDigits());
  Digits out(count + 1);
  std::uint8_t* digits = out.data();
  std::copy(x.digits().begin(), x.digits().end(), digits + from_x);
  const std::uint8_t* other = y.digits().data();
  int carry = 0;
  if (subtract) {
    std::size_t place = from_y;
    for (; place < from_y + y.digits().size(); ++place) {
      // Branch-free: a borrow comes with every other digit of random input.
      const int u = digits[place] - other[place - from_y] - carry;
      carry = u < 0;
      digits[place] = static_cast<std::uint8_t>(u + (radix & -carry));
    }
    for (; carry && place < count; ++place) {
      carry = digits[place] == 0;
      digits[place] = static_cast<std::uint8_t>(carry ? radix - 1 : digits[place] - 1);
    }
  } else {
    carry = AddDigitsInto(digits, count, other, from_y, y.digits().size(), radix);
  }
  if (carry && !subtract) {
    out[count] = 1;
  } else {
    out.pop_back();
  }
  HugeFloat result(radix, 1, std::move(out), fraction > 0 ? fraction : -1);
  result.DropLeadingZeros();
  return result;
}

// The empty digit array of an exact cancellation: prints "0" whatever its sign.
HugeFloat Cancelled(Radix radix, int sign) { return HugeFloat(radix, sign, Digits{}, -1); }

}  // namespace

// abs(x) + abs(y) into x for two integers as CombineMagnitudes gives it
// (leading zeros dropped); false, x unchanged, when either has a point.
bool AddIntegerMagnitudeInPlace(HugeFloat& x, const HugeFloat& y) {
  if (x.HasPoint() || y.HasPoint()) return false;
  CheckSameRadix(x, y);
  const Radix radix = x.radix();
  Digits& digits = x.digits_;
  const std::size_t count = std::max(digits.size(), y.digits().size());
  digits.resize(count + 1, 0);
  digits[count] = static_cast<std::uint8_t>(
      AddDigitsInto(digits.data(), count, y.digits().data(), 0, y.digits().size(), radix));
  while (digits.size() > 1 && digits.back() == 0) digits.pop_back();
  x.precision_ = 0;  // a computed value records none
  return true;
}

HugeFloat AddMagnitudes(const HugeFloat& x, const HugeFloat& y) {
  return CombineMagnitudes(x, y, false);
}

HugeFloat SubtractMagnitudes(const HugeFloat& x, const HugeFloat& y) {
  return CombineMagnitudes(x, y, true);
}

HugeFloat Add(const HugeFloat& a, const HugeFloat& b, int precision) {
  CheckSameRadix(a, b);
  if (a.sign() == b.sign()) {
    HugeFloat result = AddMagnitudes(a, b);
    result.set_sign(a.sign());
    return Finish(std::move(result), precision);
  }
  const int c = CompareMagnitude(a, b);
  if (c == 0) return Cancelled(a.radix(), -1);
  HugeFloat result = c > 0 ? SubtractMagnitudes(a, b) : SubtractMagnitudes(b, a);
  result.set_sign(c > 0 ? a.sign() : b.sign());
  return Finish(std::move(result), precision);
}

HugeFloat Add(HugeFloat&& a, const HugeFloat& b, int precision) {
  // An integer needs no normal form and no cut.
  if (a.sign() == b.sign() && AddIntegerMagnitudeInPlace(a, b)) return std::move(a);
  return Add(static_cast<const HugeFloat&>(a), b, precision);
}

HugeFloat Subtract(HugeFloat&& a, const HugeFloat& b, int precision) {
  if (a.sign() != b.sign() && AddIntegerMagnitudeInPlace(a, b)) return std::move(a);
  return Subtract(static_cast<const HugeFloat&>(a), b, precision);
}

HugeFloat Subtract(const HugeFloat& a, const HugeFloat& b, int precision) {
  CheckSameRadix(a, b);
  if (a.sign() != b.sign()) {
    HugeFloat result = AddMagnitudes(a, b);
    result.set_sign(a.sign());
    return Finish(std::move(result), precision);
  }
  const int c = CompareMagnitude(a, b);
  if (c == 0) return Cancelled(a.radix(), 1);
  HugeFloat result = c > 0 ? SubtractMagnitudes(a, b) : SubtractMagnitudes(b, a);
  // a - b with equal signs: the sign flips when abs(b) is the larger.
  result.set_sign(c > 0 ? a.sign() : -a.sign());
  return Finish(std::move(result), precision);
}

}  // namespace calvoro
