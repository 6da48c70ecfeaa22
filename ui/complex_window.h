// ComplexWindow: the complex-style calculator window. Five operands A to E,
// the expression and its value, wired to ComplexModel; the frame
// buttons, style menu, tray, close question and tip of the day come from
// ShellWindow, which owns the settings record, loaded from the file.
#pragma once

#include <array>
#include <string>

#include "app/sys_data.h"
#include "complex/complex_models.h"
#include "ui/complex_operations_dialog.h"
#include "ui/shell_window.h"

class QLineEdit;

namespace calvoro::ui {

class ComplexWindow : public ShellWindow {
  Q_OBJECT
 public:
  // `sink` replaces the window's message boxes (tests); null for real dialogs.
  explicit ComplexWindow(const std::string& settingsPath, MessageSink* sink = nullptr,
                         QWidget* parent = nullptr);

  // Window initialisation: the tip of the day on a fresh start, the tray icon.
  void Initialise();

  // The Calculate button (and Enter anywhere in the window).
  void OnCalculate();

  const ComplexOperandEdits& operand(int index) const { return operands_[index]; }
  QLineEdit* input() const { return input_; }
  QLineEdit* output() const { return output_; }
  SkinnedButton* calculateButton() const { return calculate_; }

  void FocusInput() override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  WindowWork* work_;
  std::array<ComplexOperandEdits, 5> operands_;
  QLineEdit* input_ = nullptr;
  QLineEdit* output_ = nullptr;
  SkinnedButton* calculate_ = nullptr;
};

}  // namespace calvoro::ui
