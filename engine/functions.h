// The function application: one call "name(argument)" whose argument is
// already a single number text, computed exactly (int, abs, fac) or to the
// working precision, correctly rounded beyond the digits it keeps.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/number_base.h"
#include "engine/refusal.h"
#include "numeric/huge_float.h"
#include "numeric/precise_functions.h"

namespace calvoro {

struct FunctionContext {
  int precision = 11;                     // the working precision P (the setting plus one)
  NumberBase base = NumberBase::Decimal;  // Mix is taken as decimal
  bool radian = true;                     // angle mode
};

// Applies the function of `call` ("sin(30)", "fac(25)", ...): the result
// text (a negative result in brackets) or the refusal.
Outcome<std::string> ApplyFunction(std::string_view call, const FunctionContext& context);

// The value of a precise computation, or its refusal: "the result of
// `subject` is too large / too small", `no_value` where it has none.
Outcome<std::string> PreciseOutcome(const PreciseResult& result, std::string_view subject,
                                    Refusal no_value);

// Pi truncated to `decimals` decimals ("3.14159...").
std::string PiText(int decimals);

// Exact n! (0 <= n) printed in `radix` (2, 8, 10 or 16).
std::string FactorialText(int n, Radix radix = Radix::kDecimal);

// The part of a number text before its point (truncation towards zero); a
// leading "+" is dropped. A text that is not a number is returned unchanged.
std::string IntegerPartText(std::string_view text);
// A number text without its leading sign.
std::string AbsText(std::string_view text);

}  // namespace calvoro
