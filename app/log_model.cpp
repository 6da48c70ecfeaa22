// The log manager's table and commands.
#include "app/log_model.h"

#include <algorithm>

#include "engine/expression_text.h"
#include "engine/refusal.h"

namespace calvoro {
namespace {

constexpr std::string_view kSelectionCopied =
    "The selection has been copied into the clipboard successfully.";
constexpr std::string_view kLogCopied =
    "The log information has been copied into the clipboard successfully.";
constexpr std::string_view kClearQuestion = "Do you want to clear all the log information?.";

// Valid row numbers, each once, top to bottom.
std::vector<int> Normalised(std::vector<int> selected, std::size_t rows) {
  std::erase_if(selected, [rows](int row) { return row < 0 || std::size_t(row) >= rows; });
  std::sort(selected.begin(), selected.end());
  selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
  return selected;
}

}  // namespace

LogRow SplitLogLine(std::string_view line) {
  std::size_t split = line.find("   ");
  std::size_t skip = 3;
  if (split == std::string_view::npos) {
    split = line.rfind(' ');
    skip = 1;
  }
  if (split == std::string_view::npos) return {"", std::string(TrimBlanks(line))};
  return {std::string(TrimBlanks(line.substr(0, split))),
          std::string(TrimBlanks(line.substr(split + skip)))};
}

std::string ShownInRow(std::string_view text) {
  if (text.size() <= kMaxShownInRow) return std::string(text);
  return std::string(text.substr(0, kMaxShownInRow)) + "...[" + std::to_string(text.size()) +
         " characters]";
}

LogModel::LogModel(CSysData& record, MessageSink& sink, std::function<void()> save)
    : record_(record), sink_(sink), save_(std::move(save)) {
  Fill();
}

void LogModel::Fill() {
  rows_.clear();
  for (auto line = record_.logLines.rbegin(); line != record_.logLines.rend(); ++line)
    rows_.push_back(SplitLogLine(*line));
}

std::string LogModel::RowsText(const std::vector<int>& selected) const {
  std::string text;
  for (int row : selected) text.append(rows_[row].time + "   " + rows_[row].expression + "\n");
  return text;
}

std::optional<std::string> LogModel::CopySelected(std::vector<int> selected, const Clipboard& put) {
  selected = Normalised(std::move(selected), rows_.size());
  if (selected.empty()) {
    ReportRefusal({RefusalId::kLogSelectFirst, {}}, sink_);
    return std::nullopt;
  }
  std::string text = RowsText(selected);
  if (put) put(text);
  sink_.MessageBox(kSelectionCopied, kCaptionCalvoroMessage, MessageIcon::Information);
  return text;
}

std::string LogModel::CopyAll(const Clipboard& put) {
  std::vector<int> all(rows_.size());
  for (std::size_t i = 0; i < all.size(); ++i) all[i] = static_cast<int>(i);
  std::string text = RowsText(all);
  if (put) put(text);
  sink_.MessageBox(kLogCopied, kCaptionCalvoroMessage, MessageIcon::Information);
  return text;
}

void LogModel::RemoveSelected(std::vector<int> selected) {
  selected = Normalised(std::move(selected), rows_.size());
  if (selected.empty()) return;
  // Row r shows line (count - 1 - r). Rows go from the bottom up and lines
  // from the newest down, so that the indices still to come stay valid.
  const std::size_t count = record_.logLines.size();
  for (int row : selected)
    record_.logLines.erase(record_.logLines.begin() + std::ptrdiff_t(count - 1 - row));
  for (auto row = selected.rbegin(); row != selected.rend(); ++row)
    rows_.erase(rows_.begin() + *row);
  save_();
}

void LogModel::Clear() {
  if (sink_.Question(kClearQuestion, kCaptionCalvoroMessage) != Answer::Ok) return;
  record_.logLines.clear();
  save_();
  Fill();
}

}  // namespace calvoro
