// Mix expressions: validation, choice of the result base, conversion.
#include "engine/mix_expression.h"

#include <vector>

#include "engine/expression_scan.h"
#include "engine/number_base.h"

namespace calvoro {

namespace {

// The numbers of a Mix expression, in text order.
std::vector<std::string_view> MixNumbers(std::string_view expression) {
  std::vector<std::string_view> numbers;
  for (const auto& token : ScanExpression(expression, NumberBase::Mix)) {
    if (token.kind == ExpressionToken::kNumber) {
      numbers.push_back(expression.substr(token.pos, token.length));
    }
  }
  return numbers;
}

std::string_view WithoutHead(std::string_view number, NumberBase base) {
  if (base == NumberBase::Binary || base == NumberBase::Hex) return number.substr(2);
  if (base == NumberBase::Octal) return number.substr(1);
  return number;
}

}  // namespace

bool ValidateMixExpression(std::string_view expression) {
  for (std::string_view number : MixNumbers(expression)) {
    const NumberBase base = BaseOfNumberText(number);
    if (!IsNumberOfBase(base, WithoutHead(number, base))) return false;
  }
  return true;
}

MixConversion ConvertMixExpression(std::string_view expression, int precision, Notices* notices) {
  bool seen[5] = {};
  for (std::string_view number : MixNumbers(expression))
    seen[static_cast<int>(BaseOfNumberText(number))] = true;
  MixConversion out{{}, NumberBase::Binary};
  if (seen[static_cast<int>(NumberBase::Decimal)]) {
    out.base = NumberBase::Decimal;
  } else if (seen[static_cast<int>(NumberBase::Hex)]) {
    out.base = NumberBase::Hex;
  } else if (seen[static_cast<int>(NumberBase::Octal)]) {
    out.base = NumberBase::Octal;
  }
  for (const auto& token : ScanExpression(expression, NumberBase::Mix)) {
    const std::string_view piece = expression.substr(token.pos, token.length);
    if (token.kind == ExpressionToken::kNumber) {
      out.expression += ConvertNumber(NumberBase::Mix, out.base, piece, precision, notices);
    } else {
      out.expression += piece;
    }
  }
  return out;
}

std::string MixResultText(std::string_view result, NumberBase base) {
  std::string sign;
  if (!result.empty() && result.front() == '-') {
    sign = "-";
    result.remove_prefix(1);
  }
  return sign + std::string(HeadOfBase(base)) + std::string(result);
}

}  // namespace calvoro
