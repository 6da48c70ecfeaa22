// One operator of an expression applied to two number texts of a radix.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/message_sink.h"
#include "numeric/radix.h"

namespace calvoro {

// The most digits (in the current radix) a product, a quotient's integer
// part or an exact power may have; one that would need more is refused
// before the work starts, so that chained operations cannot grow without end.
inline constexpr std::int64_t kMaxResultDigits = 10'000'000;

// Refuses a result of `operation` ("power", ...) beyond kMaxResultDigits.
void ReportResultTooLong(std::string_view operation, MessageSink& sink);

// Applies "+", "-", "*", "/" on HugeFloat operands of `radix` (10, 8, 16, 2)
// and "^": exactly for an integer exponent, otherwise correctly rounded beyond
// the working precision and then cut by it.
// Returns the result text, or nothing after the refusal has been reported
// through `sink` (a zero divisor, a result beyond kMaxResultDigits, ...).
std::optional<std::string> ApplyOperator(char op, std::string_view left, std::string_view right,
                                         Radix radix, int precision, MessageSink& sink);

}  // namespace calvoro
