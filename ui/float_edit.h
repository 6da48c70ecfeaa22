// FloatEdit: the parameter fields' line edit. Typed characters pass the
// parameter filter (digits, ".", and "-" only at the start); the editing
// keys (Backspace, caret movement, copy and paste) stay with the line edit.
#pragma once

#include <QLineEdit>

namespace calvoro::ui {

class FloatEdit : public QLineEdit {
  Q_OBJECT
 public:
  explicit FloatEdit(QWidget* parent);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
};

}  // namespace calvoro::ui
