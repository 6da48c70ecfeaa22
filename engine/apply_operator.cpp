// The operator application: + - * / on HugeFloat operands of the current
// radix; ^ exactly for an integer exponent, to the working precision
// otherwise.
#include "engine/apply_operator.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>

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
Outcome<std::string> PrecisePower(std::string_view left, std::string_view right, Radix radix,
                                  int precision) {
  HugeFloat base = HugeFloat::FromRadixText(WithoutBrackets(left), radix, precision);
  HugeFloat exponent = HugeFloat::FromRadixText(WithoutBrackets(right), radix, precision);
  base.DropLeadingZeros();
  exponent.DropLeadingZeros();
  const auto refuse = [](RefusalId id) { return Refusal{id, {}}; };
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
Outcome<std::string> MultiplyOrDivide(char op, const NumberText& a, const NumberText& b,
                                      Radix radix, int scaled) {
  if (op == '*') {
    if (ProductDigits(a, b) > kMaxResultDigits) return ResultTooLong("multiplication");
    return MultiplyNumberTexts(a, b, radix, scaled);
  }
  if (b.IsZero()) return Refusal{RefusalId::kZeroDenominator, {}};
  if (QuotientIntegerDigits(a, b) > kMaxResultDigits) return ResultTooLong("division");
  return DivideNumberTexts(a, b, radix, scaled);
}

Outcome<std::string> Power(std::string_view left, std::string_view right, Radix radix,
                           int precision) {
  if (IsIntegerPower(left, right, radix)) {
    return ExactPower(left, right, radix, ScaledDigits(radix, precision));
  }
  return PrecisePower(left, right, radix, precision);
}

// The value of an operation's result text.
Outcome<HugeFloat> ValueOf(Outcome<std::string> text, Radix radix, int precision) {
  if (!text) return std::move(text).refusal();
  return HugeFloat::FromRadixText(*text, radix, precision);
}

}  // namespace

Refusal ResultTooLong(std::string_view operation) {
  return {RefusalId::kResultTooLong, {std::string(operation), std::to_string(kMaxResultDigits)}};
}

void ReportResultTooLong(std::string_view operation, MessageSink& sink) {
  ReportRefusal(ResultTooLong(operation), sink);
}

Outcome<HugeFloat> ApplyOperator(char op, HugeFloat left, const HugeFloat& right, int precision) {
  const Radix radix = left.radix();
  const int scaled = ScaledDigits(radix, precision);
  switch (op) {
    case '+':
      return Add(std::move(left), right, scaled);
    case '-':
      return Subtract(std::move(left), right, scaled);
    case '*':
    case '/': {
      // The limb kernels read texts: a value prints as it was typed or
      // computed.
      const std::string a = left.ToText();
      const std::string b = right.ToText();
      return ValueOf(
          MultiplyOrDivide(op, *ReadNumber(a, radix), *ReadNumber(b, radix), radix, scaled), radix,
          precision);
    }
    case '^':
      return ValueOf(Power(left.ToText(), right.ToText(), radix, precision), radix, precision);
    default:
      return Refusal{RefusalId::kUnsupportedOperator, {std::string(1, op)}};
  }
}

std::optional<std::string> ApplyOperator(char op, std::string_view left, std::string_view right,
                                         Radix radix, int precision, MessageSink& sink) {
  Outcome<std::string> result = std::string();
  if (op == '^') {
    result = Power(left, right, radix, precision);
  } else {
    Outcome<HugeFloat> value =
        ApplyOperator(op, HugeFloat::FromRadixText(left, radix, precision),
                      HugeFloat::FromRadixText(right, radix, precision), precision);
    if (value) {
      result = value->ToText();
    } else {
      result = std::move(value).refusal();
    }
  }
  if (!result) {
    ReportRefusal(result.refusal(), sink);
    return std::nullopt;
  }
  return std::move(*result);
}

}  // namespace calvoro
