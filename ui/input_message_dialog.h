// InputMessageDialog: a refused input with its explanation, three wrapped texts one
// above the other (each tall enough for its lines below the scroll bar's
// count) and a Close button, the default for Enter. Modal.
#pragma once

#include <string_view>

#include "ui/skinned_dialog.h"

class QPlainTextEdit;

namespace calvoro::ui {

class InputMessageDialog : public SkinnedDialog {
  Q_OBJECT
 public:
  InputMessageDialog(std::string_view top, std::string_view middle, std::string_view bottom,
                     QWidget* parent);

  // The fields as shown (for tests and screenshots).
  QPlainTextEdit* field(int index) const { return fields_[index]; }

 private:
  QPlainTextEdit* fields_[3];
};

}  // namespace calvoro::ui
