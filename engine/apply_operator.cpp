// The operator application on values of the current radix: + - on their
// digits, * / on their texts through the limb kernels, ^ exactly for an
// integer exponent, to the working precision otherwise.
#include "engine/apply_operator.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>

#include "engine/exact_power.h"
#include "engine/expression_text.h"
#include "engine/functions.h"
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
  const Outcome<std::string> power = PreciseOutcome(ComputePower(left, right, radix, scaled),
                                                    "the power", refuse(RefusalId::kNegativePower));
  if (!power) return power;
  HugeFloat value = HugeFloat::FromRadixText(*power, radix, precision);
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

}  // namespace

Refusal ResultTooLong(std::string_view operation) {
  return {RefusalId::kResultTooLong, {std::string(operation), std::to_string(kMaxResultDigits)}};
}

NumberValue::NumberValue(HugeFloat digits) : radix_(digits.radix()) { digits_ = std::move(digits); }

NumberValue::NumberValue(std::string text, Radix radix, int precision)
    : text_(std::move(text)), has_text_(true), radix_(radix), precision_(precision) {}

NumberValue NumberValue::View(std::string_view text, Radix radix, int precision) {
  NumberValue value(radix, precision);
  value.outside_ = text;
  value.has_text_ = true;
  value.outside_text_ = true;
  return value;
}

NumberValue::NumberValue(const NumberText& number, std::string_view text, int precision)
    : read_(number),
      outside_(text),
      has_text_(true),
      outside_text_(true),
      radix_(number.radix),
      precision_(precision) {}

void NumberValue::SetDigits(HugeFloat digits) {
  digits_ = std::move(digits);
  read_.reset();
  has_text_ = false;
}

void NumberValue::SetText(std::string text) {
  text_ = std::move(text);
  has_text_ = true;
  outside_text_ = false;
  digits_.reset();
  read_.reset();
}

HugeFloat& NumberValue::Digits() {
  if (!digits_ && read_) digits_ = HugeFloat::FromNumber(*read_, precision_);
  if (!digits_) digits_ = HugeFloat::FromRadixText(Text(), radix_, precision_);
  return *digits_;
}

std::string_view NumberValue::Text() {
  if (!has_text_) {
    text_ = digits_->ToText();
    has_text_ = true;
    outside_text_ = false;
  }
  return outside_text_ ? outside_ : std::string_view(text_);
}

void NumberValue::StripZeros() {
  if (digits_) {
    digits_->StripZeros();
    has_text_ = false;
    return;
  }
  if (outside_text_) text_.assign(outside_);
  outside_text_ = false;
  read_.reset();
  StripZerosInPlace(text_);
}

Status ApplyOperator(char op, NumberValue& left, NumberValue& right, int precision) {
  const Radix radix = left.radix();
  const int scaled = ScaledDigits(radix, precision);
  Outcome<std::string> text = std::string();
  switch (op) {
    case '+':
      left.SetDigits(Add(std::move(left.Digits()), right.Digits(), scaled));
      return Success();
    case '-':
      left.SetDigits(Subtract(std::move(left.Digits()), right.Digits(), scaled));
      return Success();
    case '*':
    case '/':
      // The limb kernels read the texts.
      text = MultiplyOrDivide(op, *ReadNumber(left.Text(), radix), *ReadNumber(right.Text(), radix),
                              radix, scaled);
      break;
    case '^':
      text = Power(left.Text(), right.Text(), radix, precision);
      break;
    default:
      return Refusal{RefusalId::kUnsupportedOperator, {std::string(1, op)}};
  }
  if (!text) return std::move(text).refusal();
  left.SetText(std::move(*text));
  return Success();
}

Outcome<std::string> ApplyOperator(char op, std::string_view left, std::string_view right,
                                   Radix radix, int precision) {
  if (op == '^') return Power(left, right, radix, precision);
  NumberValue left_value(HugeFloat::FromRadixText(left, radix, precision));
  NumberValue right_value(HugeFloat::FromRadixText(right, radix, precision));
  if (Status applied = ApplyOperator(op, left_value, right_value, precision); !applied) {
    return std::move(applied).refusal();
  }
  return std::string(left_value.Text());
}

}  // namespace calvoro
