// The behaviour of the complex operations dialog (ComplexOperationsDialog) and of the
// complex-style calculator window (ComplexWindow) without widgets: the
// windows copy their edits into these models, call the button's command and
// show `output()`.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "complex/complex_expression.h"
#include "complex/complex_number.h"
#include "engine/message_sink.h"

namespace calvoro {

inline constexpr std::string_view kCaptionComplexCalculator = "Complex Expression Calculator";
inline constexpr std::string_view kCaptionComplexWarning =
    "Complex Expression Calculator Warning Message";

inline constexpr std::string_view kComplexFailureHead =
    "Sorry, fail to calculate the complex expression .Please check your input and report to ";
inline constexpr std::string_view kComplexTooManyRoots =
    "Sorry, the number of roots must not be above 1000.";
inline constexpr std::string_view kComplexNotFinite =
    "Sorry, the result is too large or not defined.";
inline constexpr int kMaxRoots = 1000;

// One complex operand as typed: the real and the imaginary edit. Each is
// read in atof's manner, an empty edit as 0.
struct ComplexOperandText {
  std::string re;
  std::string im;

  ComplexNumber Value() const;
};

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

 private:
  MessageSink& sink_;
  std::string output_;
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

 private:
  MessageSink& sink_;
  std::string output_;
};

}  // namespace calvoro
