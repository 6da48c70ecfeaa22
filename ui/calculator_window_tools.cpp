// The calculator window's tool dialogs: settings, function list and log.
#include "app/settings_model.h"
#include "ui/calculator_window.h"
#include "ui/function_dialogs.h"
#include "ui/log_dialog.h"
#include "ui/settings_dialog.h"

namespace calvoro::ui {

void CalculatorWindow::OnSetting() {
  if (Blocked()) return;
  SettingsDialog dialog(model_.data(), sink(), this);
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
void CalculatorWindow::OnFuncPara() {
  if (Blocked()) return;
  SyncField();
  model_.ReloadSettings();
  model_.RememberCaret();
  QWidget* list = nullptr;
  auto request = [this, &list](const FunctionButton& entry) {
    if (!entry.opensInput()) return InsertText(entry.insert);
    FunctionInputDialog input(
        entry.insert, model_.data(), sink(), [this] { model_.Save(); }, list);
    if (input.exec() == QDialog::Accepted) InsertText(input.Insertion());
  };
  FunctionListDialog dialog(model_.data(), sink(), request, this);
  list = &dialog;
  if (dialog.exec() == QDialog::Accepted) {
    dialog.fields().Store(model_.data());
    model_.Save();
  }
  FocusInput();
  input_->end(false);
}

void CalculatorWindow::OnLog() {
  if (Blocked()) return;
  LogDialog dialog(
      model_.data(), sink(), [this] { model_.Save(); }, this);
  dialog.exec();
  FocusInput();
}

}  // namespace calvoro::ui
