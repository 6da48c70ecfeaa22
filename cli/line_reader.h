// Reads the inputs of the terminal session line by line: at a terminal with
// a prompt, line editing, the history of earlier sessions and Tab completion
// (editline), otherwise plain lines.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/history.h"

namespace calvoro {

class LineReader {
 public:
  // `completions`: the words Tab completes at a terminal.
  explicit LineReader(bool interactive, std::vector<std::string> completions = {});
  // The next line without its line break; false at the end of the input.
  bool Read(std::string& line);

 private:
  bool interactive_;
  std::optional<cli::HistoryFile> history_;
  std::string last_;  // the newest line of the history
};

}  // namespace calvoro
