// Complex expressions over the operands A to E, such as 5(A+6B-C)-E: the
// implicit multiplications made explicit, then the bracket loop over complex
// values with the priorities of the real evaluator.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "complex/complex_number.h"

namespace calvoro {

using ComplexOperands = std::array<ComplexNumber, 5>;  // A, B, C, D, E

// The trimmed expression lower-cased, with the engine's implicit
// multiplications (base 10), then a "*" between a letter a-e and a digit (in
// either order), after ")" before anything but ( ) * + - / ^, and before "("
// after anything but those and a function name:
// "5(A+6B-C)-E" gives "5*(a+6*b-c)-e".
std::string PrepareComplexExpression(std::string_view expression);

// Evaluates a prepared expression. Beside the operands a-e it reads numbers
// ("2.5"), imaginary numbers ("3j", and "j" alone for 0+1j), "+ - * / ^"
// with priorities 2, 3 and 4 (equal priorities left to right, so 2^3^2 is
// 64), a sign before the first operand of the text or of a bracket ("-a^2"
// is (-a)^2, as in real expressions), and the functions sin, cos, tan, ln,
// exp, sqrt and abs. Anything else, and any result that is not finite, is a
// failure (nothing is returned).
class ComplexEvaluator {
 public:
  explicit ComplexEvaluator(const ComplexOperands& operands) : operands_(operands) {}

  std::optional<ComplexNumber> Evaluate(std::string_view prepared) const;

 private:
  ComplexOperands operands_;
};

// The "^" of complex expressions: an integer exponent by repeated
// multiplication (0^0 is 1, as for real numbers), otherwise the dialog's real
// or complex power (principal value); 0 to a power whose real part is not
// positive has no value.
std::optional<ComplexNumber> ExpressionPower(ComplexNumber base, ComplexNumber exponent);

}  // namespace calvoro
