// Splits a lower-case expression into its pieces.
#include "engine/expression_scan.h"

#include "engine/expression_text.h"
#include "engine/number_base.h"

namespace calvoro {
namespace {

// A function name counts as a name only when "(" follows it; otherwise its
// letters may be hexadecimal digits ("fac" in "1face").
std::size_t FunctionCallAt(std::string_view text, std::size_t pos) {
  const std::string_view name = FunctionNameAt(text, pos);
  if (name.empty()) return 0;
  const std::size_t end = pos + name.size();
  return end < text.size() && text[end] == '(' ? name.size() : 0;
}

bool ParameterIn(char c, int base) {
  if (c == 'f') return base != kBaseHex && base != kBaseMix;
  return c == 'k' || c == 'm' || c == 'w';
}

}  // namespace

std::vector<ExpressionToken> ScanExpression(std::string_view text, int base) {
  using Kind = ExpressionToken::Kind;
  std::vector<ExpressionToken> tokens;
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (const std::size_t n = FunctionCallAt(text, i)) {
      tokens.push_back({Kind::kFunction, i, n});
      i += n;
    } else if (!MemoryWordAt(text, i).empty()) {
      tokens.push_back({Kind::kMemory, i, 5});
      i += 5;
    } else if (text.substr(i, 2) == "pi") {
      tokens.push_back({Kind::kPi, i, 2});
      i += 2;
    } else if (IsDigitOfBase(base, c)) {
      // Only a letter can begin a function call inside the run.
      const bool* digit_set = DigitSetOf(base);
      const bool decimal_digits = digit_set[static_cast<unsigned char>('9')];
      std::size_t end = i + 1;
      while (end < text.size()) {
        if (decimal_digits) end = EndOfDecimalDigits(text, end);
        if (end == text.size() || !digit_set[static_cast<unsigned char>(text[end])] ||
            (text[end] >= 'a' && FunctionCallAt(text, end))) {
          break;
        }
        ++end;
      }
      tokens.push_back({Kind::kNumber, i, end - i});
      i = end;
    } else {
      Kind kind = Kind::kOther;
      if (ParameterIn(c, base)) {
        kind = Kind::kParameter;
      } else if (c == 'x') {
        kind = Kind::kUnknown;
      } else if (c == '(') {
        kind = Kind::kOpen;
      } else if (c == ')') {
        kind = Kind::kClose;
      } else if (c == '+' || c == '-' || c == '*' || c == '/' || c == '^' || c == '=') {
        kind = Kind::kOperator;
      }
      tokens.push_back({kind, i, 1});
      ++i;
    }
  }
  return tokens;
}

bool EndsOperand(ExpressionToken::Kind kind) {
  using Kind = ExpressionToken::Kind;
  return kind == Kind::kNumber || kind == Kind::kMemory || kind == Kind::kPi ||
         kind == Kind::kParameter || kind == Kind::kUnknown || kind == Kind::kClose;
}

}  // namespace calvoro
