// MatrixDialog: the matrix calculator dialog. The "A:" and "B:" edits, the four
// operation buttons and the "Result:" edit, wired to MatrixModel. Size
// refusals reach the input-message dialog through the sink. Modal; opened by
// the calculator window's Matrix button.
#pragma once

#include <array>

#include "matrix/matrix_model.h"
#include "ui/skinned_dialog.h"
#include "ui/window_work.h"

class QPlainTextEdit;

namespace calvoro::ui {

class MatrixDialog : public SkinnedDialog {
  Q_OBJECT
 public:
  static constexpr std::string_view kTitle = "Matrix Calculator";

  MatrixDialog(MessageSink& sink, QWidget* parent);

  // Reads the edits, runs the operation and shows its result.
  void Press(MatrixOperation operation);

  QPlainTextEdit* editA() const { return a_; }
  QPlainTextEdit* editB() const { return b_; }
  QPlainTextEdit* result() const { return result_; }
  SkinnedButton* button(MatrixOperation operation) const {
    return buttons_[static_cast<std::size_t>(operation)];
  }

 private:
  MessageSink& sink_;
  WindowWork* work_;
  QPlainTextEdit* a_ = nullptr;
  QPlainTextEdit* b_ = nullptr;
  QPlainTextEdit* result_ = nullptr;
  std::array<SkinnedButton*, kMatrixOperationLabels.size()> buttons_{};
};

}  // namespace calvoro::ui
