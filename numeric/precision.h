// The digit counts derived from the precision setting P (the fraction digits
// the user asks for). Every place that turns P into a count of digits to
// keep goes through these names.
#pragma once

#include <concepts>

#include "numeric/radix.h"

namespace calvoro {

// The working precision: the arithmetic keeps one digit beyond the setting,
// so that the result shown to P digits is cut from P + 1.
constexpr int WorkingDigits(int setting) { return setting + 1; }

// The working precision plus `guard` digits, for intermediate values whose
// own cut must not reach the digits of the final result.
constexpr int GuardedDigits(int setting, int guard) { return WorkingDigits(setting) + guard; }

// A count of decimal digits as digits of `radix` holding at least as much:
// radix 10 and 16 keep the count, radix 8 takes (4 x digits) / 3, radix 2
// takes 4 x digits (four bits per hexadecimal digit).
template <std::integral T>
constexpr T ScaledDigits(Radix radix, T digits) {
  switch (radix) {
    case 8:
      return 4 * digits / 3;
    case 2:
      return 4 * digits;
    default:
      return digits;
  }
}

}  // namespace calvoro
