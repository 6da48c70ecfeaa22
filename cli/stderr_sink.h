// Messages of the terminal front end: a message box is one line
// "CAPTION: TEXT" on standard error, the input-message dialog its three texts
// on three lines; a question is answered OK.
#pragma once

#include <iostream>

#include "engine/message_sink.h"

namespace calvoro {

class StderrSink : public MessageSink {
 public:
  void MessageBox(std::string_view text, std::string_view caption, MessageIcon) override {
    std::cerr << caption << ": " << text << '\n';
  }
  Answer Question(std::string_view text, std::string_view caption) override {
    std::cerr << caption << ": " << text << '\n';
    return Answer::Ok;
  }
  void InputMessage(std::string_view input, std::string_view message,
                    std::string_view hint) override {
    std::cerr << input << '\n' << message << '\n' << hint << '\n';
  }
};

}  // namespace calvoro
