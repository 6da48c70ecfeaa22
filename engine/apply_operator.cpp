// The operator application: + - * / on HugeFloat operands of the current
// radix; ^ exactly for an integer exponent, in double precision otherwise.
#include "engine/apply_operator.h"

#include <charconv>
#include <cmath>
#include <string>

#include "engine/exact_power.h"
#include "engine/number_base.h"
#include "numeric/huge_float.h"

namespace calvoro {
namespace {

constexpr std::string_view kNegativePower =
    "Sorry,we cannot raise a negative number to a power if the exponent is not an integer.";
constexpr std::string_view kPowerOutOfRange =
    "Sorry, the result of the power is too large for the calculator.";

// Reads a decimal text as a double whatever the user's locale ("C" rules); a
// leading "+" is allowed and reading stops at the first character that does
// not belong to the number, as atof does. Beyond the double range a value
// becomes an infinity (an integer part) or zero (a tiny fraction), as atof's.
double ReadDouble(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error == std::errc::result_out_of_range) {
    const bool negative = text.front() == '-';
    const std::string_view integer = text.substr(negative ? 1 : 0, text.find('.'));
    const bool huge = integer.find_first_not_of('0') != std::string_view::npos;
    value = huge ? HUGE_VAL : 0.0;
    if (negative) value = -value;
  }
  return value;
}

// printf's "%f": six fraction digits, rounded, in the "C" locale.
std::string FormatFixed6(double value) {
  char buffer[400];  // the largest double has 309 integer digits
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
  return std::string(buffer, result.ptr);
}

// A power with a non-integer exponent, in doubles: the operands read as
// decimal, pow, and the value printed with six fraction digits.
std::optional<std::string> DoublePower(std::string_view left, std::string_view right, int radix,
                                       int precision, MessageSink& sink) {
  std::string base_text(left), exponent_text(right);
  if (radix != kBaseDecimal) {
    base_text = ConvertNumber(radix, kBaseDecimal, left, precision, sink);
    exponent_text = ConvertNumber(radix, kBaseDecimal, right, precision, sink);
  }
  const double base = ReadDouble(base_text);
  const double exponent = ReadDouble(exponent_text);
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
  std::string text = FormatFixed6(value);
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
