// The calculator window's Converter button: the quick converter on the
// window's record; its selected value goes into the input field.
#include "ui/conv_dlg.h"
#include "ui/expr_dlg.h"

namespace calvoro::ui {

void CExprDlg::OnConverter() {
  if (Blocked()) return;
  CConvDlg converter(model_.data(), [this] { model_.Save(); }, givenSink(), this);
  if (converter.exec() == QDialog::Accepted) InsertText(converter.result());
  FocusInput();
}

}  // namespace calvoro::ui
