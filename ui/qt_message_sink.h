// The windows' message sink: skinned message boxes with the given caption and icon,
// questions with OK and Cancel, and the input-message dialog, each modal over
// the window that owns the sink, or over its dialog that is open.
#pragma once

#include "engine/message_sink.h"

class QWidget;

namespace calvoro::ui {

class QtMessageSink : public MessageSink {
 public:
  explicit QtMessageSink(QWidget* parent) : parent_(parent) {}
  void MessageBox(std::string_view text, std::string_view caption, MessageIcon icon) override;
  Answer Question(std::string_view text, std::string_view caption) override;
  void InputMessage(std::string_view input, std::string_view message,
                    std::string_view hint) override;

 private:
  QWidget* Owner() const;

  QWidget* parent_;
};

}  // namespace calvoro::ui
