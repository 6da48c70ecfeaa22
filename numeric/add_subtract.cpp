// Exact addition and subtraction of HugeFloat numbers.
#include <algorithm>

#include "numeric/huge_float.h"
#include "numeric/operation_steps.h"

namespace calvoro {
namespace {

using detail::CheckSameRadix;
using detail::Finish;

// The digit of x at a place value (0 = lowest integer digit, -1 = first
// fraction digit), zero outside the stored digits.
inline int DigitAt(const HugeFloat& x, int place) {
  const int index = place + x.FractionDigits();
  return index >= 0 && index < static_cast<int>(x.digits().size()) ? x.digits()[index] : 0;
}

// abs(x) + sign * abs(y) on the aligned layout of both; for a subtraction the
// caller guarantees abs(x) >= abs(y).
HugeFloat CombineMagnitudes(const HugeFloat& x, const HugeFloat& y, bool subtract) {
  CheckSameRadix(x, y);
  const int radix = x.radix();
  const int fraction = std::max(x.FractionDigits(), y.FractionDigits());
  const int integer = std::max(x.IntegerDigits(), y.IntegerDigits());
  Digits out;
  out.reserve(static_cast<std::size_t>(fraction + integer + 1));
  int carry = 0;
  for (int place = -fraction; place < integer; ++place) {
    int u = subtract ? DigitAt(x, place) - DigitAt(y, place) - carry
                     : DigitAt(x, place) + DigitAt(y, place) + carry;
    if (subtract) {
      carry = u < 0 ? 1 : 0;
      if (u < 0) u += radix;
    } else {
      carry = u >= radix ? 1 : 0;
      if (u >= radix) u -= radix;
    }
    out.push_back(static_cast<std::uint8_t>(u));
  }
  if (carry && !subtract) out.push_back(1);
  HugeFloat result(radix, 1, std::move(out), fraction > 0 ? fraction : -1);
  result.DropLeadingZeros();
  return result;
}

// The empty digit array of an exact cancellation: prints "0" whatever its sign.
HugeFloat Cancelled(int radix, int sign) { return HugeFloat(radix, sign, Digits{}, -1); }

}  // namespace

HugeFloat AddMagnitudes(const HugeFloat& x, const HugeFloat& y) {
  return CombineMagnitudes(x, y, false);
}

HugeFloat SubtractMagnitudes(const HugeFloat& x, const HugeFloat& y) {
  return CombineMagnitudes(x, y, true);
}

HugeFloat Add(const HugeFloat& a, const HugeFloat& b, int precision) {
  CheckSameRadix(a, b);
  HugeFloat result(a.radix());
  if (a.sign() == b.sign()) {
    result = AddMagnitudes(a, b);
    result.set_sign(a.sign());
  } else {
    const int c = CompareMagnitude(a, b);
    if (c == 0) return Cancelled(a.radix(), -1);
    result = c > 0 ? SubtractMagnitudes(a, b) : SubtractMagnitudes(b, a);
    result.set_sign(c > 0 ? a.sign() : b.sign());
  }
  return Finish(std::move(result), precision);
}

HugeFloat Subtract(const HugeFloat& a, const HugeFloat& b, int precision) {
  CheckSameRadix(a, b);
  HugeFloat result(a.radix());
  if (a.sign() != b.sign()) {
    result = AddMagnitudes(a, b);
    result.set_sign(a.sign());
  } else {
    const int c = CompareMagnitude(a, b);
    if (c == 0) return Cancelled(a.radix(), 1);
    result = c > 0 ? SubtractMagnitudes(a, b) : SubtractMagnitudes(b, a);
    // a - b with equal signs: the sign flips when abs(b) is the larger.
    result.set_sign(c > 0 ? a.sign() : -a.sign());
  }
  return Finish(std::move(result), precision);
}

}  // namespace calvoro
