// The operator application: + - * / on HugeFloat operands of the current
// radix; ^ exactly for an integer exponent, in double precision otherwise.
#include "engine/apply_operator.h"

#include <cmath>
#include <string>

#include "engine/exact_power.h"
#include "engine/functions.h"
#include "engine/number_base.h"
#include "numeric/huge_float.h"

namespace calvoro {
namespace {

constexpr std::string_view kNegativePower =
    "Sorry,we cannot raise a negative number to a power if the exponent is not an integer.";
constexpr std::string_view kPowerOutOfRange =
    "Sorry, the result of the power is too large for the calculator.";

// A power with a non-integer exponent, in doubles: the operands read as
// decimal, pow, and the value printed with six fraction digits.
std::optional<std::string> DoublePower(std::string_view left, std::string_view right, int radix,
                                       int precision, MessageSink& sink) {
  std::string base_text(left), exponent_text(right);
  if (radix != kBaseDecimal) {
    base_text = ConvertNumber(radix, kBaseDecimal, left, precision, sink);
    exponent_text = ConvertNumber(radix, kBaseDecimal, right, precision, sink);
  }
  const double base = ReadFloatArgument(base_text).value_or(0.0);
  const double exponent = ReadFloatArgument(exponent_text).value_or(0.0);
  if (base < 0 && exponent_text.find('.', 1) != std::string::npos) {
    sink.MessageBox(kNegativePower, kCaptionTivamoWarning, MessageIcon::Warning);
    return std::nullopt;
  }
  if (base == 0 && exponent < 0) {
    sink.MessageBox(kZeroDenominator, kCaptionCalvoroWarning, MessageIcon::Warning);
    return std::nullopt;
  }
  const double value = std::pow(base, exponent);
  if (std::isnan(value)) {  // a negative base and a fraction that escaped the test above (".5")
    sink.MessageBox(kNegativePower, kCaptionTivamoWarning, MessageIcon::Warning);
    return std::nullopt;
  }
  if (std::isinf(value)) {
    sink.MessageBox(kPowerOutOfRange, kCaptionCalvoroWarning, MessageIcon::Warning);
    return std::nullopt;
  }
  std::string text = DoubleToText(value, 6);  // printf's "%f"
  if (radix != kBaseDecimal) text = ConvertNumber(kBaseDecimal, radix, text, precision, sink);
  return HugeFloat::FromRadixText(text, radix, precision).ToText();
}

std::optional<std::string> Power(std::string_view left, std::string_view right, int radix,
                                 int precision, MessageSink& sink) {
  if (IsIntegerPower(left, right, radix)) {
    return ExactPower(left, right, radix, ScaledPrecision(radix, precision), sink);
  }
  return DoublePower(left, right, radix, precision, sink);
}

}  // namespace

int ScaledPrecision(int radix, int precision) {
  switch (radix) {
    case kBaseOctal:
      return 4 * precision / 3;
    case kBaseBinary:
      return 4 * precision;
    default:
      return precision;
  }
}

std::optional<std::string> ApplyOperator(char op, std::string_view left, std::string_view right,
                                         int radix, int precision, MessageSink& sink) {
  if (op == '^') return Power(left, right, radix, precision, sink);

  const HugeFloat a = HugeFloat::FromRadixText(left, radix, precision);
  const HugeFloat b = HugeFloat::FromRadixText(right, radix, precision);
  const int scaled = ScaledPrecision(radix, precision);
  switch (op) {
    case '+':
      return Add(a, b, scaled).ToText();
    case '-':
      return Subtract(a, b, scaled).ToText();
    case '*':
      return Multiply(a, b, scaled).ToText();
    case '/':
      if (b.IsZero()) {
        sink.MessageBox(kZeroDenominator, kCaptionCalvoroWarning, MessageIcon::Warning);
        return std::nullopt;
      }
      return Divide(a, b, scaled).ToText();
    default:
      sink.MessageBox(std::string("Sorry, the operator ") + op + " is not supported.",
                      kCaptionCalvoroWarning, MessageIcon::Warning);
      return std::nullopt;
  }
}

}  // namespace calvoro
