// The settings file as calvoro-cli meets it: a file it may not write is
// refused before anything runs, and a save that fails is reported for what
// it really means.
#pragma once

#include <chrono>
#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/calculator_model.h"
#include "app/save_scheduler.h"
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
// arguments): then the first change is written at once and the later ones
// at most every `interval` by a SaveScheduler and at the end, so that a
// long batch does not rewrite the file for every line. The lines a batch
// has not saved yet are bounded as the log is (in lines and bytes); a batch
// that cannot get the lock keeps them, tries again at its next save and, at
// the end, leaves them in a pending file that the next save merges.
class RunSaver {
 public:
  RunSaver(CalculatorModel& window, bool batch, std::chrono::milliseconds interval);
  ~RunSaver();
  RunSaver(const RunSaver&) = delete;
  RunSaver& operator=(const RunSaver&) = delete;

  // Writes what is left and stops; false, after the message, when changes
  // of the run are not in the file.
  bool Finish();
  // The same for a process about to end by a signal (on another thread;
  // the main thread changes nothing more once it is called).
  void SaveBeforeExit();

 private:
  bool SaveAtOnce(CSysDataManager& settings);
  bool Take(CSysDataManager& settings);
  // Moves the taken changes into the batch's record and saves it; false
  // when something is left unsaved.
  bool SaveBatch();
  // The two steps of SaveBatch: with both mutexes held, and with
  // `saveMutex_` held.
  void MoveIncoming();
  bool WriteRecord();
  // After the last save: keeps or reports what is not in the file.
  void EndBatch();

  const std::string path_;
  const bool batch_;
  CSysDataManager* settings_ = nullptr;  // the window's, when saving at once
  bool taken_once_ = false;              // the first change was taken
  bool failed_ = false;                  // the last save failed
  bool warned_ = false;
  bool finished_ = false;
  std::string reason_;

  // The changes taken since the batch's last save, from the main thread.
  std::mutex incomingMutex_;
  CSysData incomingFields_;
  std::vector<std::string> incoming_;
  std::size_t incomingBytes_ = 0;
  bool changed_ = false;

  std::mutex saveMutex_;    // one save at a time
  CSysDataManager record_;  // the batch's record, as saved
  bool dirty_ = false;      // changes in `record_` not yet written
  SaveScheduler scheduler_;
};

}  // namespace calvoro::cli
