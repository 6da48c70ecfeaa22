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

  // The kept lines, oldest first, read from the end of the file only. A
  // link or anything but a regular file there is refused with a message on
  // standard error, and the session then keeps no history.
  std::vector<std::string> Load();
  // Appends a line at once, so that a session that ends abruptly loses
  // nothing; once the file holds more than kMaxHistoryLines it is rewritten
  // with the newest ones (through a temporary file, so it is never half
  // written).
  void Add(std::string_view line);

 private:
  // The file opened without following a link; -1 when it cannot be used
  // (a link or a file that is not regular: after the message, and the
  // session keeps no history from then on).
  int Open(int flags);

  std::string path_;
  std::size_t lines_ = 0;  // lines in the file, as far as this session knows
};

}  // namespace calvoro::cli
