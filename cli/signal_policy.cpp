#include "cli/signal_policy.h"

#include <pthread.h>
#include <signal.h>

#include <cstdlib>
#include <mutex>
#include <thread>

#include "app/safe_file.h"

namespace calvoro::cli {
namespace {

// The signals whose default action ends the process and that a person or
// the system sends to end it. SIGXFSZ blocked also means that a write beyond
// the file size limit fails with EFBIG, which is reported, instead of
// killing the process in the middle of a save. SIGKILL and SIGSTOP cannot
// be caught.
constexpr int kEndingSignals[] = {SIGINT,  SIGTERM, SIGHUP,  SIGQUIT, SIGXCPU,
                                  SIGXFSZ, SIGUSR1, SIGUSR2, SIGALRM};

std::mutex g_mutex;
std::function<void()> g_save;
StopFlag* g_interrupt = nullptr;

sigset_t EndingSet() {
  sigset_t set;
  sigemptyset(&set);
  for (int signal_number : kEndingSignals) sigaddset(&set, signal_number);
  return set;
}

// What an ending signal does: the run saves, then the process ends by it.
[[noreturn]] void SaveAndEnd(int signal_number) {
  g_mutex.lock();  // held to the end: the run changes nothing more
  if (g_save) g_save();
  RemoveOpenTemporaries();
  EndBySignal(signal_number);
}

// Ctrl-C in a batch: as the other ending signals (the calculation that
// runs is abandoned with the process; an interactive session stops it
// instead, and has no policy). A run with a stop flag (the robot) stops its
// work at the first and ends itself after saving.
void Interrupted() {
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (g_interrupt != nullptr && !g_interrupt->requested()) {
      g_interrupt->Request();
      return;
    }
  }
  SaveAndEnd(SIGINT);
}

void WaitForSignals() {
  const sigset_t set = EndingSet();
  for (;;) {
    int signal_number = 0;
    if (sigwait(&set, &signal_number) != 0) continue;
    if (signal_number == SIGINT) {
      Interrupted();
      continue;
    }
    SaveAndEnd(signal_number);
  }
}

}  // namespace

SignalPolicy::SignalPolicy(std::function<void()> save_before_exit)
    : SignalPolicy(std::move(save_before_exit), nullptr) {}

SignalPolicy::SignalPolicy(std::function<void()> save_before_exit, StopFlag* interrupt) {
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_save = std::move(save_before_exit);
    g_interrupt = interrupt;
  }
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  sigaction(SIGPIPE, &ignore, nullptr);
  const sigset_t set = EndingSet();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  static std::once_flag started;
  std::call_once(started, [] { std::thread(WaitForSignals).detach(); });
}

SignalPolicy::~SignalPolicy() {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_save = nullptr;
  g_interrupt = nullptr;
}

void IgnoreFileSizeSignal() {
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  sigaction(SIGXFSZ, &ignore, nullptr);
}

void EndBySignal(int signal_number) {
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  sigaction(signal_number, &action, nullptr);
  sigset_t only;
  sigemptyset(&only);
  sigaddset(&only, signal_number);
  // Raised at this thread and unblocked here only: the default action ends
  // the whole process.
  pthread_kill(pthread_self(), signal_number);
  pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
  std::_Exit(128 + signal_number);
}

}  // namespace calvoro::cli
