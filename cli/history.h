// The interactive session's history, kept across sessions in
// $XDG_STATE_HOME/calvoro/history (default ~/.local/state/calvoro/): one
// input per line, oldest first, the newest kMaxHistoryLines.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace calvoro::cli {

inline constexpr std::size_t kMaxHistoryLines = 1000;
// Longer inputs (pasted megabyte expressions) stay out of the file.
inline constexpr std::size_t kMaxHistoryLineLength = 4096;

class HistoryFile {
 public:
  // The default place; no file (empty path) when no home folder is known.
  HistoryFile();
  explicit HistoryFile(std::string path) : path_(std::move(path)) {}

  // The kept lines, oldest first.
  std::vector<std::string> Load() const;
  // Appends a line at once, so that a session that ends abruptly loses
  // nothing; once the file holds more than kMaxHistoryLines it is rewritten
  // with the newest ones (through a temporary file, so it is never half
  // written).
  void Add(std::string_view line);

 private:
  std::string path_;
  std::size_t lines_ = 0;  // lines in the file, as far as this session knows
};

}  // namespace calvoro::cli
