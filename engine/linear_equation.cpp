// Linear equations in one unknown X. The equation is brought to its zero
// form "left-(right)", reduced group by group (innermost first) to A*X+B,
// and X=-(B)/(A) is calculated in the window's base. Every number the solver
// needs is computed by Calculate, so the equation follows the same arithmetic,
// precision and base rules as any other expression.
#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/evaluator.h"
#include "engine/expr_engine.h"
#include "engine/expression_scan.h"
#include "engine/expression_text.h"
#include "engine/number_base.h"
#include "engine/refusal.h"
#include "engine/syntax_check.h"

namespace calvoro {
namespace {

// Digits the coefficients carry beyond twice the precision setting.
constexpr int kGuardDigits = 10;
// An exponent threshold that no coefficient reaches.
constexpr int kNoExponentThreshold = 1'000'000'000;

// Where users are asked to send equations the solver cannot reduce.

// The reducer recurses once per level of brackets.
constexpr int kMaxEquationDepth = 1000;

// A hexadecimal number that begins with a letter gets a leading "0": right
// after "(" only 0-9 may stand, so "(A)" would be refused where "(0A)" passes.
std::string WithLeadingDigit(std::string_view number, NumberBase base) {
  std::string text(number);
  if (base == NumberBase::Hex && !text.empty() &&
      !IsDigitOfBase(NumberBase::Decimal, text.front()) &&
      IsDigitOfBase(NumberBase::Hex, text.front())) {
    text.insert(0, 1, '0');
  }
  return text;
}

// A coefficient that is zero: digits (of any base) that are all 0.
bool IsZeroCoefficient(std::string_view number) {
  return number.find_first_of("123456789ABCDEFabcdef") == std::string_view::npos &&
         number.find('0') != std::string_view::npos;
}

// A number as it is spliced into an expression: a negative one in brackets.
std::string Operand(std::string_view number, NumberBase base) {
  if (!number.empty() && number.front() == '-') return Bracketed(number);
  return WithLeadingDigit(number, base);
}

// Appends one signed term to a sum text.
void AppendTerm(std::string& sum, bool negative, std::string_view term) {
  if (negative) {
    sum += '-';
  } else if (!sum.empty()) {
    sum += '+';
  }
  sum += term;
}

// The value of a group or layer: a*X+b, or the plain number b without X.
struct LinearForm {
  bool hasUnknown = false;
  std::string a = "0";
  std::string b = "0";
};

// Brings an expression in X to A*X+B. On failure the refusal is kept: its
// own go to the input-message dialog with the equation as its input, those
// of Calculate are Calculate's.
class LinearReducer {
 public:
  LinearReducer(ExprEngine& engine, std::string_view equation, NumberBase base)
      : engine_(engine), equation_(equation), base_(base) {}

  Outcome<LinearForm> Reduce(std::string_view text) {
    std::optional<LinearForm> form = ReduceLayer(text);
    if (!form) return std::move(refusal_);
    return *std::move(form);
  }

  void RefuseNotLinear() { Refuse(RefusalId::kEquationNotLinear, {std::string(kSupportEmail)}); }
  // The refusals of the work done for the reducer's engine come up with it.
  Notices TakeNotices() { return engine_.TakeNotices(); }

 private:
  // One factor of a product: a number, X, or a group holding X.
  struct Factor {
    char op = '*';  // how it joins the factors before it: '*' or '/'
    bool unknown = false;
    std::string number;      // the value of an X-free factor
    LinearForm form;         // a*X+b of a factor holding X
    std::string_view group;  // a bracket group's inner text, reduced after the split
    bool isGroup = false;
  };
  struct Term {
    bool negative = false;
    std::vector<Factor> factors;
  };

  // Calculate in the window's base with the memories at "0". Calculate
  // fails without a word on an empty text or one holding "=", so those are
  // refused here.
  std::optional<std::string> Compute(std::string_view expression) {
    const std::string_view text = TrimBlanks(expression);
    if (text.empty() || text.find('=') != std::string_view::npos) {
      RefuseNotLinear();
      return std::nullopt;
    }
    Outcome<Calculation> calculation = engine_.Calculate(text, kZeroMemories, base_);
    if (!calculation) {
      refusal_ = std::move(calculation).refusal();
      return std::nullopt;
    }
    return std::move(calculation->result);
  }

  // The token index of the ")" closing the "(" at `open`, or tokens.size().
  static std::size_t MatchingClose(const std::vector<ExpressionToken>& tokens, std::size_t open) {
    int depth = 0;
    for (std::size_t k = open; k < tokens.size(); ++k) {
      if (tokens[k].kind == ExpressionToken::kOpen) ++depth;
      if (tokens[k].kind == ExpressionToken::kClose && --depth == 0) return k;
    }
    return tokens.size();
  }

  static bool HoldsUnknown(const std::vector<ExpressionToken>& tokens, std::size_t from = 0,
                           std::size_t to = std::string_view::npos) {
    for (std::size_t k = from; k < to && k < tokens.size(); ++k) {
      if (tokens[k].kind == ExpressionToken::kUnknown) return true;
    }
    return false;
  }

  // Reads the factor starting at token `k` and moves `k` behind it.
  std::optional<Factor> ReadFactor(std::string_view text,
                                   const std::vector<ExpressionToken>& tokens, std::size_t& k) {
    const ExpressionToken& token = tokens[k];
    Factor factor;
    switch (token.kind) {
      case ExpressionToken::kUnknown:
        factor.unknown = true;
        factor.form = LinearForm{true, "1", "0"};
        ++k;
        return factor;
      case ExpressionToken::kNumber:
        factor.number = std::string(text.substr(token.pos, token.length));
        ++k;
        return factor;
      case ExpressionToken::kFunction:
      case ExpressionToken::kOpen: {
        const std::size_t open = token.kind == ExpressionToken::kOpen ? k : k + 1;
        const std::size_t close = MatchingClose(tokens, open);
        if (close == tokens.size()) break;
        const std::size_t inner = tokens[open].pos + 1;
        const std::string_view content = text.substr(inner, tokens[close].pos - inner);
        k = close + 1;
        if (token.kind == ExpressionToken::kFunction) {
          // A function of X is not linear; of a number it is a number.
          if (HoldsUnknown(tokens, open, close)) break;
          const std::size_t end = tokens[close].pos + 1;
          std::optional<std::string> value = Compute(text.substr(token.pos, end - token.pos));
          if (!value) return std::nullopt;
          factor.number = std::move(*value);
          return factor;
        }
        // Reduced once the layer's tokens are gone, so that deep nesting
        // does not keep every level's tokens alive at once.
        factor.isGroup = true;
        factor.group = content;
        return factor;
      }
      default:
        break;
    }
    RefuseNotLinear();
    return std::nullopt;
  }

  // Splits a layer into signed products of factors. Two operands side by side
  // multiply (a hexadecimal "ax" has no "*" between its letter and the X).
  std::optional<std::vector<Term>> SplitTerms(std::string_view text) {
    const std::vector<ExpressionToken> tokens = ScanExpression(text, base_);
    std::vector<Term> terms;
    Term term;
    std::size_t k = 0;
    if (!tokens.empty() && tokens[0].kind == ExpressionToken::kOperator &&
        (text[0] == '-' || text[0] == '+')) {
      term.negative = text[0] == '-';
      ++k;
    }
    bool expectOperand = true;
    char op = '*';
    while (k < tokens.size()) {
      if (tokens[k].kind == ExpressionToken::kOperator) {
        const char c = text[tokens[k].pos];
        if (expectOperand || (c != '+' && c != '-' && c != '*' && c != '/')) {
          RefuseNotLinear();
          return std::nullopt;
        }
        if (c == '+' || c == '-') {
          terms.push_back(std::move(term));
          term = Term{c == '-', {}};
          op = '*';
        } else {
          op = c;
        }
        expectOperand = true;
        ++k;
        continue;
      }
      if (!expectOperand) op = '*';
      std::optional<Factor> factor = ReadFactor(text, tokens, k);
      if (!factor) return std::nullopt;
      factor->op = term.factors.empty() ? '*' : op;
      term.factors.push_back(std::move(*factor));
      expectOperand = false;
    }
    if (expectOperand) {  // an empty layer or one ending in an operator
      RefuseNotLinear();
      return std::nullopt;
    }
    terms.push_back(std::move(term));
    return terms;
  }

  // A layer without brackets around it: X-free text goes to Calculate as a
  // whole; otherwise the factors of X are summed into a and the X-free terms
  // into b, a group holding X contributing its own a and b times its scale.
  std::optional<LinearForm> ReduceLayer(std::string_view text) {
    // Each level of brackets reads its whole text again: the work is bounded
    // like an evaluation's steps.
    scanned_ += text.size();
    if (scanned_ > kMaxStepCharacters) {
      Refuse(RefusalId::kEquationTooMuchWork);
      return std::nullopt;
    }
    if (!HoldsUnknown(ScanExpression(text, base_))) {
      std::optional<std::string> value = Compute(text);
      if (!value) return std::nullopt;
      return LinearForm{false, "0", std::move(*value)};
    }
    std::optional<std::vector<Term>> terms = SplitTerms(text);
    if (!terms) return std::nullopt;
    for (Term& term : *terms) {
      for (Factor& factor : term.factors) {
        if (!factor.isGroup) continue;
        std::optional<LinearForm> form = ReduceLayer(factor.group);
        if (!form) return std::nullopt;
        factor.unknown = form->hasUnknown;
        factor.number = form->b;
        factor.form = std::move(*form);
      }
    }
    std::string aText;
    std::string bText;
    bool hasUnknown = false;
    for (const Term& term : *terms) {
      const Factor* unknown = nullptr;
      std::string scale;  // the product of the X-free factors
      for (const Factor& factor : term.factors) {
        if (factor.unknown) {
          if (unknown != nullptr) {
            Refuse(RefusalId::kEquationTwoUnknowns);
            return std::nullopt;
          }
          unknown = &factor;
          continue;
        }
        if (scale.empty() && factor.op == '/') scale.push_back('1');
        if (!scale.empty()) scale += factor.op;
        scale += Operand(factor.number, base_);
      }
      if (unknown == nullptr) {
        AppendTerm(bText, term.negative, scale);
        continue;
      }
      if (unknown->op == '/') {  // X in a denominator
        RefuseNotLinear();
        return std::nullopt;
      }
      hasUnknown = true;
      const auto scaled = [&](const std::string& value) {
        if (scale.empty()) return Operand(value, base_);
        if (value == "1") return scale;
        return scale + "*" + Operand(value, base_);
      };
      AppendTerm(aText, term.negative, scaled(unknown->form.a));
      if (unknown->form.b != "0") AppendTerm(bText, term.negative, scaled(unknown->form.b));
    }
    LinearForm form;
    form.hasUnknown = hasUnknown;
    if (hasUnknown) {
      std::optional<std::string> a = Compute(aText);
      if (!a) return std::nullopt;
      form.a = std::move(*a);
    }
    if (!bText.empty()) {
      std::optional<std::string> b = Compute(bText);
      if (!b) return std::nullopt;
      form.b = std::move(*b);
    }
    return form;
  }

  void Refuse(RefusalId id, std::vector<std::string> args = {}) {
    refusal_ = {id, std::move(args), std::string(equation_)};
  }

  ExprEngine& engine_;
  std::string_view equation_;
  NumberBase base_;
  std::size_t scanned_ = 0;  // characters of all layers read so far
  Refusal refusal_{RefusalId::kCalculationFailed, {}};
};

// The first function of the word table applied to a bare X ("sin(x)"), named
// in full ("arcsin", not the "sin" it ends with), or "".
std::string_view FunctionOfUnknown(std::string_view text) {
  for (const WordEntry& entry : BuildWordTable()) {
    if (entry.flag != 0) continue;
    const std::string call = std::string(entry.word) + "(x)";
    const std::size_t pos = text.find(call);
    if (pos != std::string_view::npos) {
      return FunctionNameAtEnd(text.substr(0, pos + entry.word.size()));
    }
  }
  return {};
}

}  // namespace

Outcome<EquationSolution> ExprEngine::SolveUnstopped(std::string_view equation,
                                                     const MemoryTexts& memories, NumberBase base) {
  const std::string_view typed = TrimBlanks(equation);
  const std::string text = ToLowerAscii(typed);
  const auto refuse = [&](RefusalId id, std::vector<std::string> args = {}) {
    return Refusal{id, std::move(args), std::string(equation)};
  };

  if (text.find("/x") != std::string::npos || text.find("/(x") != std::string::npos) {
    return refuse(RefusalId::kEquationDenominator);
  }
  const std::size_t equals = text.find('=');
  if (equals == std::string::npos) return refuse(RefusalId::kEquationNoEquals);

  const std::string_view left = std::string_view(text).substr(0, equals);
  const std::string_view right = std::string_view(text).substr(equals + 1);
  std::string zeroForm = std::string(left) + "-(" + std::string(right) + ")";

  if (zeroForm.find('^') != std::string::npos) return refuse(RefusalId::kEquationPower);
  if (const std::string_view word = FunctionOfUnknown(zeroForm); !word.empty()) {
    const std::string name(word);
    return refuse(RefusalId::kEquationFunctionOfUnknown, {name});
  }
  int depth = 0;
  int deepest = 0;
  for (std::size_t i = 0; i < zeroForm.size(); ++i) {
    if (zeroForm[i] == '(') deepest = std::max(deepest, ++depth);
    if (zeroForm[i] != ')') continue;
    if (depth == 0) {
      return refuse(RefusalId::kEquationCloseBracket, {std::to_string(i + 1)});
    }
    --depth;
  }
  if (depth > 0) {
    return refuse(RefusalId::kEquationOpenBrackets, {std::to_string(depth)});
  }
  if (deepest > kMaxEquationDepth) return refuse(RefusalId::kEquationTooDeep);

  Outcome<std::string> substituted =
      SubstituteValues(InsertImplicitMultiplication(zeroForm, base), memories, base);
  if (!substituted) return std::move(substituted).refusal();
  zeroForm = std::move(*substituted);
  EquationSolution solution;
  solution.working = zeroForm + "=0\r\n";

  // The coefficients are intermediate values: they are computed with about
  // twice the digits and never in exponent notation, so that rounding them
  // does not show in X (x/3=1 gives 3, not 3.0000000003) and they can be
  // spliced into the next expression.
  EngineSettings coefficientSettings = settings_;
  coefficientSettings.precision = 2 * settings_.precision + kGuardDigits;
  coefficientSettings.exponentThreshold = kNoExponentThreshold;
  ExprEngine coefficientEngine(coefficientSettings);
  LinearReducer reducer(coefficientEngine, equation, base);
  // An empty side is no operand: it is never read as 0.
  if (TrimBlanks(left).empty() || TrimBlanks(right).empty()) {
    return refuse(RefusalId::kEquationNotLinear, {std::string(kSupportEmail)});
  }
  Outcome<LinearForm> form = reducer.Reduce(zeroForm);
  for (Refusal& notice : reducer.TakeNotices()) notices_.push_back(std::move(notice));
  if (!form) return std::move(form).refusal();

  // A factor 0 of X (the X terms cancel out): no X solves the equation, or
  // every X does.
  if (IsZeroCoefficient(form->a)) {
    return IsZeroCoefficient(form->b) ? refuse(RefusalId::kEquationEveryX)
                                      : refuse(RefusalId::kEquationNoSolution);
  }
  solution.working += "X=-(" + form->b + ")/(" + form->a + ")\r\n";
  const std::string quotient =
      "-(" + WithLeadingDigit(form->b, base) + ")/(" + WithLeadingDigit(form->a, base) + ")";
  Outcome<Calculation> value = Calculate(quotient, kZeroMemories, base);
  if (!value) return std::move(value).refusal();
  solution.value = std::move(value->result);
  solution.working += "X=" + solution.value + "\r\n";
  return solution;
}

}  // namespace calvoro
