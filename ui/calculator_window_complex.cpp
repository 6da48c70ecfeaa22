// The calculator window's complex and matrix dialogs.
#include "ui/calculator_window.h"
#include "ui/complex_operations_dialog.h"
#include "ui/matrix_dialog.h"

namespace calvoro::ui {

void CalculatorWindow::OnComplex() {
  if (Blocked()) return;
  ComplexOperationsDialog dialog(sink(), this);
  dialog.exec();
  FocusInput();
}

void CalculatorWindow::OnMatrix() {
  if (Blocked()) return;
  MatrixDialog dialog(sink(), this);
  dialog.exec();
  FocusInput();
}

}  // namespace calvoro::ui
