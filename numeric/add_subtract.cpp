// Exact addition and subtraction of HugeFloat numbers.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "numeric/huge_float.h"
#include "numeric/operation_steps.h"

namespace calvoro {
namespace {

using detail::CheckSameRadix;
using detail::Finish;

// abs(x) + sign * abs(y) on the aligned layout of both; for a subtraction the
// caller guarantees abs(x) >= abs(y). One pass over plain digit arrays, each
// read from the place where its digits begin.
HugeFloat CombineMagnitudes(const HugeFloat& x, const HugeFloat& y, bool subtract) {
  CheckSameRadix(x, y);
  const Radix radix = x.radix();
  const int fraction = std::max(x.FractionDigits(), y.FractionDigits());
  const int integer = std::max(x.IntegerDigits(), y.IntegerDigits());
  const std::size_t count = static_cast<std::size_t>(fraction + integer);
  // The digits of a number as an array of `count` places from the lowest:
  // zeros below its own lowest place and above its highest.
  struct Aligned {
    const std::uint8_t* digits;
    std::size_t from, to;  // its own digits occupy places [from, to)
    int At(std::size_t place) const {
      return place >= from && place < to ? digits[place - from] : 0;
    }
  };
  const auto aligned = [&](const HugeFloat& v) {
    const auto from = static_cast<std::size_t>(fraction - v.FractionDigits());
    return Aligned{v.digits().data(), from, from + v.digits().size()};
  };
  const Aligned a = aligned(x), b = aligned(y);
  Digits out(count + 1);
  int carry = 0;
  if (subtract) {
    for (std::size_t place = 0; place < count; ++place) {
      int u = a.At(place) - b.At(place) - carry;
      carry = u < 0;
      out[place] = static_cast<std::uint8_t>(u + (carry ? radix : 0));
    }
  } else {
    for (std::size_t place = 0; place < count; ++place) {
      int u = a.At(place) + b.At(place) + carry;
      carry = u >= radix;
      out[place] = static_cast<std::uint8_t>(u - (carry ? radix : 0));
    }
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
