// The settings file as calvoro-cli meets it: a file it may not write is
// refused before anything runs, and a save that fails is reported for what
// it really means.
#pragma once

#include <chrono>
#include <csignal>
#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "app/calculator_model.h"
#include "app/sys_data.h"

namespace calvoro::cli {

// Exit status 2, after the message, when the loaded settings file is not a
// settings record or not a regular file (it is never written); nullopt when
// it is usable.
std::optional<int> RefuseUnwritableSettings(const CSysDataManager& settings);

// "calvoro-cli: the settings file PATH could not be written (REASON); " and
// `consequence`, on standard error as one write.
void ReportSaveFailed(const std::string& path, const std::string& reason,
                      std::string_view consequence);

// What is lost when the last save of a calculation run failed.
std::string LostChanges(std::size_t log_lines);

// Saves a calculation run's settings at once, as the windows do (a person
// typing at a terminal), or in batches (inputs from a pipe, a file or the
// arguments): then the first change is written at once and, from the
// second on, a thread writes the changes at most every `interval` and at
// the end, so that a long batch does not rewrite the file for every line.
// Once the thread runs, SIGINT, SIGTERM and SIGHUP save what is done and end
// the process by the signal; a crash loses at most the last interval.
class RunSaver {
 public:
  RunSaver(CalculatorModel& window, bool batch, std::chrono::milliseconds interval);
  ~RunSaver();
  RunSaver(const RunSaver&) = delete;
  RunSaver& operator=(const RunSaver&) = delete;

  // Writes what is left and stops; false, after the message, when changes
  // of the run are not in the file.
  bool Finish();

 private:
  bool SaveAtOnce(CSysDataManager& settings);
  bool Take(CSysDataManager& settings);
  void StartThread();
  void Run();
  // Saves the batch's record; with `mutex_` held.
  void SaveBatch();
  [[noreturn]] void SaveAndDie(int signal_number);

  const std::string path_;
  const bool batch_;
  const std::chrono::milliseconds interval_;
  std::mutex mutex_;
  CSysDataManager* settings_ = nullptr;  // the window's, when saving at once
  CSysDataManager record_;    // the batch's changes, written by the thread
  std::size_t taken_ = 0;     // lines of the window's log already taken
  bool dirty_ = false;        // changes not yet written
  bool finishing_ = false;
  bool failed_ = false;       // the last save failed
  bool warned_ = false;
  bool finished_ = false;
  bool taken_once_ = false;   // the first change was taken
  std::string reason_;
  std::chrono::steady_clock::time_point lastSave_;
  sigset_t signals_{};
  sigset_t oldMask_{};
  std::thread thread_;
};

}  // namespace calvoro::cli
