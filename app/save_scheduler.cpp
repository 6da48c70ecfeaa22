#include "app/save_scheduler.h"

namespace calvoro {

SaveScheduler::SaveScheduler(std::chrono::milliseconds interval, std::function<bool()> save)
    : interval_(interval), save_(std::move(save)), lastSave_(std::chrono::steady_clock::now()) {}

SaveScheduler::~SaveScheduler() { Stop(); }

void SaveScheduler::Changed() {
  bool first = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    first = !changed_;
    changed_ = true;
    if (!thread_.joinable() && !stopping_) thread_ = std::thread([this] { Run(); });
  }
  // Only the first change since a save wakes the thread (a wake for every
  // line of a fast batch would cost a switch of threads each).
  if (first) wake_.notify_one();
}

void SaveScheduler::Stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void SaveScheduler::Run() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    // A change, then the rest of the interval since the last save; or the end.
    wake_.wait(lock, [this] { return stopping_ || changed_; });
    wake_.wait_until(lock, lastSave_ + interval_, [this] { return stopping_; });
    if (!changed_) return;  // stopping with nothing left
    changed_ = false;
    const bool stopping = stopping_;
    lock.unlock();
    const bool done = save_();
    lock.lock();
    lastSave_ = std::chrono::steady_clock::now();
    if (!done) changed_ = true;
    if (stopping) return;
  }
}

}  // namespace calvoro
