// A MessageSink that records every message, for tests.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "engine/message_sink.h"
#include "engine/refusal.h"

namespace calvoro::testing {

// The catalogue's text of the refusal `id` of `arg` (a path, a number).
inline std::string Refused(RefusalId id, std::string arg) {
  return DescribeRefusal({id, {std::move(arg)}}).text;
}

struct RecordedMessage {
  enum Kind { Box, Question, Input } kind;
  std::string text;     // box/question text, or the input-message dialog's message
  std::string caption;  // box/question caption, or the dialog's first text (the input)
  MessageIcon icon = MessageIcon::Information;
  std::string hint;  // the input-message dialog's third text
};

class RecordingSink : public MessageSink {
 public:
  void MessageBox(std::string_view text, std::string_view caption, MessageIcon icon) override {
    messages.push_back({RecordedMessage::Box, std::string(text), std::string(caption), icon, {}});
  }
  Answer Question(std::string_view text, std::string_view caption) override {
    messages.push_back({RecordedMessage::Question,
                        std::string(text),
                        std::string(caption),
                        MessageIcon::Question,
                        {}});
    return answer;
  }
  void InputMessage(std::string_view input, std::string_view message,
                    std::string_view hint) override {
    messages.push_back({RecordedMessage::Input, std::string(message), std::string(input),
                        MessageIcon::Information, std::string(hint)});
  }

  bool empty() const { return messages.empty(); }

  std::vector<RecordedMessage> messages;
  Answer answer = Answer::Ok;  // what Question returns
};

}  // namespace calvoro::testing
