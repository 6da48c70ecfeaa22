// The calculator window's complex and matrix dialogs.
#include "ui/complex_dlg.h"
#include "ui/expr_dlg.h"
#include "ui/matrix_dlg.h"

namespace calvoro::ui {

void CExprDlg::OnComplex() {
  if (Blocked()) return;
  CComplexDlg dialog(sink(), this);
  dialog.exec();
  FocusInput();
}

void CExprDlg::OnMatrix() {
  if (Blocked()) return;
  CMatrixDlg dialog(sink(), this);
  dialog.exec();
  FocusInput();
}

}  // namespace calvoro::ui
