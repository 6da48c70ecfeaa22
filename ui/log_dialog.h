// LogDialog: the log manager over LogModel: the log lines as a table (newest
// first) with Copy Sel, Copy All, Remove Sel and Clear. Modal; it works on
// the calling window's record and saves through the window's save.
#pragma once

#include <functional>

#include "app/log_model.h"
#include "ui/skinned_dialog.h"

class QTableWidget;

namespace calvoro::ui {

class LogDialog : public SkinnedDialog {
  Q_OBJECT
 public:
  LogDialog(CSysData& record, MessageSink& sink, std::function<void()> save, QWidget* parent);

  QTableWidget* table() const { return table_; }
  // The commands, as their buttons run them.
  void OnCopySel();
  void OnCopyAll();
  void OnRemoveSel();
  void OnClear();

 private:
  void Fill();

  LogModel model_;
  QTableWidget* table_ = nullptr;
};

}  // namespace calvoro::ui
