// Long work of a window on a CalculationRunner while the window stays live:
// its event loop runs meanwhile (user input held back for the first 0.3 s,
// so that a quick calculation behaves as if it ran in place); after that the
// window shows that it works, with the busy cursor, until the work ends or
// the user stops it.
#pragma once

#include <functional>

#include "app/calculation_runner.h"

namespace calvoro::ui {

class WindowWork {
 public:
  // `showBusy(true)` when the busy state begins, `showBusy(false)` at its end.
  explicit WindowWork(std::function<void(bool busy)> showBusy) : showBusy_(std::move(showBusy)) {}

  // Runs `work` and returns when it has ended (true) or was stopped (false).
  bool Run(CalculationRunner::Work work);
  void Stop() { runner_.Stop(); }
  bool active() const { return runner_.active(); }

 private:
  CalculationRunner runner_;
  std::function<void(bool)> showBusy_;
};

}  // namespace calvoro::ui
