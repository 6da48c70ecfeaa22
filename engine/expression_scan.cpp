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

bool ParameterIn(char c, NumberBase base) {
  if (c == 'f') return base != NumberBase::Hex && base != NumberBase::Mix;
  return c == 'k' || c == 'm' || c == 'w';
}

}  // namespace

bool ExpressionScanner::Next(ExpressionToken& token) {
  using Kind = ExpressionToken::Kind;
  const std::string_view text = text_;
  const std::size_t i = pos_;
  if (i >= text.size()) return false;
  const char c = text[i];
  if (const std::size_t n = FunctionCallAt(text, i)) {
    token = {Kind::kFunction, i, n};
  } else if (!MemoryWordAt(text, i).empty()) {
    token = {Kind::kMemory, i, 5};
  } else if (text.substr(i, 2) == "pi") {
    token = {Kind::kPi, i, 2};
  } else if (IsDigitOfBase(base_, c)) {
    // Only a letter can begin a function call inside the run.
    const bool* digit_set = DigitSetOf(base_);
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
    token = {Kind::kNumber, i, end - i};
  } else {
    Kind kind = Kind::kOther;
    if (ParameterIn(c, base_)) {
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
    token = {kind, i, 1};
  }
  pos_ = i + token.length;
  return true;
}

std::vector<ExpressionToken> ScanExpression(std::string_view text, NumberBase base) {
  std::vector<ExpressionToken> tokens;
  ExpressionScanner scanner(text, base);
  for (ExpressionToken token; scanner.Next(token);) tokens.push_back(token);
  return tokens;
}

bool EndsOperand(ExpressionToken::Kind kind) {
  using Kind = ExpressionToken::Kind;
  return kind == Kind::kNumber || kind == Kind::kMemory || kind == Kind::kPi ||
         kind == Kind::kParameter || kind == Kind::kUnknown || kind == Kind::kClose;
}

bool NeedsImplicitMultiplication(ExpressionToken::Kind left, ExpressionToken::Kind right) {
  using Kind = ExpressionToken::Kind;
  if (!EndsOperand(left)) return false;
  return right == Kind::kOpen || right == Kind::kUnknown || right == Kind::kPi ||
         right == Kind::kParameter || right == Kind::kMemory || right == Kind::kFunction ||
         (right == Kind::kNumber && left != Kind::kNumber);
}

bool InsertImplicitMultiplicationInto(std::string_view text, NumberBase base, std::string& out,
                                      bool* names) {
  ExpressionScanner scanner(text, base);
  ExpressionToken::Kind left = ExpressionToken::kOther;
  bool inserted = false;
  for (ExpressionToken token; scanner.Next(token); left = token.kind) {
    if (names != nullptr &&
        (token.kind == ExpressionToken::kMemory || token.kind == ExpressionToken::kPi ||
         token.kind == ExpressionToken::kParameter))
      *names = true;
    if (NeedsImplicitMultiplication(left, token.kind)) {
      if (!inserted) {
        // The text up to here is copied only now that it changes.
        out.reserve(text.size() + text.size() / 4);
        out.assign(text.substr(0, token.pos));
        inserted = true;
      }
      out += '*';
    }
    if (inserted) out += text.substr(token.pos, token.length);
  }
  return inserted;
}

std::string InsertImplicitMultiplication(std::string_view text, NumberBase base) {
  std::string out;
  if (!InsertImplicitMultiplicationInto(text, base, out)) out = text;
  return out;
}

}  // namespace calvoro
