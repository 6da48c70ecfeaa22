#include "ui/window_work.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QTimer>

namespace calvoro::ui {

bool WindowWork::Run(CalculationRunner::Work work) {
  using Clock = CalculationRunner::Clock;
  if (runner_.active()) return false;
  QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
  runner_.Start(std::move(work), Clock::now(), [dispatcher] { dispatcher->wakeUp(); });
  QTimer due;  // wakes the loop when the busy state is due
  due.setSingleShot(true);
  due.start(std::chrono::duration_cast<std::chrono::milliseconds>(CalculationRunner::kBusyAfter));
  bool shown = false;
  for (;;) {
    const CalculationRunner::State state = runner_.Poll(Clock::now());
    if (state == CalculationRunner::State::kFinished || state == CalculationRunner::State::kStopped)
      break;
    if (state == CalculationRunner::State::kBusy && !shown) {
      shown = true;
      QApplication::setOverrideCursor(Qt::BusyCursor);
      if (showBusy_) showBusy_(true);
    }
    QEventLoop::ProcessEventsFlags flags = QEventLoop::WaitForMoreEvents;
    if (!shown) flags |= QEventLoop::ExcludeUserInputEvents;
    QCoreApplication::processEvents(flags);
  }
  if (shown) {
    QApplication::restoreOverrideCursor();
    if (showBusy_) showBusy_(false);
  }
  return runner_.Take();
}

}  // namespace calvoro::ui
