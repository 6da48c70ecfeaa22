// The syntax checker: separate neighbour passes over a lower-cased copy of
// the expression, each stopping at the first character it refuses.
#include "engine/syntax_check.h"

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "engine/expression_text.h"
#include "engine/number_base.h"

namespace calvoro {
namespace {

// The lists of what may stand next to the pivot, as the hints spell them.
constexpr std::string_view kBeforeWordsHint =
    ".Or the last char of the following words:Pi,Last1,Last2,Last3,Last4,Last5.";
constexpr std::string_view kAfterWordsHint =
    ".Or the first char of the following words:Pi,Last1,Last2,Last3,Last4,Last5.";
constexpr std::string_view kLastLetterHint =
    "Or the last letter of the function name:Sin,Cos,Tan,ArcSin,ArcSin,ArcCos,ArcTan,Log,Ln,Exp,"
    "Abs,Sqrt,Int";
constexpr std::string_view kFirstLetterHint =
    "Or the first letter of the function name:Sin,Cos,Tan,ArcSin,ArcSin,ArcCos,ArcTan,Log,Ln,Exp,"
    "Abs,Sqrt,Int";

bool IsOperator(char c) { return c == '+' || c == '-' || c == '*' || c == '/' || c == '^'; }

bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }

// The function name at `i`. In bases 16 and Mix a name made of hexadecimal
// digits only ("fac") that no "(" follows is part of a number ("1FACE").
std::string_view NameInBase(std::string_view text, NumberBase base, std::size_t i) {
  const std::string_view name = FunctionNameAt(text, i);
  if (name.empty() || (base != NumberBase::Hex && base != NumberBase::Mix)) return name;
  const std::size_t end = i + name.size();
  if (end < text.size() && text[end] == '(') return name;
  for (char c : name) {
    if (!IsDigitOfBase(base, c)) return name;
  }
  return {};
}

// One function name found in the text by a left-to-right scan that takes the
// longest name at each place and then skips it, so "arcsin" and "sinh" are
// never read as "sin".
struct NameAt {
  std::size_t pos;
  std::string_view name;
};

std::vector<NameAt> FindFunctionNames(std::string_view text, NumberBase base) {
  std::vector<NameAt> names;
  for (std::size_t i = EndOfDecimalDigits(text, 0); i < text.size();
       i = EndOfDecimalDigits(text, i)) {
    const std::string_view name = NameInBase(text, base, i);
    if (name.empty()) {
      ++i;
    } else {
      names.push_back({i, name});
      i += name.size();
    }
  }
  return names;
}

class Checker {
 public:
  // `text` in lower case.
  Checker(std::string_view text, NumberBase base) : text_(text), base_(base) {}

  // The first refusal found, once Run() has returned false.
  Refusal TakeRefusal() { return std::move(refusal_); }

  // The passes in their fixed order; the first refusal ends the check.
  bool Run() {
    return CheckBeforeFunctionNames() && CheckBeforeOpen() && CheckBeforeClose() &&
           CheckBeforeOperators() && CheckBeforeEquals() && CheckNamesFollowedByOpen() &&
           CheckAfterOpen() && CheckAfterClose() && CheckAfterOperators() && CheckAfterEquals() &&
           CheckFunctionParameters();
  }

 private:
  // --- Character classes; `i` is the pivot, the neighbour is i - 1 or i + 1.

  bool IsBaseDigit(char c) const { return IsDigitOfBase(base_, c); }

  // The characters before the pivot end a value: ")", a digit of the base,
  // the unknown, "pi", a parameter letter or a memory word.
  bool EndsOperand(std::size_t i) const {
    const char c = text_[i - 1];
    const bool ends_pi = c == 'i' && i >= 2 && text_[i - 2] == 'p';
    const bool ends_memory = i >= 5 && !MemoryWordAt(text_, i - 5).empty();
    return c == ')' || IsBaseDigit(c) || c == 'x' || ends_pi || IsParameterLetter(c) || ends_memory;
  }

  // The character after the pivot begins a value: "(", a digit of the base,
  // the unknown, the "p" of "pi", a parameter letter, a memory word or a
  // function name.
  bool BeginsOperand(std::size_t i) const {
    const char c = text_[i + 1];
    return c == '(' || IsBaseDigit(c) || BeginsWord(i + 1);
  }

  // The unknown, "p", a parameter letter, a memory word or a function name
  // begins at `j`.
  bool BeginsWord(std::size_t j) const {
    const char c = text_[j];
    return c == 'x' || c == 'p' || IsParameterLetter(c) || !MemoryWordAt(text_, j).empty() ||
           !NameInBase(text_, base_, j).empty();
  }

  // What may stand before a function name. "=" is taken here, before "(" and
  // after ")", as the passes for "=" itself allow those neighbours, so both
  // sides of an equation such as 2(x+1)=sin(30) pass.
  bool NameMayFollow(std::size_t i) const {
    const char c = text_[i - 1];
    return EndsOperand(i) || c == '(' || IsOperator(c) || c == '=';
  }

  bool OpenMayFollow(std::size_t i) const {
    return NameMayFollow(i) || EndsWithFunctionName(std::string_view(text_).substr(0, i));
  }

  // --- Reporting.

  // The char at 1-based `position`, next to `what`, is refused; `allowed`
  // lists what may stand there.
  bool Refuse(RefusalId id, std::size_t position, std::string what, std::string allowed) {
    return Refuse({id, {std::to_string(position), std::move(what), std::move(allowed)}});
  }
  bool Refuse(Refusal refusal) {
    refusal_ = std::move(refusal);
    return false;
  }

  // --- The "before" passes: pivots from the second to the second-last
  // character; the number shown is the pivot's 0-based index, which is the
  // 1-based position of the character before it.

  // The first `pivot` character whose neighbour before it is not accepted.
  std::size_t FirstRefusedBefore(char pivot, bool (Checker::*accept)(std::size_t) const) const {
    // find() skips the long digit runs of big numbers in one library call.
    const std::string_view text(text_);
    for (std::size_t i = text.find(pivot, 1); i != std::string_view::npos && i + 1 < text.size();
         i = text.find(pivot, i + 1)) {
      if (!(this->*accept)(i)) return i;
    }
    return 0;
  }

  // Check 1: what stands before a function name. A name is taken whole and
  // skipped once accepted, so the "sin" inside "arcsin" is not judged again.
  bool CheckBeforeFunctionNames() {
    for (std::size_t i = EndOfDecimalDigits(text_, 0); i + 1 < text_.size();
         i = EndOfDecimalDigits(text_, i)) {
      const std::string_view name = NameInBase(text_, base_, i);
      if (name.empty()) {
        ++i;
        continue;
      }
      if (i > 0 && !NameMayFollow(i)) {
        return Refuse(RefusalId::kCharBefore, i, "the string -- " + std::string(name),
                      std::string("),(,0-9,+,-,*,/,^,X,M,F,K,W") + std::string(kBeforeWordsHint));
      }
      i += name.size();
    }
    return true;
  }

  bool CheckBeforeOperators() {
    for (std::size_t i = EndOfDecimalDigits(text_, 1); i + 1 < text_.size();
         i = EndOfDecimalDigits(text_, i + 1)) {
      const char c = text_[i];
      if (!IsOperator(c)) continue;
      if (EndsOperand(i) || text_[i - 1] == '(') continue;
      return Refuse(RefusalId::kCharBefore, i, "operator " + std::string(1, c),
                    std::string("),(,0-9,X,M,F,K,W") + std::string(kBeforeWordsHint));
    }
    return true;
  }

  bool CheckBeforeOpen() {
    const std::size_t i = FirstRefusedBefore('(', &Checker::OpenMayFollow);
    return i == 0 || Refuse(RefusalId::kCharBefore, i, "(",
                            std::string("),(,0-9,+,-,*,/,^,X,M,F,K,W") +
                                std::string(kBeforeWordsHint) + std::string(kLastLetterHint));
  }

  bool CheckBeforeClose() {
    const std::size_t i = FirstRefusedBefore(')', &Checker::EndsOperand);
    return i == 0 || Refuse(RefusalId::kCharBefore, i, ")", ClosingHint());
  }

  bool CheckBeforeEquals() {
    const std::size_t i = FirstRefusedBefore('=', &Checker::EndsOperand);
    return i == 0 || Refuse(RefusalId::kCharBefore, i, "=", ClosingHint());
  }

  static std::string ClosingHint() {
    return std::string("),0-9,X,M,F,K,W") + std::string(kBeforeWordsHint);
  }

  // Check 6: every function name must be followed by "(". No position.
  bool CheckNamesFollowedByOpen() {
    for (const NameAt& found : FindFunctionNames(text_, base_)) {
      const std::size_t end = found.pos + found.name.size();
      if (end < text_.size() && text_[end] == '(') continue;
      return Refuse(
          {end == text_.size() ? RefusalId::kLastNameWithoutOpen : RefusalId::kNameWithoutOpen,
           {std::string(found.name)}});
    }
    return true;
  }

  // --- The "after" passes: pivots from the first to the second-last
  // character; the number shown is the pivot's 0-based index plus 2, the
  // 1-based position of the character after it.

  // After "(" only the decimal digits count as digits: no point and no
  // hexadecimal letter may open a group.
  bool CheckAfterOpen() {
    const std::string_view text(text_);
    for (std::size_t i = text.find('('); i != std::string_view::npos && i + 1 < text.size();
         i = text.find('(', i + 1)) {
      const char c = text_[i + 1];
      if (c == '(' || IsDecimalDigit(c) || IsOperator(c) || BeginsWord(i + 1)) continue;
      return Refuse(RefusalId::kCharAfter, i + 2, "(",
                    std::string("(,0-9,+,-,*,/,^,X,M,F,K,W") + std::string(kAfterWordsHint) +
                        std::string(kFirstLetterHint));
    }
    return true;
  }

  // ")" may also stand before "=" (see NameMayFollow).
  bool CheckAfterClose() {
    const std::string_view text(text_);
    for (std::size_t i = text.find(')'); i != std::string_view::npos && i + 1 < text.size();
         i = text.find(')', i + 1)) {
      const char c = text_[i + 1];
      if (BeginsOperand(i) || c == ')' || IsOperator(c) || c == '=') continue;
      return Refuse(RefusalId::kCharAfter, i + 2, ")",
                    std::string("(,),0-9,+,-,*,/,^,X,M,F,K,W") + std::string(kAfterWordsHint) +
                        std::string(kFirstLetterHint));
    }
    return true;
  }

  bool CheckAfterOperators() {
    for (std::size_t i = EndOfDecimalDigits(text_, 0); i + 1 < text_.size();
         i = EndOfDecimalDigits(text_, i + 1)) {
      const char c = text_[i];
      if (!IsOperator(c) || BeginsOperand(i)) continue;
      return Refuse(RefusalId::kCharAfter, i + 2, "the operator " + std::string(1, c),
                    AfterOperatorHint());
    }
    return true;
  }

  bool CheckAfterEquals() {
    const std::string_view text(text_);
    for (std::size_t i = text.find('='); i != std::string_view::npos && i + 1 < text.size();
         i = text.find('=', i + 1)) {
      if (BeginsOperand(i)) continue;
      return Refuse(RefusalId::kCharAfter, i + 2, "the operator =", AfterOperatorHint());
    }
    return true;
  }

  static std::string AfterOperatorHint() {
    return std::string("(,0-9,X,M,F,K,W") + std::string(kAfterWordsHint) +
           std::string(kFirstLetterHint);
  }

  // Check 11: the parameter of a function of the word table may be an
  // expression, which is evaluated before the function is applied, but not
  // one that holds the unknown X (no value to apply the function to). Words
  // are tried in table order, each occurrence left to right; names are
  // matched whole.
  bool CheckFunctionParameters() {
    const std::vector<NameAt> names = FindFunctionNames(text_, base_);
    for (const WordEntry& entry : BuildWordTable()) {
      if (entry.flag != 0) continue;
      std::size_t resume = 0;
      for (const NameAt& found : names) {
        const std::size_t open = found.pos + found.name.size();
        if (found.name != entry.word || found.pos < resume || open >= text_.size() ||
            text_[open] != '(') {
          continue;
        }
        const std::size_t close = MatchingClose(open);
        const std::string_view parameter =
            std::string_view(text_).substr(open + 1, close - open - 1);
        if (IsExpression(parameter) && ContainsUnknown(parameter)) {
          return Refuse(
              {RefusalId::kExpressionParameter, {std::string(parameter), std::string(entry.word)}});
        }
        resume = close;
      }
    }
    return true;
  }

  // The ")" that closes the "(" at `open`, counting nested brackets; the end
  // of the text when it is missing (the bracket count refuses that text).
  std::size_t MatchingClose(std::size_t open) const {
    int depth = 0;
    for (std::size_t i = open; i < text_.size(); ++i) {
      if (text_[i] == '(') ++depth;
      if (text_[i] == ')' && --depth == 0) return i;
    }
    return text_.size();
  }

  std::string_view text_;
  NumberBase base_;
  Refusal refusal_{RefusalId::kCalculationFailed, {}};
};

}  // namespace

Status CheckSyntax(std::string_view expression, NumberBase base) {
  std::string lowered;
  Status status = CheckLowerCaseSyntax(LowerCased(expression, lowered), base);
  if (!status) return Refusal{status.refusal().id, status.refusal().args, std::string(expression)};
  return status;
}

Status CheckLowerCaseSyntax(std::string_view expression, NumberBase base) {
  Checker checker(expression, base);
  if (checker.Run()) return Success();
  Refusal refusal = checker.TakeRefusal();
  refusal.input = expression;
  return refusal;
}

int SyntaxPosition(const Refusal& refusal) {
  const bool positioned =
      refusal.id == RefusalId::kCharBefore || refusal.id == RefusalId::kCharAfter;
  return positioned ? std::stoi(refusal.args.at(0)) : 0;
}

std::vector<WordEntry> BuildWordTable() {
  return {
      {"sin", 0},   {"cos", 0},    {"tan", 0},    {"sinh", 0},   {"cosh", 0},
      {"tanh", 0},  {"arcsin", 0}, {"arccos", 0}, {"arctan", 0}, {"ln", 0},
      {"log", 0},   {"exp", 0},    {"abs", 0},    {"sqrt", 0},   {"rad", 0},
      {"deg", 0},   {"fac", 0},    {"sec", 0},    {"arcsec", 0}, {"last1", 1},
      {"last2", 1}, {"last3", 1},  {"last4", 1},  {"last5", 1},  {"pi", 1},
  };
}

}  // namespace calvoro
