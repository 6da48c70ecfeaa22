#include "ui/qt_message_sink.h"

#include <QMessageBox>

#include "ui/input_msg_dlg.h"
#include "ui/qt_text.h"

namespace calvoro::ui {

namespace {

QMessageBox::Icon IconOf(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Error: return QMessageBox::Critical;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

void QtMessageSink::MessageBox(std::string_view text, std::string_view caption,
                               MessageIcon icon) {
  QMessageBox box(IconOf(icon), ToQt(caption), ToQtLines(text), QMessageBox::Ok, parent_);
  box.exec();
}

Answer QtMessageSink::Question(std::string_view text, std::string_view caption) {
  QMessageBox box(QMessageBox::Question, ToQt(caption), ToQtLines(text),
                  QMessageBox::Ok | QMessageBox::Cancel, parent_);
  return box.exec() == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
}

void QtMessageSink::InputMessage(std::string_view input, std::string_view message,
                                 std::string_view hint) {
  CInputMsgDlg dialog(input, message, hint, parent_);
  dialog.exec();
}

}  // namespace calvoro::ui
