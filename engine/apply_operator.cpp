// The operator application: + - * / on HugeFloat operands of the current
// radix; ^ exactly for an integer exponent, to the working precision
// otherwise.
#include "engine/apply_operator.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "engine/exact_power.h"
#include "engine/expression_text.h"
#include "engine/number_base.h"
#include "numeric/huge_float.h"
#include "numeric/precise_functions.h"
#include "numeric/text_arithmetic.h"

namespace calvoro {
namespace {

constexpr std::string_view kNegativePower =
    "Sorry,we cannot raise a negative number to a power if the exponent is not an integer.";
constexpr std::string_view kPowerOutOfRange =
    "Sorry, the result of the power is too large for the calculator.";

constexpr std::string_view kPowerTooSmall =
    "Sorry, the result of the power is too small for the calculator.";

// A power with a non-integer exponent, computed to the working precision
// (numeric/precise_functions.h) and cut by it, as a product is.
std::optional<std::string> PrecisePower(std::string_view left, std::string_view right, int radix,
                                        int precision, MessageSink& sink) {
  HugeFloat base = HugeFloat::FromRadixText(WithoutBrackets(left), radix, precision);
  HugeFloat exponent = HugeFloat::FromRadixText(WithoutBrackets(right), radix, precision);
  base.DropLeadingZeros();
  exponent.DropLeadingZeros();
  const auto refuse = [&](std::string_view message, std::string_view caption) {
    sink.MessageBox(message, caption, MessageIcon::Warning);
    return std::nullopt;
  };
  if (base.IsZero()) {
    if (exponent.IsZero()) return std::string("1");
    if (exponent.sign() < 0) return refuse(kZeroDenominator, kCaptionCalvoroWarning);
    return std::string("0");
  }
  if (base.sign() < 0) return refuse(kNegativePower, kCaptionTivamoWarning);
  const int scaled = ScaledPrecision(radix, precision);
  const PreciseResult power = ComputePower(left, right, radix, scaled);
  switch (power.status) {
    case PreciseResult::Status::kValue:
      break;
    case PreciseResult::Status::kTooSmall:
      return refuse(kPowerTooSmall, kCaptionCalvoroWarning);
    case PreciseResult::Status::kTooLarge:
      return refuse(kPowerOutOfRange, kCaptionCalvoroWarning);
    default:
      return refuse(kNegativePower, kCaptionTivamoWarning);
  }
  HugeFloat value = HugeFloat::FromRadixText(power.text, radix, precision);
  value.DropLeadingZeros();
  value.DropFractionZeros();
  value.ApplyPrecision(scaled);
  return value.ToText();
}

// The digits of the exact product, which the multiplication builds before
// the precision cut: from the leading digit (or the units) down to the last
// non-zero digit (or the units).
std::int64_t ProductDigits(const NumberText& a, const NumberText& b) {
  if (a.IsZero() || b.IsZero()) return 1;
  return std::max<std::int64_t>(a.Top() + b.Top(), 1) -
         std::min<std::int64_t>(a.Bottom() + b.Bottom(), 0);
}

// The integer digits of a quotient (its fraction is cut by the precision).
std::int64_t QuotientIntegerDigits(const NumberText& a, const NumberText& b) {
  if (a.IsZero()) return 1;
  return std::max<std::int64_t>(a.Top() - b.Top() + 1, 1);
}

// "*" and "/" on plain number texts, through the limb kernels.
std::optional<std::string> MultiplyOrDivide(char op, const NumberText& a, const NumberText& b,
                                            int radix, int scaled, MessageSink& sink) {
  if (op == '*') {
    if (ProductDigits(a, b) > kMaxResultDigits) {
      sink.MessageBox(ResultTooLongText("multiplication"), kCaptionCalvoroWarning,
                      MessageIcon::Warning);
      return std::nullopt;
    }
    return MultiplyNumberTexts(a, b, radix, scaled);
  }
  if (b.IsZero()) {
    sink.MessageBox(kZeroDenominator, kCaptionCalvoroWarning, MessageIcon::Warning);
    return std::nullopt;
  }
  if (QuotientIntegerDigits(a, b) > kMaxResultDigits) {
    sink.MessageBox(ResultTooLongText("division"), kCaptionCalvoroWarning, MessageIcon::Warning);
    return std::nullopt;
  }
  return DivideNumberTexts(a, b, radix, scaled);
}

std::optional<std::string> Power(std::string_view left, std::string_view right, int radix,
                                 int precision, MessageSink& sink) {
  if (IsIntegerPower(left, right, radix)) {
    return ExactPower(left, right, radix, ScaledPrecision(radix, precision), sink);
  }
  return PrecisePower(left, right, radix, precision, sink);
}

}  // namespace

std::string ResultTooLongText(std::string_view operation) {
  return "Sorry, the result of the " + std::string(operation) + " would have more than " +
         std::to_string(kMaxResultDigits) + " digits, which is beyond the calculator's limit.";
}

int ScaledPrecision(int radix, int precision) {
  switch (radix) {
    case 8:
      return 4 * precision / 3;
    case 2:
      return 4 * precision;
    default:
      return precision;
  }
}

std::optional<std::string> ApplyOperator(char op, std::string_view left, std::string_view right,
                                         int radix, int precision, MessageSink& sink) {
  if (op == '^') return Power(left, right, radix, precision, sink);

  const int scaled = ScaledPrecision(radix, precision);
  if (op == '*' || op == '/') {
    // A text that is not a plain number ("+5") is read as the number parser
    // reads it.
    std::string read[2];
    const auto split = [&](std::string_view text, std::string& storage) {
      if (auto number = ReadNumber(text, radix)) return number;
      storage = HugeFloat::FromRadixText(text, radix, precision).ToText();
      return ReadNumber(storage, radix);
    };
    const std::optional<NumberText> a = split(left, read[0]);
    const std::optional<NumberText> b = split(right, read[1]);
    if (!a || !b) {
      sink.MessageBox("Sorry, the input number " + std::string(a ? right : left) + " is invalid.",
                      kCaptionCalvoroWarning, MessageIcon::Warning);
      return std::nullopt;
    }
    return MultiplyOrDivide(op, *a, *b, radix, scaled, sink);
  }
  const HugeFloat a = HugeFloat::FromRadixText(left, radix, precision);
  const HugeFloat b = HugeFloat::FromRadixText(right, radix, precision);
  switch (op) {
    case '+':
      return Add(a, b, scaled).ToText();
    case '-':
      return Subtract(a, b, scaled).ToText();
    default:
      sink.MessageBox(std::string("Sorry, the operator ") + op + " is not supported.",
                      kCaptionCalvoroWarning, MessageIcon::Warning);
      return std::nullopt;
  }
}

}  // namespace calvoro
