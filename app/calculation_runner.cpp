#include "app/calculation_runner.h"

#include <thread>

#include "numeric/precise_functions.h"

namespace calvoro {

CalculationRunner::~CalculationRunner() {
  if (shared_) shared_->stop.Request();
}

bool CalculationRunner::Start(Work work, Clock::time_point now, std::function<void()> ended) {
  if (active()) return false;
  shared_ = std::make_shared<Shared>();
  state_ = State::kRunning;
  started_ = now;
  // The thread holds the shared state, so a stopped work may outlive the
  // runner and its window.
  ++worksRunning_;
  std::thread([shared = shared_, work = std::move(work), ended = std::move(ended)] {
    try {
      work(shared->stop);
    } catch (...) {
      // The work reports its own failures; nothing may escape a thread.
    }
    ReleaseThreadCaches();
    {
      const std::lock_guard lock(shared->mutex);
      shared->ended = true;
    }
    shared->endedSignal.notify_all();
    if (ended && !shared->stop.requested()) ended();
    --worksRunning_;
  }).detach();
  return true;
}

CalculationRunner::State CalculationRunner::Poll(Clock::time_point now) {
  if (!active()) return state_;
  {
    const std::lock_guard lock(shared_->mutex);
    if (shared_->ended) return state_ = State::kFinished;
  }
  if (state_ == State::kRunning && now - started_ >= kBusyAfter) state_ = State::kBusy;
  return state_;
}

bool CalculationRunner::WaitFor(Clock::duration timeout) {
  if (!shared_) return true;
  std::unique_lock lock(shared_->mutex);
  return shared_->endedSignal.wait_for(lock, timeout, [&] { return shared_->ended; });
}

void CalculationRunner::Stop() {
  if (!active()) return;
  shared_->stop.Request();
  state_ = State::kStopped;
}

bool CalculationRunner::Take() {
  const bool finished = state_ == State::kFinished;
  state_ = State::kIdle;
  return finished;
}

void DeferredSink::MessageBox(std::string_view text, std::string_view caption, MessageIcon icon) {
  messages_.push_back({true, std::string(text), std::string(caption), {}, icon});
}

Answer DeferredSink::Question(std::string_view, std::string_view) { return Answer::Cancel; }

void DeferredSink::InputMessage(std::string_view input, std::string_view message,
                                std::string_view hint) {
  messages_.push_back({false, std::string(input), std::string(message), std::string(hint),
                       MessageIcon::Information});
}

void DeferredSink::Replay(MessageSink& sink) const {
  for (const Message& m : messages_) {
    if (m.box) {
      sink.MessageBox(m.a, m.b, m.icon);
    } else {
      sink.InputMessage(m.a, m.b, m.c);
    }
  }
}

}  // namespace calvoro
