// The log manager without its dialog: the table of log lines (newest first)
// and the Copy Sel, Copy All, Remove Sel and Clear commands on the calling
// window's settings record.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/sys_data.h"
#include "engine/message_sink.h"

namespace calvoro {

struct LogRow {
  std::string time;
  std::string expression;
};

// Splits a log line into its two columns at the first run of three blanks
// (time | body); a line without one is split at its last blank.
LogRow SplitLogLine(std::string_view line);

// What the table shows of a long text: its beginning, then "...[" its
// length " characters]" (a row of a million characters took most of a
// second to paint); Copy takes the whole line.
inline constexpr std::size_t kMaxShownInRow = 300;
std::string ShownInRow(std::string_view text);

class LogModel {
 public:
  // `save` writes the record (the window's save, which knows the file).
  LogModel(CSysData& record, MessageSink& sink, std::function<void()> save);

  // Row 0 is the newest line.
  const std::vector<LogRow>& rows() const { return rows_; }
  void Fill();

  // The clipboard text of the given rows (top to bottom), or nothing when no
  // row is selected; the message says which, after `put` has put the text
  // on the clipboard.
  using Clipboard = std::function<void(const std::string&)>;
  std::optional<std::string> CopySelected(std::vector<int> selected, const Clipboard& put = {});
  std::string CopyAll(const Clipboard& put = {});
  // Removes the rows and their lines, and saves at once.
  void RemoveSelected(std::vector<int> selected);
  // Asks first; on OK empties the log and saves.
  void Clear();

 private:
  std::string RowsText(const std::vector<int>& selected) const;

  CSysData& record_;
  MessageSink& sink_;
  std::function<void()> save_;
  std::vector<LogRow> rows_;
};

}  // namespace calvoro
