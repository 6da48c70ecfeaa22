// Complex expressions: preparation, tokens and the bracket loop. Values stay
// complex doubles from the operands to the result; nothing is printed and
// read back between steps.
#include "complex/complex_expression.h"

#include <cmath>
#include <complex>
#include <cstdint>
#include <vector>

#include "engine/evaluator.h"
#include "engine/expression_scan.h"
#include "engine/expression_text.h"
#include "engine/functions.h"
#include "engine/number_base.h"
#include "numeric/number_text.h"

namespace calvoro {
namespace {

bool IsOperandLetter(char c) { return c >= 'a' && c <= 'e'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBracketOrOperator(char c) {
  return std::string_view("()*+-/^").find(c) != std::string_view::npos;
}

enum class Function { kSin, kCos, kTan, kLn, kExp, kSqrt, kAbs };

std::optional<Function> SupportedFunction(std::string_view name) {
  if (name == "sin") return Function::kSin;
  if (name == "cos") return Function::kCos;
  if (name == "tan") return Function::kTan;
  if (name == "ln") return Function::kLn;
  if (name == "exp") return Function::kExp;
  if (name == "sqrt") return Function::kSqrt;
  if (name == "abs") return Function::kAbs;
  return std::nullopt;
}

struct Item {
  enum Kind { kValue, kOperator, kOpen, kClose, kFunction } kind;
  ComplexNumber value{};
  char op = 0;
  Function function = Function::kSin;
};

using Items = std::vector<Item>;

// A zero part is kept +0: the powers, ln and sqrt take their angle from
// atan2, which would put -1-0j on the other side of the cut ((-1)^0.5 = -j).
ComplexNumber WithoutNegativeZeros(ComplexNumber z) { return {z.re + 0.0, z.im + 0.0}; }

std::optional<ComplexNumber> Finite(ComplexNumber z) {
  if (!z.IsFinite()) return std::nullopt;
  return WithoutNegativeZeros(z);
}

std::optional<Items> Tokenize(std::string_view text, const ComplexOperands& operands) {
  Items items;
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (IsDigit(c) || c == '.') {
      std::size_t end = i;
      while (end < text.size() && (IsDigit(text[end]) || text[end] == '.')) ++end;
      const std::optional<double> number = ReadDecimalDouble(text.substr(i, end - i));
      if (!number || !std::isfinite(*number)) return std::nullopt;
      if (end < text.size() && text[end] == 'j') {
        items.push_back({Item::kValue, {0, *number}});
        ++end;
      } else {
        items.push_back({Item::kValue, {*number, 0}});
      }
      i = end;
      continue;
    }
    const std::string_view name = FunctionNameAt(text, i);
    if (!name.empty() && i + name.size() < text.size() && text[i + name.size()] == '(') {
      const std::optional<Function> function = SupportedFunction(name);
      if (!function) return std::nullopt;
      Item item{Item::kFunction};
      item.function = *function;
      items.push_back(item);
      i += name.size();
      continue;
    }
    if (IsOperandLetter(c)) {
      items.push_back({Item::kValue, WithoutNegativeZeros(operands[c - 'a'])});
    } else if (c == 'j') {
      items.push_back({Item::kValue, {0, 1}});
    } else if (c == '(' || c == ')') {
      items.push_back({c == '(' ? Item::kOpen : Item::kClose});
    } else if (c == '+' || c == '-' || c == '*' || c == '/' || c == '^') {
      Item item{Item::kOperator};
      item.op = c;
      items.push_back(item);
    } else {
      return std::nullopt;
    }
    ++i;
  }
  return items;
}

std::optional<ComplexNumber> ApplyOperator(char op, ComplexNumber x, ComplexNumber y) {
  switch (op) {
    case '+':
      return Finite(Add(x, y));
    case '-':
      return Finite(Subtract(x, y));
    case '*':
      return Finite(Multiply(x, y));
    case '/':
      if (y.IsZero()) return std::nullopt;
      return Finite(Divide(x, y));
    default:  // '^'
      return ExpressionPower(x, y);
  }
}

std::optional<ComplexNumber> ApplyFunction(Function function, ComplexNumber z) {
  switch (function) {
    case Function::kSin:
      return Finite(Sin(z));
    case Function::kCos:
      return Finite(Cos(z));
    case Function::kTan:
      return Finite(Tan(z));
    case Function::kLn:
      return Finite(Log(z));
    case Function::kExp: {
      const double radius = std::exp(z.re);
      return Finite({radius * std::cos(z.im), radius * std::sin(z.im)});
    }
    case Function::kSqrt: {
      const std::complex<double> root = std::sqrt(std::complex<double>(z.re, z.im));
      return Finite({root.real(), root.imag()});
    }
    case Function::kAbs:
      return Finite({Module(z), 0});
  }
  return std::nullopt;
}

// A bracket-free run of items: an optional sign, then operands and operators
// alternating. The operator applied first is the first whose priority is not
// lower than that of the next one.
std::optional<ComplexNumber> EvaluateFlat(Items::const_iterator begin, Items::const_iterator end) {
  std::vector<ComplexNumber> values;
  std::vector<char> ops;
  bool negate = false;
  if (begin != end && begin->kind == Item::kOperator && (begin->op == '-' || begin->op == '+')) {
    negate = begin->op == '-';
    ++begin;
  }
  for (auto it = begin; it != end; ++it) {
    const bool want_value = values.size() == ops.size();
    if (want_value && it->kind == Item::kValue) {
      values.push_back(it->value);
    } else if (!want_value && it->kind == Item::kOperator) {
      ops.push_back(it->op);
    } else {
      return std::nullopt;
    }
  }
  if (values.empty() || values.size() == ops.size()) return std::nullopt;
  if (negate) values.front() = Subtract({}, values.front());
  while (!ops.empty()) {
    std::size_t i = 0;
    while (i + 1 < ops.size() && OperatorPriority(ops[i]) < OperatorPriority(ops[i + 1])) ++i;
    const std::optional<ComplexNumber> result = ApplyOperator(ops[i], values[i], values[i + 1]);
    if (!result) return std::nullopt;
    values[i] = *result;
    values.erase(values.begin() + static_cast<std::ptrdiff_t>(i) + 1);
    ops.erase(ops.begin() + static_cast<std::ptrdiff_t>(i));
  }
  return values.front();
}

}  // namespace

std::string PrepareComplexExpression(std::string_view expression) {
  const std::string text =
      InsertImplicitMultiplication(ToLowerAscii(TrimBlanks(expression)), NumberBase::Decimal);
  std::string out;
  out.reserve(text.size() + text.size() / 2);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    out += c;
    if (i + 1 == text.size()) break;
    const char next = text[i + 1];
    const bool star = (IsOperandLetter(c) && IsDigit(next)) ||
                      (IsDigit(c) && IsOperandLetter(next)) ||
                      (c == ')' && !IsBracketOrOperator(next)) ||
                      (next == '(' && !IsBracketOrOperator(c) && !EndsWithFunctionName(out));
    if (star) out += '*';
  }
  return out;
}

std::optional<ComplexNumber> ComplexEvaluator::Evaluate(std::string_view prepared) const {
  std::optional<Items> tokens = Tokenize(prepared, operands_);
  if (!tokens) return std::nullopt;
  // Innermost group first, in the order of the ")": the items are copied
  // left to right, and each ")" replaces the tail from its "(" (and the
  // function before it) by the group's value, so that every item is moved
  // once however deep the nesting.
  Items out;
  out.reserve(tokens->size());
  std::vector<std::size_t> opens;  // positions in `out` of the "(" not closed yet
  for (Item& item : *tokens) {
    if (item.kind != Item::kClose) {
      if (item.kind == Item::kOpen) opens.push_back(out.size());
      out.push_back(std::move(item));
      continue;
    }
    if (opens.empty()) return std::nullopt;
    const std::size_t open = opens.back();
    opens.pop_back();
    std::optional<ComplexNumber> value =
        EvaluateFlat(out.begin() + static_cast<std::ptrdiff_t>(open) + 1, out.end());
    if (!value) return std::nullopt;
    std::size_t from = open;
    if (open > 0 && out[open - 1].kind == Item::kFunction) {
      --from;
      value = ApplyFunction(out[from].function, *value);
      if (!value) return std::nullopt;
    }
    out.resize(from);
    out.push_back({Item::kValue, *value});
  }
  return EvaluateFlat(out.begin(), out.end());
}

std::optional<ComplexNumber> ExpressionPower(ComplexNumber base, ComplexNumber exponent) {
  constexpr double kLargestRepeated = 2147483648.0;
  if (exponent.im == 0 && exponent.re == std::trunc(exponent.re) &&
      std::abs(exponent.re) <= kLargestRepeated) {
    const bool negative = exponent.re < 0;
    if (negative && base.IsZero()) return std::nullopt;
    auto n = static_cast<std::uint64_t>(std::abs(exponent.re));
    ComplexNumber power{1, 0}, square = base;
    for (; n != 0; n >>= 1) {
      if (n & 1) power = Multiply(power, square);
      if (n > 1) square = Multiply(square, square);
    }
    return Finite(negative ? Divide({1, 0}, power) : power);
  }
  if (base.IsZero()) {
    if (exponent.re > 0) return ComplexNumber{};
    return std::nullopt;
  }
  return Finite(exponent.im == 0 ? RealPower(base, exponent.re) : ComplexPower(base, exponent));
}

}  // namespace calvoro
