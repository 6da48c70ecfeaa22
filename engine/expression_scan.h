// Splits a lower-case expression into its pieces: numbers of the base,
// function names, memory words, Pi, parameter letters, the unknown, brackets
// and operators. Implicit multiplication, substitution, Mix validation and
// the base switch all walk the same pieces.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/number_base.h"

namespace calvoro {

struct ExpressionToken {
  enum Kind {
    kNumber,     // a maximal run of digits of the base (the point included)
    kFunction,   // a function name directly followed by "("
    kMemory,     // last1 .. last5
    kPi,         // pi
    kParameter,  // f, k, m, w (f only outside bases 16 and Mix)
    kUnknown,    // x
    kOpen,       // (
    kClose,      // )
    kOperator,   // + - * / ^ =
    kOther,      // any other character
  };
  Kind kind;
  std::size_t pos;
  std::size_t length;
};

// Gives the pieces of `text` (already lower-cased) in the number base one by
// one, so that a long text is walked without a list of its pieces.
class ExpressionScanner {
 public:
  ExpressionScanner(std::string_view text, NumberBase base) : text_(text), base_(base) {}
  // The next piece; false at the end of the text.
  bool Next(ExpressionToken& token);

 private:
  std::string_view text_;
  NumberBase base_;
  std::size_t pos_ = 0;
};

// The pieces of `text` as a list.
std::vector<ExpressionToken> ScanExpression(std::string_view text, NumberBase base);

// Whether a piece stands for a value (it may end an operand).
bool EndsOperand(ExpressionToken::Kind kind);
// Whether a "*" goes between two neighbouring pieces: the left one ends an
// operand and the right one begins one (a number only after a non-number).
bool NeedsImplicitMultiplication(ExpressionToken::Kind left, ExpressionToken::Kind right);

// The text in `base` with every implicit multiplication written as "*":
// "2(3)" gives "2*(3)".
std::string InsertImplicitMultiplication(std::string_view text, NumberBase base);
// The same into `out`; false, with `out` untouched, when the text needs no
// "*" (a long text is then not copied). `names` is set when the text names
// a memory, Pi or a parameter.
bool InsertImplicitMultiplicationInto(std::string_view text, NumberBase base, std::string& out,
                                      bool* names = nullptr);

}  // namespace calvoro
