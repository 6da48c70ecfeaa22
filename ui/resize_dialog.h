// ResizeDialog: the notice after a style change (the new style starts with the
// next run). Modal, one OK button.
#pragma once

#include "app/sys_data.h"
#include "ui/skinned_dialog.h"

namespace calvoro::ui {

class ResizeDialog : public SkinnedDialog {
  Q_OBJECT
 public:
  ResizeDialog(WindowStyle style, QWidget* parent);
};

}  // namespace calvoro::ui
