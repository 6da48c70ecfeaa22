// Steps shared by the arithmetic operations (internal to numeric/).
#pragma once

#include <cassert>

#include "numeric/huge_float.h"

namespace calvoro::detail {

inline void CheckSameRadix(const HugeFloat& a, const HugeFloat& b) {
  assert(a.radix() == b.radix() && "the operands of one operation share their radix");
  (void)a;
  (void)b;
}

// Normal form, then the precision cut: the last two steps of every operation.
inline HugeFloat Finish(HugeFloat x, int precision) {
  x.DropFractionZeros();
  x.ApplyPrecision(precision);
  return x;
}

// The digits of abs(x) as an integer: the point removed, leading zeros dropped.
inline Digits IntegerDigitsOf(const HugeFloat& x) {
  Digits d = x.digits();
  while (d.size() > 1 && d.back() == 0) d.pop_back();
  if (d.empty()) d.push_back(0);
  return d;
}

}  // namespace calvoro::detail
