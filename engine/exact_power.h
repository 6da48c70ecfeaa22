// The power operator with an integer exponent, computed exactly on HugeFloat
// numbers and cut once by the working precision, as a product is.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/apply_operator.h"
#include "engine/refusal.h"
#include "numeric/huge_float.h"

namespace calvoro {

// Whether base ^ exponent takes the exact path: both operands are numbers of
// the radix (one pair of brackets and one sign allowed) and the exponent has
// no point.
bool IsIntegerPower(std::string_view base, std::string_view exponent, Radix radix);

// An upper estimate of the digits of abs(base)^n written in the base's radix:
// the integer digits n * log(abs(base)) + 1 (none below 1) plus n times the
// base's fraction digits. `base` must be normalised (no leading or trailing
// fraction zeros).
long double EstimatePowerDigits(const HugeFloat& base, std::uint64_t n);

// base ^ exponent for an integer exponent (IsIntegerPower holds). The power
// is exact and then cut by `precision` (the scaled working precision) the way
// Multiply cuts; a negative exponent gives Divide(1, base^n, precision).
// Refused: 0 to a negative power, a result beyond kMaxResultDigits.
Outcome<std::string> ExactPower(std::string_view base, std::string_view exponent, Radix radix,
                                int precision);

}  // namespace calvoro
