#include "ui/qt_message_sink.h"

#include <QApplication>

#include "ui/input_message_dialog.h"
#include "ui/message_dialog.h"
#include "ui/qt_text.h"

namespace calvoro::ui {

// A dialog open over the window (its check refused an input) raised the
// message: it belongs over that dialog; otherwise over the window.
QWidget* QtMessageSink::Owner() const {
  QWidget* modal = QApplication::activeModalWidget();
  for (QWidget* up = modal; up && parent_; up = up->parentWidget()) {
    if (up == parent_) return modal;
  }
  return parent_;
}

void QtMessageSink::MessageBox(std::string_view text, std::string_view caption, MessageIcon icon) {
  MessageDialog box(icon, ToQt(caption), ToQtLines(text), false, Owner());
  box.exec();
}

Answer QtMessageSink::Question(std::string_view text, std::string_view caption) {
  MessageDialog box(MessageIcon::Question, ToQt(caption), ToQtLines(text), true, Owner());
  return box.exec() == QDialog::Accepted ? Answer::Ok : Answer::Cancel;
}

void QtMessageSink::InputMessage(std::string_view input, std::string_view message,
                                 std::string_view hint) {
  InputMessageDialog dialog(input, message, hint, Owner());
  dialog.exec();
}

}  // namespace calvoro::ui
