// The behaviour of the complex operations dialog (ComplexOperationsDialog) and of the
// complex-style calculator window (ComplexWindow) without widgets: the
// windows copy their edits into these models, call the button's command and
// show `output()`.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "complex/complex_expression.h"
#include "complex/complex_number.h"
#include "engine/message_sink.h"

namespace calvoro {

inline constexpr int kMaxRoots = 1000;

// One complex operand as typed: the real and the imaginary edit. Each holds
// a decimal number (ReadDecimalDouble: a sign, an exponent and blanks
// around it allowed); an empty edit is 0.
struct ComplexOperandText {
  std::string re;
  std::string im;
};

// The edits of operands A, B, ... counted in the dialog's order: 2k the real
// part of operand k, 2k + 1 its imaginary part.
std::string ComplexFieldName(int field);

// Reads the operands into `values`; a field that is no number is refused
// with a message naming it ("Sorry, the real part of A is not a number.")
// and its index returned (-1 when all are read).
int ReadComplexOperands(std::span<const ComplexOperandText> operands,
                        std::span<ComplexNumber> values, MessageSink& sink);

// The twelve buttons of the operations dialog, in the dialog's order.
enum class ComplexOperation {
  kAdd,
  kSubtract,
  kMultiply,
  kDivide,
  kModule,
  kLog,
  kSin,
  kCos,
  kTan,
  kRealPower,
  kComplexPower,
  kRoots,
};
inline constexpr std::array<std::string_view, 12> kComplexOperationLabels = {
    "A+B",
    "A-B",
    "A*B",
    "A/B",
    "A Module",
    "A Log",
    "A Sin",
    "A Cos",
    "A Tan",
    "Real Power Exponent",
    "Complex Power Exponent",
    "A Radix B"};

// The output text of one operation on A and B. A zero divisor is not
// caught: its not-a-numbers are printed as the C library prints them.
std::string ComplexOperationText(ComplexOperation operation, ComplexNumber a, ComplexNumber b);

class ComplexOperationsModel {
 public:
  explicit ComplexOperationsModel(MessageSink& sink) : sink_(sink) {}

  // Reads A and B and shows the result in the output. Refused, with a
  // message and the output unchanged: "A Radix B" with more than kMaxRoots
  // roots, and the powers of 0 with an exponent whose real part is negative
  // (the denominator is zero).
  bool Press(ComplexOperation operation);

  ComplexOperandText a, b;
  const std::string& output() const { return output_; }
  // The edit the last refusal named (ComplexFieldName), -1 for none: the
  // dialog puts the caret there.
  int refusedField() const { return refusedField_; }

 private:
  MessageSink& sink_;
  std::string output_;
  int refusedField_ = -1;
};

class ComplexModel {
 public:
  static constexpr std::string_view kTitle = "Complex Expression Calculator";
  static constexpr std::string_view kHint = "e.g. 5(A+6B-C)-E";

  explicit ComplexModel(MessageSink& sink) : sink_(sink) {}

  // The Calculate button: on success shows the value's text form in the
  // output; otherwise reports why and leaves the output as it was.
  bool Calculate();

  std::array<ComplexOperandText, 5> operands;  // A .. E
  std::string expression;
  const std::string& output() const { return output_; }
  // As ComplexOperationsModel::refusedField, over A .. E.
  int refusedField() const { return refusedField_; }

 private:
  MessageSink& sink_;
  std::string output_;
  int refusedField_ = -1;
};

}  // namespace calvoro
