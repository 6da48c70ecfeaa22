// calvoro-cli's settings file: refusal, save failures and batched saving.
#include "cli/settings_file.h"

#include <pthread.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <new>

#include "app/safe_file.h"
#include "app/window_start.h"

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

timespec Duration(std::chrono::nanoseconds time) {
  if (time.count() < 1'000'000) time = std::chrono::milliseconds(1);
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(time);
  return {static_cast<std::time_t>(seconds.count()), static_cast<long>((time - seconds).count())};
}

}  // namespace

std::optional<int> RefuseUnwritableSettings(const CSysDataManager& settings) {
  const std::string text = UnwritableSettingsText(settings);
  if (text.empty()) return std::nullopt;
  std::cerr << "calvoro-cli: " << text << " It is left as it is.\n";
  return 2;
}

void ReportSaveFailed(const std::string& path, const std::string& reason,
                      std::string_view consequence) {
  WriteError("calvoro-cli: the settings file " + path + " could not be written (" + reason +
             "); " + std::string(consequence) + "\n");
}

std::string LostChanges(std::size_t log_lines) {
  return "the last " + std::to_string(log_lines) + (log_lines == 1 ? " log line" : " log lines") +
         " of this run, and any parameter it assigned since its last save, are not kept";
}

RunSaver::RunSaver(CalculatorModel& window, bool batch, std::chrono::milliseconds interval)
    : path_(window.settings().filePath), batch_(batch), interval_(interval) {
  if (!batch_) {
    settings_ = &window.settings();
    window.set_save_hook([this](CSysDataManager& settings) { return SaveAtOnce(settings); });
    return;
  }
  record_ = window.settings();
  taken_ = window.data().logLines.size();
  lastSave_ = std::chrono::steady_clock::now();
  window.set_save_hook([this](CSysDataManager& settings) { return Take(settings); });
}

void RunSaver::StartThread() {
  // The signals that end a batch go to the saving thread alone; SIGUSR2
  // wakes it at the end.
  sigemptyset(&signals_);
  for (int signal_number : {SIGINT, SIGTERM, SIGHUP, SIGUSR2}) sigaddset(&signals_, signal_number);
  pthread_sigmask(SIG_BLOCK, &signals_, &oldMask_);
  thread_ = std::thread([this] { Run(); });
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
  // The first change of a batch is written at once: a batch of one input
  // needs no saving thread (nothing of it is unsaved while it calculates).
  // The thread starts with the second change.
  const bool first = !thread_.joinable() && !taken_once_;
  if (!first && !thread_.joinable()) StartThread();
  std::lock_guard<std::mutex> lock(mutex_);
  // The window's record holds the file's values of the run's overrides now.
  std::vector<std::string> log = std::move(record_.data.logLines);
  record_.data = WithoutLog(settings.data);
  record_.data.logLines = std::move(log);
  std::vector<std::string>& lines = settings.data.logLines;
  for (std::size_t i = taken_; i < lines.size(); ++i)
    record_.data.logLines.push_back(std::move(lines[i]));
  // The CLI never shows the window's log: the lines live on in the batch.
  lines.clear();
  taken_ = 0;
  dirty_ = true;
  taken_once_ = true;
  if (first) SaveBatch();
  return true;
}

void RunSaver::SaveBatch() {
  const bool saved = record_.Save();
  lastSave_ = std::chrono::steady_clock::now();
  failed_ = !saved;
  if (saved) {
    dirty_ = false;
    return;
  }
  reason_ = record_.saveError();
  if (!warned_) ReportSaveFailed(path_, reason_, kKeptForNextSave);
  warned_ = true;
}

void RunSaver::SaveAndDie(int signal_number) {
  {
    // Held to the end: the main thread changes nothing more.
    mutex_.lock();
    if (dirty_) SaveBatch();
    if (failed_) ReportSaveFailed(path_, reason_, LostChanges(record_.unsavedLogLines()));
  }
  RemoveOpenTemporaries();
  std::signal(signal_number, SIG_DFL);
  sigset_t only;
  sigemptyset(&only);
  sigaddset(&only, signal_number);
  pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
  std::raise(signal_number);
  std::_Exit(128 + signal_number);
}

void RunSaver::Run() {
  try {
    for (;;) {
      std::chrono::nanoseconds wait = interval_;
      {
        std::lock_guard<std::mutex> lock(mutex_);
        if (dirty_) wait = lastSave_ + interval_ - std::chrono::steady_clock::now();
      }
      const timespec timeout = Duration(wait);
      const int signal_number = sigtimedwait(&signals_, nullptr, &timeout);
      if (signal_number == SIGINT || signal_number == SIGTERM || signal_number == SIGHUP)
        SaveAndDie(signal_number);
      std::lock_guard<std::mutex> lock(mutex_);
      if (finishing_) {
        if (dirty_) SaveBatch();
        return;
      }
      if (dirty_ && std::chrono::steady_clock::now() - lastSave_ >= interval_) SaveBatch();
    }
  } catch (const std::bad_alloc&) {
    std::lock_guard<std::mutex> lock(mutex_);
    failed_ = true;
    reason_ = "not enough memory";
  } catch (const std::exception& error) {
    std::lock_guard<std::mutex> lock(mutex_);
    failed_ = true;
    reason_ = error.what();
  }
}

bool RunSaver::Finish() {
  if (finished_) return !failed_;
  finished_ = true;
  if (thread_.joinable()) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      finishing_ = true;
    }
    pthread_kill(thread_.native_handle(), SIGUSR2);
    thread_.join();
    pthread_sigmask(SIG_SETMASK, &oldMask_, nullptr);
  } else if (batch_) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (dirty_) SaveBatch();
  }
  if (failed_) {
    const std::size_t lost =
        batch_ ? record_.unsavedLogLines() : settings_->unsavedLogLines();
    ReportSaveFailed(path_, reason_, LostChanges(lost));
  }
  return !failed_;
}

}  // namespace calvoro::cli
