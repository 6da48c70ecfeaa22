// Saving at intervals on a thread of its own: a long batch of changes is
// written at most every interval and once more at the end, so that it does
// not rewrite its file for every change. No signal is touched here; the
// program's signal policy decides what a signal does.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace calvoro {

class SaveScheduler {
 public:
  // `save` writes what has changed and returns false when something is left
  // for a later attempt (a failed save is tried again after the interval).
  SaveScheduler(std::chrono::milliseconds interval, std::function<bool()> save);
  ~SaveScheduler();
  SaveScheduler(const SaveScheduler&) = delete;
  SaveScheduler& operator=(const SaveScheduler&) = delete;

  // Something changed: saved within the interval (the thread starts with
  // the first change).
  void Changed();
  // Saves what is left, once more, and ends the thread.
  void Stop();

 private:
  void Run();

  const std::chrono::milliseconds interval_;
  const std::function<bool()> save_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool changed_ = false;
  bool stopping_ = false;
  std::chrono::steady_clock::time_point lastSave_;
  std::thread thread_;
};

}  // namespace calvoro
