// Small tests and normalisers on expression and number texts, shared by the
// syntax checker, the evaluator, the driver, the solver and the windows.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "numeric/digit_text.h"

namespace calvoro {

// Every function name the engine knows, longest first so that a search for
// the name ending or starting at a place finds "arcsin" before "sin" and
// "sinh" before "sin".
inline constexpr std::array<std::string_view, 20> kFunctionNames = {
    "arcsin", "arccos", "arctan", "arcsec", "sqrt", "sinh", "cosh", "tanh", "sin", "cos",
    "tan",    "sec",    "exp",    "log",    "int",  "abs",  "fac",  "rad",  "deg", "ln"};

// The value words an expression may use beside numbers.
inline constexpr std::array<std::string_view, 5> kMemoryWords = {"last1", "last2", "last3", "last4",
                                                                 "last5"};

// The 100-decimal Pi: the stored value of the parameter Pi.
inline constexpr std::string_view kPiText =
    "3.14159265358979323846264338327950288419716939937510582097494459230781640628620899862803482"
    "534211706798";

// The first place at or after `from` of a character of `set`, or npos. A
// table test per character: string_view::find_first_of calls memchr once per
// character of the text, which is slow over megabyte-long numbers.
std::size_t FindAnyOf(std::string_view text, std::string_view set, std::size_t from = 0);

std::string ToLowerAscii(std::string_view text);
// The text in lower case: the text itself when it holds no capital letter,
// else a lower-cased copy kept in `storage`.
std::string_view LowerCased(std::string_view text, std::string& storage);
// Whether two texts are equal when ASCII letters are compared in lower case.
bool EqualIgnoringCase(std::string_view a, std::string_view b);
std::string ToUpperAscii(std::string_view text);
// White space removed at both ends.
std::string_view TrimBlanks(std::string_view text);

// The longest function name that ends `text` (lower case), or "".
std::string_view FunctionNameAtEnd(std::string_view text);
bool EndsWithFunctionName(std::string_view text);
// The longest function name that starts at `pos` of `text`, or "". Scanners
// ask at every position of megabyte-long numbers, so the common answer (no
// letter there, no name) is given inline.
std::string_view FunctionNameStartingWithLetter(std::string_view text, std::size_t pos);
inline std::string_view FunctionNameAt(std::string_view text, std::size_t pos) {
  if (pos >= text.size() || text[pos] < 'a' || text[pos] > 'z') return {};
  return FunctionNameStartingWithLetter(text, pos);
}
// The memory word ("last1".."last5") that starts at `pos`, or "".
std::string_view MemoryWordAt(std::string_view text, std::size_t pos);

// A run of ".", "0"-"9", "a"-"f", "A"-"F", "h", "H", "x", "X" with one "-" or
// "+" allowed as the first character. The empty text passes.
bool IsNumberText(std::string_view text);
// The text inside one pair of brackets around the whole text, or the text.
std::string_view WithoutBrackets(std::string_view text);
// A number text, or a number text in exactly one pair of brackets.
bool IsNumberOperand(std::string_view text);

// Leading "0"s of the integer part dropped, one digit kept before the point;
// a sign and one pair of brackets around the text are kept.
std::string StripLeadingZeros(std::string_view text);
// For a text with "." and no exponent ("E+", "E-"): trailing fraction "0"s
// dropped, then a bare point.
std::string StripTrailingZeros(std::string_view text);
// The same in place (no copy of a long text that keeps its digits), and
// both, leading zeros first.
void StripLeadingZerosInPlace(std::string& text);
void StripTrailingZerosInPlace(std::string& text);
void StripZerosInPlace(std::string& text);

// A decimal number text times 10^shift, written out in full and in normal
// form ("1.5", 3 gives "1500"; "12", -3 gives "0.012").
std::string ShiftDecimalPoint(std::string_view text, long long shift);
// A decimal text in exponent notation ("1.23456E+8", "-1.2E-7") written out
// in plain digits. Other texts, and exponents beyond kMaxExpandedExponent,
// are returned as they are.
std::string ExpandExponentNotation(std::string_view text);
inline constexpr long long kMaxExpandedExponent = 10000;

// After one leading "+" or "-", the text holds one of ( ) * + - / ^.
bool IsExpression(std::string_view text);
// Holds M, F, K, W or PI (either case).
bool UsesUserParameter(std::string_view text);
// Holds Last1..Last5 or PI (either case).
bool UsesMemory(std::string_view text);
// F, K, M, W in either case.
bool IsParameterLetter(char c);
// Holds an "x" (either case) that is not part of "exp".
bool ContainsUnknown(std::string_view text);

// A negative value as it is spliced into an expression: "(" value ")".
std::string Bracketed(std::string_view value);

// How many "(" and ")" a text holds: every calculator refuses a text whose
// two counts differ before anything else reads it.
struct BracketCount {
  std::size_t opens = 0;
  std::size_t closes = 0;
  bool Balanced() const { return opens == closes; }
};
BracketCount CountBrackets(std::string_view text);

}  // namespace calvoro
