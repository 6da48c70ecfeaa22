// One operator of an expression applied to two number texts of a radix.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/message_sink.h"

namespace calvoro {

// The precision handed to the HugeFloat operations for a working precision
// P: radix 10 and 16 use P, radix 8 (4 x P) / 3, radix 2 4 x P.
int ScaledPrecision(int radix, int precision);

// Applies "+", "-", "*", "/" on HugeFloat operands of `radix` (10, 8, 16, 2)
// and "^": exactly for an integer exponent, in double precision otherwise.
// Returns the result text, or nothing after the refusal has been reported
// through `sink`.
std::optional<std::string> ApplyOperator(char op, std::string_view left, std::string_view right,
                                         int radix, int precision, MessageSink& sink);

}  // namespace calvoro
