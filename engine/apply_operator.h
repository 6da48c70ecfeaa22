// One operator of an expression applied to two values of a radix.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/message_sink.h"
#include "engine/refusal.h"
#include "numeric/huge_float.h"
#include "numeric/radix.h"

namespace calvoro {

// The most digits (in the current radix) a product, a quotient's integer
// part or an exact power may have; one that would need more is refused
// before the work starts, so that chained operations cannot grow without end.
inline constexpr std::int64_t kMaxResultDigits = 10'000'000;

// The refusal of a result of `operation` ("power", ...) beyond
// kMaxResultDigits.
Refusal ResultTooLong(std::string_view operation);
void ReportResultTooLong(std::string_view operation, MessageSink& sink);

// Applies "+", "-", "*", "/" on two values of one radix (10, 8, 16, 2) and
// "^": exactly for an integer exponent, otherwise correctly rounded beyond
// the working precision and then cut by it. The result is cut by the
// (scaled) working precision and not otherwise normalised: it is the value
// whose text the operation prints. Refused: a zero divisor, a result beyond
// kMaxResultDigits, a power without a real value or out of range.
Outcome<HugeFloat> ApplyOperator(char op, HugeFloat left, const HugeFloat& right, int precision);

// The same on two number texts of `radix` ("^" also takes one pair of
// brackets around each), giving the result's text; a refusal is reported
// through `sink` and gives nothing.
std::optional<std::string> ApplyOperator(char op, std::string_view left, std::string_view right,
                                         Radix radix, int precision, MessageSink& sink);

}  // namespace calvoro
