// Long work off the window's thread. CalculationRunner runs one piece of
// work on a thread of its own and tells the window what to show: nothing for
// the first 0.3 s, then that it is working and how to stop it. A stop ends
// the wait at once; the work is told through its stop token and whatever it
// still produces is dropped, so the work must own everything it touches.
// DeferredSink keeps the messages such work raises until the window's
// thread shows them.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "engine/message_sink.h"
#include "numeric/stop.h"

namespace calvoro {

class CalculationRunner {
 public:
  using Clock = std::chrono::steady_clock;
  // The work reads it; an engine calculation under it (StopScope) ends soon
  // after a stop.
  using StopToken = StopFlag;
  using Work = std::function<void(const StopToken& stop)>;

  // Work that ends sooner shows no busy state.
  static constexpr Clock::duration kBusyAfter = std::chrono::milliseconds(300);

  enum class State {
    kIdle,      // nothing started, or the last outcome taken
    kRunning,   // started less than kBusyAfter ago
    kBusy,      // the window shows that it works and offers Stop
    kFinished,  // the work ended; its results may be taken
    kStopped,   // stopped by the user; the work's results are dropped
  };

  CalculationRunner() = default;
  CalculationRunner(const CalculationRunner&) = delete;
  CalculationRunner& operator=(const CalculationRunner&) = delete;
  // Work still running is stopped and left to end on its own.
  ~CalculationRunner();

  // Starts `work` at `now`; `ended` runs on the work's thread when it ends
  // (the window wakes its event loop with it). Refused while work is active.
  bool Start(Work work, Clock::time_point now, std::function<void()> ended = {});
  // The state at `now`: kRunning becomes kBusy after kBusyAfter, and either
  // becomes kFinished once the work has ended.
  State Poll(Clock::time_point now);
  // Waits at most `timeout` for the work to end; true when it has.
  bool WaitFor(Clock::duration timeout);
  // The user's stop: kStopped at once, whether or not the work has ended.
  void Stop();
  // Only tells the work to stop, for work that ends soon after and must be
  // waited for (it writes into its window): the state follows its end.
  void RequestStop() {
    if (active()) shared_->stop.Request();
  }
  // Takes the outcome: true after kFinished, false after kStopped; the
  // runner is kIdle again.
  bool Take();

  State state() const { return state_; }
  bool active() const { return state_ == State::kRunning || state_ == State::kBusy; }

  // Works of every runner whose threads have not ended yet (stopped ones
  // among them): a program that ends with one running ends at once, without
  // the destructors of its statics, which that work may still use.
  static int WorksRunning() { return worksRunning_; }

 private:
  struct Shared {
    std::mutex mutex;
    std::condition_variable endedSignal;
    bool ended = false;
    StopToken stop;
  };
  std::shared_ptr<Shared> shared_;
  State state_ = State::kIdle;
  Clock::time_point started_;
  static inline std::atomic<int> worksRunning_{0};
};

// Messages raised on a work's thread, shown later in their order by
// Replay on the window's thread. A question is answered Cancel: the work
// that runs here asks none.
class DeferredSink final : public MessageSink {
 public:
  void MessageBox(std::string_view text, std::string_view caption, MessageIcon icon) override;
  Answer Question(std::string_view text, std::string_view caption) override;
  void InputMessage(std::string_view input, std::string_view message,
                    std::string_view hint) override;
  void Replay(MessageSink& sink) const;

 private:
  struct Message {
    bool box;
    std::string a, b, c;  // text, caption / input, message, hint
    MessageIcon icon;
  };
  std::vector<Message> messages_;
};

// Passes messages on to `target`, except while held: then they wait for
// Release, which shows them in their order (work on another thread raises
// them; the window's thread shows them).
class HeldSink final : public MessageSink {
 public:
  explicit HeldSink(MessageSink& target) : target_(target) {}
  void Hold() { held_ = std::make_unique<DeferredSink>(); }
  void Release() {
    std::unique_ptr<DeferredSink> held = std::move(held_);
    if (held) held->Replay(target_);
  }
  void MessageBox(std::string_view text, std::string_view caption, MessageIcon icon) override {
    held_ ? held_->MessageBox(text, caption, icon) : target_.MessageBox(text, caption, icon);
  }
  Answer Question(std::string_view text, std::string_view caption) override {
    return held_ ? held_->Question(text, caption) : target_.Question(text, caption);
  }
  void InputMessage(std::string_view input, std::string_view message,
                    std::string_view hint) override {
    held_ ? held_->InputMessage(input, message, hint) : target_.InputMessage(input, message, hint);
  }

 private:
  MessageSink& target_;
  std::unique_ptr<DeferredSink> held_;
};

// Runs a work away from the window's thread while the window stays live
// (the windows run it on a CalculationRunner); false when the user stopped
// it. The models take one and run in place without it.
using Offload = std::function<bool(CalculationRunner::Work)>;

// `call(sink, stop)` through `offload`, or in place without one. The call
// must own what it reads (copies in its captures): a stopped one may run on
// for a moment while the window goes on; it runs under `stop` (StopScope),
// so an engine calculation in it ends soon after. Its messages are held until it has ended, then
// shown on `sink`; an exception is thrown again here. Nothing when the call gives nothing or the
// user stopped it (`*stopped` tells which).
template <class Result, class Call>
std::optional<Result> RunOffloaded(const Offload& offload, MessageSink& sink, Call call,
                                   bool* stopped = nullptr) {
  if (stopped) *stopped = false;
  if (!offload) {
    const CalculationRunner::StopToken never;
    return call(sink, never);
  }
  struct Shared {
    DeferredSink sink;
    std::optional<Result> result;
    std::exception_ptr error;
  };
  auto shared = std::make_shared<Shared>();
  const bool ended =
      offload([shared, call = std::move(call)](const CalculationRunner::StopToken& stop) {
        try {
          const StopScope scope(&stop);
          shared->result = call(shared->sink, stop);
        } catch (...) {
          shared->error = std::current_exception();
        }
      });
  if (!ended) {
    if (stopped) *stopped = true;
    return std::nullopt;
  }
  shared->sink.Replay(sink);
  if (shared->error) std::rethrow_exception(shared->error);
  return std::move(shared->result);
}

}  // namespace calvoro
