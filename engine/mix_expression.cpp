// Mix expressions: validation, choice of the result base, conversion.
#include "engine/mix_expression.h"

#include <vector>

#include "engine/expression_scan.h"
#include "engine/number_base.h"

namespace calvoro {

const std::string_view kMixRuleTexts =
    "In the mix calculation, the binary float number must begin with 0b and it can only includes "
    "0,1 and point."
    "The octal float number must begin with 0 and it can only include 0,1,2,3,4,5,6,7and point."
    "The decimal float number do not need any head characters and it can only include "
    "0,1,2,3,4,5,6,7,8,9 and point."
    "The hex float number must begin with 0h and it can only include "
    "0,1,2,3,4,5,6,7,8,9,A,B,C,D,E,F and point.";

namespace {

// The numbers of a Mix expression, in text order.
std::vector<std::string_view> MixNumbers(std::string_view expression) {
  std::vector<std::string_view> numbers;
  for (const auto& token : ScanExpression(expression, kBaseMix)) {
    if (token.kind == ExpressionToken::kNumber) {
      numbers.push_back(expression.substr(token.pos, token.length));
    }
  }
  return numbers;
}

std::string_view WithoutHead(std::string_view number, int base) {
  if (base == kBaseBinary || base == kBaseHex) return number.substr(2);
  if (base == kBaseOctal) return number.substr(1);
  return number;
}

}  // namespace

bool ValidateMixExpression(std::string_view expression) {
  for (std::string_view number : MixNumbers(expression)) {
    const int base = BaseOfNumberText(number);
    if (!IsNumberOfBase(base, WithoutHead(number, base))) return false;
  }
  return true;
}

MixConversion ConvertMixExpression(std::string_view expression, int precision, MessageSink& sink) {
  bool seen[17] = {};
  for (std::string_view number : MixNumbers(expression)) seen[BaseOfNumberText(number)] = true;
  MixConversion out{{}, kBaseBinary};
  if (seen[kBaseDecimal]) {
    out.base = kBaseDecimal;
  } else if (seen[kBaseHex]) {
    out.base = kBaseHex;
  } else if (seen[kBaseOctal]) {
    out.base = kBaseOctal;
  }
  for (const auto& token : ScanExpression(expression, kBaseMix)) {
    const std::string_view piece = expression.substr(token.pos, token.length);
    if (token.kind == ExpressionToken::kNumber) {
      out.expression += ConvertNumber(kBaseMix, out.base, piece, precision, sink);
    } else {
      out.expression += piece;
    }
  }
  return out;
}

std::string MixResultText(std::string_view result, int base) {
  std::string sign;
  if (!result.empty() && result.front() == '-') {
    sign = "-";
    result.remove_prefix(1);
  }
  return sign + std::string(HeadOfBase(base)) + std::string(result);
}

}  // namespace calvoro
