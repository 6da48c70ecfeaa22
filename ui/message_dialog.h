// MessageDialog: the program's message box and question, skinned like its
// windows: the caption in the title band, the icon, the text, and OK (with
// Cancel for a question). Modal, transient for and centred on the window
// that raised it; Enter is OK, Escape Cancel (or closes a message), Tab
// moves between the buttons.
#pragma once

#include "engine/message_sink.h"
#include "ui/skinned_dialog.h"

namespace calvoro::ui {

class MessageDialog : public SkinnedDialog {
  Q_OBJECT
 public:
  MessageDialog(MessageIcon icon, const QString& caption, const QString& text, bool question,
                QWidget* parent);

  const QString& text() const { return text_; }
  SkinnedButton* okButton() const { return ok_; }
  // Null for a plain message.
  SkinnedButton* cancelButton() const { return cancel_; }

 private:
  QString text_;
  SkinnedButton* ok_ = nullptr;
  SkinnedButton* cancel_ = nullptr;
};

}  // namespace calvoro::ui
