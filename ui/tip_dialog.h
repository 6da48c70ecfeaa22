// TipDialog: the tip of the day, modeless over its calculator window. While it
// is open the record's tipOpen is 1 and the window ignores its commands;
// Close (or Enter, Escape) stores the choices and lets the window work again.
#pragma once

#include <functional>

#include "app/tip_model.h"
#include "ui/skinned_dialog.h"

class QCheckBox;
class QTextEdit;

namespace calvoro::ui {

class TipDialog : public SkinnedDialog {
  Q_OBJECT
 public:
  TipDialog(CSysData& record, std::function<void()> save, QWidget* parent);

  const TipModel& tip() const { return tip_; }
  QTextEdit* tipText() const { return text_; }
  QCheckBox* showAtStart() const { return showAtStart_; }

 signals:
  void tipClosed();

 protected:
  void done(int result) override;

 private:
  void ShowTip();

  TipModel tip_;
  QTextEdit* text_;
  QCheckBox* showAtStart_;
};

}  // namespace calvoro::ui
