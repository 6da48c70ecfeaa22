// calvoro-cli's settings file: refusal, save failures and batched saving.
#include "cli/settings_file.h"

#include <unistd.h>

#include <iostream>

#include "app/safe_file.h"
#include "app/window_start.h"
#include "engine/refusal.h"

namespace calvoro::cli {
namespace {

constexpr std::string_view kKeptForNextSave = "its changes are kept and written with the next save";

// One write(2), so that a message of the saving thread never interleaves
// with one of the main thread.
void WriteError(const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(STDERR_FILENO, text.data() + done, text.size() - done);
    if (n <= 0) return;
    done += static_cast<std::size_t>(n);
  }
}

}  // namespace

std::optional<int> RefuseUnwritableSettings(const CSysDataManager& settings) {
  for (const std::string& warning : settings.warnings())
    std::cerr << "calvoro-cli: warning: " << warning << "\n";
  const std::string text = UnwritableSettingsText(settings);
  if (text.empty()) return std::nullopt;
  std::cerr << "calvoro-cli: " << text << " It is left as it is.\n";
  return 2;
}

void ReportSaveFailed(const std::string& path, const std::string& reason,
                      std::string_view consequence) {
  const Refusal refusal{RefusalId::kSettingsNotWritten, {path, reason, std::string(consequence)}};
  WriteError("calvoro-cli: " + DescribeRefusal(refusal).text + "\n");
}

std::string LostChanges(std::size_t log_lines) {
  return "the last " + std::to_string(log_lines) + (log_lines == 1 ? " log line" : " log lines") +
         " of this run, and any parameter it assigned since its last save, are not kept";
}

RunSaver::RunSaver(CalculatorModel& window, bool batch, std::chrono::milliseconds interval)
    : path_(window.settings().filePath),
      batch_(batch),
      scheduler_(interval, [this] { return SaveBatch(); }) {
  if (!batch_) {
    settings_ = &window.settings();
    window.set_save_hook([this](CSysDataManager& settings) { return SaveAtOnce(settings); });
    return;
  }
  // The CLI never shows the window's log: the batch takes it over.
  record_.Adopt(window.settings());
  window.set_save_hook([this](CSysDataManager& settings) { return Take(settings); });
}

RunSaver::~RunSaver() {
  try {
    Finish();
  } catch (...) {
    // Out of memory while ending: the file is as the last save left it.
  }
}

bool RunSaver::SaveAtOnce(CSysDataManager& settings) {
  const bool saved = settings.Save();
  failed_ = !saved;
  if (!saved) {
    reason_ = settings.saveError();
    if (!warned_) ReportSaveFailed(path_, reason_, kKeptForNextSave);
    warned_ = true;
  }
  return saved;
}

bool RunSaver::Take(CSysDataManager& settings) {
  {
    std::lock_guard<std::mutex> lock(incomingMutex_);
    // The window's record holds the file's values of the run's overrides now.
    incomingFields_ = WithoutLog(settings.data);
    // The CLI never shows the window's log: its new lines move to the batch.
    std::vector<std::string>& lines = settings.data.logLines;
    for (std::string& line : lines) {
      BoundLogLine(line);
      incomingBytes_ += LogLineFileBytes(line);
      incoming_.push_back(std::move(line));
    }
    // Lines the log would drop anyway are dropped here already (with some
    // slack, so that a long batch does not move them for every line).
    if (incoming_.size() > kMaxLogLines + kMaxLogLines / 8 ||
        incomingBytes_ > kMaxLogBytes + kMaxLogBytes / 8) {
      BoundLog(incoming_);
      incomingBytes_ = 0;
      for (const std::string& line : incoming_) incomingBytes_ += LogLineFileBytes(line);
    }
    lines.clear();
    changed_ = true;
  }
  // The first change of a batch is written at once: a batch of one input
  // needs no saving thread (nothing of it is unsaved while it calculates).
  if (!taken_once_) {
    taken_once_ = true;
    SaveBatch();
  } else {
    scheduler_.Changed();
  }
  return true;
}

void RunSaver::MoveIncoming() {
  if (!changed_) return;
  std::vector<std::string> log = std::move(record_.data.logLines);
  record_.data = std::move(incomingFields_);
  log.insert(log.end(), std::make_move_iterator(incoming_.begin()),
             std::make_move_iterator(incoming_.end()));
  record_.data.logLines = std::move(log);
  incoming_.clear();
  incomingBytes_ = 0;
  changed_ = false;
  dirty_ = true;
}

bool RunSaver::SaveBatch() {
  std::lock_guard<std::mutex> lock(saveMutex_);
  {
    std::lock_guard<std::mutex> taken(incomingMutex_);
    MoveIncoming();
  }
  return WriteRecord();
}

bool RunSaver::WriteRecord() {
  if (!dirty_) return true;
  BoundLog(record_.data.logLines);
  const bool saved = record_.Save();
  failed_ = !saved;
  if (saved) {
    dirty_ = false;
    record_.lockTimeout = std::chrono::seconds(10);
    return true;
  }
  reason_ = record_.saveError();
  // Waited for the lock once: the later attempts of the batch wait briefly.
  if (record_.lockHeld()) record_.lockTimeout = std::chrono::seconds(1);
  if (!warned_) ReportSaveFailed(path_, reason_, kKeptForNextSave);
  warned_ = true;
  return false;
}

void RunSaver::EndBatch() {
  if (!failed_) return;
  if (record_.lockHeld()) {
    const std::size_t lines = record_.unsavedLogLines();
    if (const std::string pending = record_.SavePending(); !pending.empty()) {
      WriteError("calvoro-cli: the settings file " + path_ + " could not be written (" + reason_ +
                 "); the last " + std::to_string(lines) +
                 (lines == 1 ? " log line of this run is" : " log lines of this run are") +
                 " kept in " + pending + " and go into the settings file with its next save\n");
      return;
    }
  }
  ReportSaveFailed(path_, reason_, LostChanges(record_.unsavedLogLines()));
}

void RunSaver::SaveBeforeExit() {
  if (!batch_) return;  // everything is saved at once
  // Both held to the end: the main thread takes no further line (and so
  // prints none that would not be saved).
  saveMutex_.lock();
  incomingMutex_.lock();
  MoveIncoming();
  if (!WriteRecord()) EndBatch();
}

bool RunSaver::Finish() {
  if (finished_) return !failed_;
  finished_ = true;
  if (!batch_) {
    if (failed_) ReportSaveFailed(path_, reason_, LostChanges(settings_->unsavedLogLines()));
    return !failed_;
  }
  scheduler_.Stop();
  SaveBatch();
  std::lock_guard<std::mutex> lock(saveMutex_);
  EndBatch();
  return !failed_;
}

}  // namespace calvoro::cli
