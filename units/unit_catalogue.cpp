// Loading categories, building conversion texts and evaluating them.
#include "units/unit_catalogue.h"

#include <algorithm>
#include <utility>

#include "engine/evaluator.h"
#include "engine/expression_text.h"
#include "engine/number_base.h"
#include "numeric/number_text.h"
#include "numeric/precision.h"
#include "units/unit_tables.h"

namespace calvoro {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A decimal number with an optional sign: "-12.5", "0.0254".
bool IsPlainNumber(std::string_view text) {
  return IsNumber(text, Radix::kDecimal, {.plus = true});
}

bool IsSeparator(char c) {
  return c == '(' || c == ')' || c == '*' || c == '+' || c == '-' || c == '/' || c == '^' ||
         c == 'x' || c == 'X';
}

// One piece between separators: plain digits, then e or E, an optional sign
// and exponent digits.
std::string ExpandPiece(std::string_view piece) {
  const auto number = ReadNumber(piece, Radix::kDecimal, {.exponent = true});
  if (!number || number->exponent.empty()) return std::string(piece);
  const auto e = piece.find_first_of("eE");
  std::string upper(piece);
  upper[e] = 'E';
  std::string expanded = ExpandExponentNotation(upper);
  return expanded == upper ? std::string(piece) : expanded;
}

// A value as it goes into a longer expression: bracketed when it is negative
// or an expression of its own.
std::string SplicedValue(std::string_view value) {
  if (IsExpression(value) || value.starts_with("-")) return Bracketed(value);
  return std::string(value);
}

}  // namespace

UnitList CategoryUnits(std::string_view name) {
  UnitList list;
  for (const auto& row : unit_tables::RowsOf(ToLowerAscii(TrimBlanks(name)))) {
    list.push_back({std::string(row.name), std::string(row.factor)});
  }
  return list;
}

bool IsFormulaFactor(std::string_view factor) {
  return factor.find_first_of("xX") != std::string_view::npos;
}

std::string ExpandExponents(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t start = 0;
  std::size_t growth = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size()) {
      if (!IsSeparator(text[i])) continue;
      // The sign of an exponent: "2E-4".
      const bool exponent_sign = (text[i] == '+' || text[i] == '-') && i >= start + 2 &&
                                 (text[i - 1] == 'e' || text[i - 1] == 'E') &&
                                 (IsDigit(text[i - 2]) || text[i - 2] == '.');
      if (exponent_sign) continue;
    }
    const std::string_view piece = text.substr(start, i - start);
    const std::string expanded = ExpandPiece(piece);
    const std::size_t added = expanded.size() > piece.size() ? expanded.size() - piece.size() : 0;
    if (growth + added <= kMaxExpansionGrowth) {
      growth += added;
      out += expanded;
    } else {
      out += piece;  // many long exponents: the rest stay as written
    }
    if (i < text.size()) out += text[i];
    start = i + 1;
  }
  return out;
}

std::string BuildConversionText(std::string_view value, const UnitRow& from, const UnitRow& to) {
  return SplicedValue(TrimBlanks(value)) + "*(" + ExpandExponents(from.factor) + ")/(" +
         ExpandExponents(to.factor) + ")";
}

std::string SubstituteFormula(std::string_view formula, std::string_view value) {
  const std::string spliced = SplicedValue(TrimBlanks(value));
  std::string out;
  for (char c : ExpandExponents(formula)) {
    if (c == 'x' || c == 'X') {
      out += spliced;
    } else {
      out += c;
    }
  }
  return out;
}

std::string RoundConversionResult(std::string_view result, const EngineSettings& settings) {
  std::string text = StripTrailingZeros(StripLeadingZeros(result));
  text = LimitFraction(text, NumberBase::Decimal, settings.precision);
  text = FormatExponent(text, settings.precision, settings.exponentThreshold);
  return text == "-0" ? std::string("0") : text;
}

std::string FormatFactorText(std::string_view factor, const EngineSettings& settings) {
  std::string text = ToLowerAscii(factor);
  if (text.find('e') != std::string::npos) text = ExpandExponents(text);
  if (!IsPlainNumber(text)) return text;
  return FormatExponent(text, settings.precision, settings.exponentThreshold);
}

UnitEngine::UnitEngine(const EngineSettings& settings) : settings_(settings) {}

void UnitEngine::LoadUnitCategory(std::string_view name) { units_ = CategoryUnits(name); }

std::string UnitEngine::ConversionText(std::string_view value, const UnitRow& from,
                                       const UnitRow& to) {
  if (!IsFormulaFactor(from.factor) && !IsFormulaFactor(to.factor)) {
    return BuildConversionText(value, from, to);
  }
  if (from.name == to.name) return SplicedValue(TrimBlanks(value));
  return SubstituteFormula(from.factor, value);
}

Outcome<std::string> UnitEngine::ConvertValue(std::string_view value, std::size_t from,
                                              std::size_t to) {
  if (from >= units_.size() || to >= units_.size()) {
    return Refusal{RefusalId::kNothingToCalculate, {}};
  }
  return ConvertValue(value, units_[from], units_[to]);
}

Outcome<std::string> UnitEngine::ConvertValue(std::string_view value, const UnitRow& from,
                                              const UnitRow& to) {
  return EvaluateRounded(ConversionText(value, from, to));
}

Outcome<std::string> UnitEngine::Evaluate(std::string_view text) {
  ExprEvaluator evaluator(NumberBase::Decimal, GuardedDigits(settings_.precision, kGuardDigits),
                          settings_.angleRadian);
  auto result = evaluator.EvaluateExpression(ToLowerAscii(text));
  if (!result) return std::move(result).refusal();
  return std::move(*result);
}

Outcome<std::string> UnitEngine::EvaluateRounded(std::string_view text) {
  auto result = Evaluate(text);
  if (result) *result = RoundConversionResult(*result, settings_);
  return result;
}

}  // namespace calvoro
