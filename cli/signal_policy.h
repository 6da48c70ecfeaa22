// calvoro-cli's signal policy for a batch of calculations, owned by main:
// every signal that ends the process first lets the run save what it has
// done. The ending signals are blocked in every thread and taken by one
// thread of the policy's own; SIGPIPE is ignored, so that a closed standard
// output shows as a failed write (EPIPE) and the run ends like at the end
// of its input.
#pragma once

#include <functional>

#include "numeric/stop.h"

namespace calvoro::cli {

class SignalPolicy {
 public:
  // Set up before any other thread starts (they inherit the blocked
  // signals). `save_before_exit` runs on the policy's thread when an ending
  // signal comes; the process then ends by that signal. A calculation that
  // runs meanwhile need not stop first: what it would add is not saved.
  explicit SignalPolicy(std::function<void()> save_before_exit);
  // With `interrupt`, the first SIGINT sets that flag instead: the run
  // stops its work, saves and ends by SIGINT itself (`EndBySignal`); a
  // second SIGINT ends it as the other signals do.
  SignalPolicy(std::function<void()> save_before_exit, StopFlag* interrupt);
  // From here on an ending signal ends the process without saving (the run
  // has saved).
  ~SignalPolicy();
  SignalPolicy(const SignalPolicy&) = delete;
  SignalPolicy& operator=(const SignalPolicy&) = delete;
};

// Outside a batch: a write beyond the file size limit fails with EFBIG,
// which is reported, instead of SIGXFSZ killing the process.
void IgnoreFileSizeSignal();

// Ends the process by `signal_number` (SIGPIPE after a closed output) with
// its default action.
[[noreturn]] void EndBySignal(int signal_number);

}  // namespace calvoro::cli
