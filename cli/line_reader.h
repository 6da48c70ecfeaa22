// Reads the inputs of the terminal session line by line: at a terminal with
// a prompt, line editing and history (editline), otherwise plain lines.
#pragma once

#include <string>

namespace calvoro {

class LineReader {
 public:
  explicit LineReader(bool interactive) : interactive_(interactive) {}
  // The next line without its line break; false at the end of the input.
  bool Read(std::string& line);

 private:
  bool interactive_;
};

}  // namespace calvoro
