#include "ui/qt_message_sink.h"

#include "ui/input_msg_dlg.h"
#include "ui/message_dlg.h"
#include "ui/qt_text.h"

namespace calvoro::ui {

void QtMessageSink::MessageBox(std::string_view text, std::string_view caption,
                               MessageIcon icon) {
  CMessageDlg box(icon, ToQt(caption), ToQtLines(text), false, parent_);
  box.exec();
}

Answer QtMessageSink::Question(std::string_view text, std::string_view caption) {
  CMessageDlg box(MessageIcon::Question, ToQt(caption), ToQtLines(text), true, parent_);
  return box.exec() == QDialog::Accepted ? Answer::Ok : Answer::Cancel;
}

void QtMessageSink::InputMessage(std::string_view input, std::string_view message,
                                 std::string_view hint) {
  CInputMsgDlg dialog(input, message, hint, parent_);
  dialog.exec();
}

}  // namespace calvoro::ui
