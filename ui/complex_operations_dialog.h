// ComplexOperationsDialog: the complex operations dialog. Two operands A and B, twelve
// operation buttons and the "Output" edit, wired to ComplexOperationsModel.
// Modal; opened by the calculator window's Complex button.
#pragma once

#include <array>
#include <span>

#include "complex/complex_models.h"
#include "ui/skinned_dialog.h"
#include "ui/window_work.h"

class QLineEdit;
class QPlainTextEdit;

namespace calvoro::ui {

// One complex operand's row: "A:", the real part, "＋", the imaginary part
// and "j". Shared by the operations dialog and the complex window.
struct ComplexOperandEdits {
  QLineEdit* re = nullptr;
  QLineEdit* im = nullptr;
  ComplexOperandText Text() const;
};
// Puts the caret into the edit a model's refusal named (ComplexFieldName);
// nothing for -1.
void FocusRefusedField(std::span<const ComplexOperandEdits> rows, int field);
// Builds the row with its label at (x, y); each edit is `editWidth` wide.
ComplexOperandEdits AddComplexOperandRow(SkinnedDialog& dialog, char letter, int x, int y,
                                         int editWidth);

class ComplexOperationsDialog : public SkinnedDialog {
  Q_OBJECT
 public:
  static constexpr std::string_view kTitle = "Complex Calculator";

  // Refusals (a zero divisor, too many roots) go to `sink`.
  ComplexOperationsDialog(MessageSink& sink, QWidget* parent);

  // Reads A and B, runs the operation and shows its result.
  void Press(ComplexOperation operation);

  const ComplexOperandEdits& operand(int index) const { return operands_[index]; }
  SkinnedButton* button(ComplexOperation operation) const {
    return buttons_[static_cast<std::size_t>(operation)];
  }
  QPlainTextEdit* output() const { return output_; }

 private:
  MessageSink& sink_;
  WindowWork* work_;
  std::array<ComplexOperandEdits, 2> operands_;
  std::array<SkinnedButton*, kComplexOperationLabels.size()> buttons_{};
  QPlainTextEdit* output_ = nullptr;
};

}  // namespace calvoro::ui
