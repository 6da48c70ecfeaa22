// The calculator window's tool dialogs: settings, function list and log.
#include "app/settings_dialog.h"
#include "ui/expr_dlg.h"
#include "ui/func_dlg.h"
#include "ui/log_dlg.h"
#include "ui/set_dlg.h"

namespace calvoro::ui {

void CExprDlg::OnSetting() {
  if (Blocked()) return;
  CSetDlg dialog(model_.data(), sink(), this);
  if (dialog.exec() == QDialog::Accepted) {
    StoreSettings(dialog.values(), model_.data());
    model_.Save();
    RefreshMinimizeToTray();
  }
  FocusInput();
}

// The list inserts into the field while it stays open: a function through
// the input dialog on top of the list, the rest as they are. The caret is
// remembered first, so the first insertion goes where the caret was.
void CExprDlg::OnFuncPara() {
  if (Blocked()) return;
  SyncField();
  model_.ReloadSettings();
  model_.RememberCaret();
  QWidget* list = nullptr;
  auto request = [this, &list](const FunctionButton& entry) {
    if (!entry.opensInput()) return InsertText(entry.insert);
    CFuncInputDlg input(entry.insert, model_.data(), sink(), [this] { model_.Save(); }, list);
    if (input.exec() == QDialog::Accepted) InsertText(input.Insertion());
  };
  CFuncDlg dialog(model_.data(), sink(), request, this);
  list = &dialog;
  if (dialog.exec() == QDialog::Accepted) {
    dialog.fields().Store(model_.data());
    model_.Save();
  }
  FocusInput();
  input_->end(false);
}

void CExprDlg::OnLog() {
  if (Blocked()) return;
  CLogDlg dialog(model_.data(), sink(), [this] { model_.Save(); }, this);
  dialog.exec();
  FocusInput();
}

}  // namespace calvoro::ui
