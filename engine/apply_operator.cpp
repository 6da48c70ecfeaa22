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
#include "engine/refusal.h"
#include "numeric/huge_float.h"
#include "numeric/precise_functions.h"
#include "numeric/precision.h"
#include "numeric/text_arithmetic.h"

namespace calvoro {
namespace {

// A power with a non-integer exponent, computed to the working precision
// (numeric/precise_functions.h) and cut by it, as a product is.
std::optional<std::string> PrecisePower(std::string_view left, std::string_view right, Radix radix,
                                        int precision, MessageSink& sink) {
  HugeFloat base = HugeFloat::FromRadixText(WithoutBrackets(left), radix, precision);
  HugeFloat exponent = HugeFloat::FromRadixText(WithoutBrackets(right), radix, precision);
  base.DropLeadingZeros();
  exponent.DropLeadingZeros();
  const auto refuse = [&](RefusalId id) {
    ReportRefusal({id, {}}, sink);
    return std::nullopt;
  };
  if (base.IsZero()) {
    if (exponent.IsZero()) return std::string("1");
    if (exponent.sign() < 0) return refuse(RefusalId::kZeroDenominator);
    return std::string("0");
  }
  if (base.sign() < 0) return refuse(RefusalId::kNegativePower);
  const int scaled = ScaledDigits(radix, precision);
  const PreciseResult power = ComputePower(left, right, radix, scaled);
  switch (power.status) {
    case PreciseResult::Status::kValue:
      break;
    case PreciseResult::Status::kTooSmall:
      return refuse(RefusalId::kPowerTooSmall);
    case PreciseResult::Status::kTooLarge:
      return refuse(RefusalId::kPowerTooLarge);
    default:
      return refuse(RefusalId::kNegativePower);
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
                                            Radix radix, int scaled, MessageSink& sink) {
  if (op == '*') {
    if (ProductDigits(a, b) > kMaxResultDigits) {
      ReportResultTooLong("multiplication", sink);
      return std::nullopt;
    }
    return MultiplyNumberTexts(a, b, radix, scaled);
  }
  if (b.IsZero()) {
    ReportRefusal({RefusalId::kZeroDenominator, {}}, sink);
    return std::nullopt;
  }
  if (QuotientIntegerDigits(a, b) > kMaxResultDigits) {
    ReportResultTooLong("division", sink);
    return std::nullopt;
  }
  return DivideNumberTexts(a, b, radix, scaled);
}

std::optional<std::string> Power(std::string_view left, std::string_view right, Radix radix,
                                 int precision, MessageSink& sink) {
  if (IsIntegerPower(left, right, radix)) {
    return ExactPower(left, right, radix, ScaledDigits(radix, precision), sink);
  }
  return PrecisePower(left, right, radix, precision, sink);
}

}  // namespace

void ReportResultTooLong(std::string_view operation, MessageSink& sink) {
  ReportRefusal(
      {RefusalId::kResultTooLong, {std::string(operation), std::to_string(kMaxResultDigits)}},
      sink);
}

std::optional<std::string> ApplyOperator(char op, std::string_view left, std::string_view right,
                                         Radix radix, int precision, MessageSink& sink) {
  if (op == '^') return Power(left, right, radix, precision, sink);

  const int scaled = ScaledDigits(radix, precision);
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
      ReportRefusal({RefusalId::kInvalidInputNumber, {std::string(a ? right : left)}}, sink);
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
      ReportRefusal({RefusalId::kUnsupportedOperator, {std::string(1, op)}}, sink);
      return std::nullopt;
  }
}

}  // namespace calvoro
