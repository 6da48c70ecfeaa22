// One operator of an expression applied to two values of a radix.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/refusal.h"
#include "numeric/huge_float.h"
#include "numeric/number_text.h"
#include "numeric/radix.h"

namespace calvoro {

// The most digits (in the current radix) a product, a quotient's integer
// part or an exact power may have; one that would need more is refused
// before the work starts, so that chained operations cannot grow without end.
inline constexpr std::int64_t kMaxResultDigits = 10'000'000;

// The refusal of a result of `operation` ("power", ...) beyond
// kMaxResultDigits.
Refusal ResultTooLong(std::string_view operation);

// A number of a radix as an operator meets it: held as digits (HugeFloat),
// which the additions take, or as its number text (a "-" allowed, no "+",
// no brackets), which the limb kernels and the powers take. Each form is made
// from the other once, when an operator needs it: an operand is read once,
// and a value printed only where a text is wanted.
class NumberValue {
 public:
  explicit NumberValue(HugeFloat digits);
  // `text` (owned) or a view of a text that outlives the value, read with
  // `precision` recorded as HugeFloat::FromRadixText records it.
  NumberValue(std::string text, Radix radix, int precision);
  static NumberValue View(std::string_view text, Radix radix, int precision);
  // A number read already (ReadNumber) from `text`, which outlives the value.
  NumberValue(const NumberText& number, std::string_view text, int precision);

  Radix radix() const { return radix_; }
  HugeFloat& Digits();
  std::string_view Text();
  // The normal form of a computed value, as its text reads once trailing
  // fraction zeros, a bare point and leading zeros are stripped.
  void StripZeros();
  // The value becomes `digits`, or the number text `text`.
  void SetDigits(HugeFloat digits);
  void SetText(std::string text);

 private:
  NumberValue(Radix radix, int precision) : radix_(radix), precision_(precision) {}

  std::optional<HugeFloat> digits_;
  std::optional<NumberText> read_;  // the number read from the outside text
  std::string text_;
  std::string_view outside_;  // the text form when it is a view of another text
  bool has_text_ = false;
  bool outside_text_ = false;
  Radix radix_;
  int precision_ = 0;
};

// Applies "+", "-", "*", "/" on two values of one radix (10, 8, 16, 2) and
// "^": exactly for an integer exponent, otherwise correctly rounded beyond
// the working precision and then cut by it. The result is cut by the
// (scaled) working precision and not otherwise normalised: it is the value
// whose text the operation prints, and it replaces `left`. Refused: a zero
// divisor, a result beyond kMaxResultDigits, a power without a real value or
// out of range.
Status ApplyOperator(char op, NumberValue& left, NumberValue& right, int precision);

// The same on two number texts of `radix` ("^" also takes one pair of
// brackets around each): the result's text or the refusal.
Outcome<std::string> ApplyOperator(char op, std::string_view left, std::string_view right,
                                   Radix radix, int precision);

}  // namespace calvoro
