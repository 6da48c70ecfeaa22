// Stopping a calculation from another thread or a signal handler. The caller
// owns a StopFlag and sets it; the calculation runs inside a StopScope on that
// flag, and its long loops call ThrowIfStopped at safe points (between
// operations, NTT passes, division and radix-conversion steps, factorial
// products), which ends it with CalculationStopped. The engine turns that
// into the refusal kStopped, so nothing of the stopped work is kept.
#pragma once

#include <atomic>
#include <exception>

namespace calvoro {

// Lock-free, so that a signal handler may set it.
class StopFlag {
 public:
  void Request() { stop_.store(true, std::memory_order_relaxed); }
  void Clear() { stop_.store(false, std::memory_order_relaxed); }
  bool requested() const { return stop_.load(std::memory_order_relaxed); }

 private:
  std::atomic<bool> stop_{false};
  static_assert(std::atomic<bool>::is_always_lock_free);
};

// What a stopped calculation throws.
class CalculationStopped : public std::exception {
 public:
  const char* what() const noexcept override { return "the calculation was stopped"; }
};

// The flag this thread's calculation watches, or nullptr.
const StopFlag* CurrentStopFlag();

// Makes `flag` (may be nullptr) this thread's flag for the lifetime of the
// scope; the former one comes back afterwards.
class StopScope {
 public:
  explicit StopScope(const StopFlag* flag);
  ~StopScope();
  StopScope(const StopScope&) = delete;
  StopScope& operator=(const StopScope&) = delete;

 private:
  const StopFlag* previous_;
};

// Whether this thread's calculation has been asked to stop.
inline bool StopRequested() {
  const StopFlag* flag = CurrentStopFlag();
  return flag != nullptr && flag->requested();
}

// Throws CalculationStopped when this thread's calculation is to stop.
inline void ThrowIfStopped() {
  if (StopRequested()) throw CalculationStopped();
}

}  // namespace calvoro
