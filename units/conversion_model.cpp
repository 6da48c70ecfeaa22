// The conversion-style calculator: category, unit choices and Calculate.
#include "units/conversion_model.h"

#include <algorithm>
#include <vector>

#include "engine/expression_scan.h"
#include "engine/expression_text.h"
#include "engine/number_base.h"
#include "engine/refusal.h"

namespace calvoro {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsOperatorOrBracket(char c) {
  return std::string_view("()*+-/^").find(c) != std::string_view::npos;
}

// For every character of a lower-case text: the quantity (0 for A .. 4 for
// E) it stands for, or -1. Letters inside function names and memory words
// are no quantities.
std::vector<int> QuantityLetters(std::string_view text) {
  std::vector<int> letters(text.size(), -1);
  for (std::size_t i = 0; i < text.size();) {
    std::size_t word = FunctionNameAt(text, i).size();
    if (word == 0) word = MemoryWordAt(text, i).size();
    if (word > 0) {
      i += word;
      continue;
    }
    if (text[i] >= 'a' && text[i] <= 'e') letters[i] = text[i] - 'a';
    ++i;
  }
  return letters;
}

void Warn(MessageSink& sink, RefusalId id, std::vector<std::string> args = {}) {
  ReportRefusal({id, std::move(args)}, sink);
}

}  // namespace

ConversionModel::ConversionModel(const EngineSettings& settings, MessageSink& sink)
    : sink_(sink), units_(settings) {
  SelectCategory("area");
}

void ConversionModel::SelectCategory(std::string_view text) {
  category_ = ToLowerAscii(TrimBlanks(text));
  units_.LoadUnitCategory(category_);
  chosen_.fill(-1);
}

void ConversionModel::ChooseUnit(int slot, int row) {
  if (slot < 0 || slot > kOutputSlot) return;
  const bool valid = row >= 0 && row < static_cast<int>(units().size());
  chosen_[static_cast<std::size_t>(slot)] = valid ? row : -1;
}

const UnitRow* ConversionModel::Unit(int slot) const {
  const int row = chosen(slot);
  return row < 0 ? nullptr : &units()[static_cast<std::size_t>(row)];
}

std::string ConversionModel::ExplicitExpression(std::string_view input) const {
  const std::string text =
      InsertImplicitMultiplication(ToLowerAscii(TrimBlanks(input)), NumberBase::Decimal);
  const std::vector<int> letters = QuantityLetters(text);
  std::string out;
  out.reserve(text.size() + text.size() / 2);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i > 0) {
      const char left = text[i - 1], right = text[i];
      const bool quantity_left = letters[i - 1] >= 0, quantity_right = letters[i] >= 0;
      // A function name keeps its "(": sqrt(A) is no product.
      const bool call =
          right == '(' && !FunctionNameAtEnd(std::string_view(text).substr(0, i)).empty();
      if ((quantity_left && (IsDigit(right) || quantity_right)) ||
          (IsDigit(left) && quantity_right) || (left == ')' && !IsOperatorOrBracket(right)) ||
          (right == '(' && !IsOperatorOrBracket(left) && !call)) {
        out += '*';
      }
    }
    out += text[i];
  }
  return out;
}

std::pair<std::string, const UnitRow*> ConversionModel::EvaluateForOutput(
    const std::string& expression) {
  auto value = units_.Evaluate(expression);
  if (!value) {
    ReportRefusal(value.refusal(), sink_);
    Warn(sink_, RefusalId::kConversionFailed, {std::string(kSupportEmail)});
    return {};
  }
  const UnitRow* out = Unit(kOutputSlot);
  if (out == nullptr) Warn(sink_, RefusalId::kNoOutputUnit);
  return {std::move(*value), out};
}

bool ConversionModel::Calculate(std::string_view input) {
  const std::string_view expression = TrimBlanks(input);
  if (expression.empty()) {
    Warn(sink_, RefusalId::kNoExpression);
    return false;
  }
  if (!CountBrackets(expression).Balanced()) {
    Warn(sink_, RefusalId::kUnequalBrackets);
    return false;
  }
  const std::string text = ExplicitExpression(expression);
  const std::vector<int> letters = QuantityLetters(text);
  for (int quantity = 0; quantity < kOutputSlot; ++quantity) {
    const bool used = std::find(letters.begin(), letters.end(), quantity) != letters.end();
    if (used && Unit(quantity) == nullptr) {
      Warn(sink_, RefusalId::kNoInputUnit, {std::string(1, static_cast<char>('A' + quantity))});
      return false;
    }
  }

  // Temperatures: the expression counts degrees of the one scale its letters
  // use; the value is then put into that scale's formula.
  if (category_ == "temperature") {
    const UnitRow* scale = nullptr;
    bool one_scale = true;
    std::string degrees;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (letters[i] < 0) {
        degrees += text[i];
        continue;
      }
      const UnitRow* unit = Unit(letters[i]);
      if (scale != nullptr && unit->name != scale->name) one_scale = false;
      if (scale == nullptr) scale = unit;
      degrees += '1';
    }
    if (scale == nullptr || !one_scale) {
      Warn(sink_, RefusalId::kMixedTemperatures);
      return false;
    }
    const auto [value, out] = EvaluateForOutput(degrees);
    if (out == nullptr) return false;
    const auto converted = units_.ConvertValue(value, *scale, *out);
    if (!converted) {
      ReportRefusal(converted.refusal(), sink_);
      Warn(sink_, RefusalId::kConversionFailed, {std::string(kSupportEmail)});
      return false;
    }
    output_ = *converted + " " + out->name;
    return true;
  }

  std::string substituted;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (letters[i] < 0) {
      substituted += text[i];
    } else {
      substituted += Bracketed(ExpandExponents(Unit(letters[i])->factor));
    }
  }
  const auto [value, out] = EvaluateForOutput(substituted);
  if (out == nullptr) return false;
  const std::string dividend = value.starts_with("-") ? Bracketed(value) : value;
  const auto result =
      units_.EvaluateRounded(dividend + "/" + Bracketed(ExpandExponents(out->factor)));
  if (!result) {
    ReportRefusal(result.refusal(), sink_);
    Warn(sink_, RefusalId::kConversionFailed, {std::string(kSupportEmail)});
    return false;
  }
  output_ = *result + " " + out->name;
  return true;
}

}  // namespace calvoro
