// Long work of a window on a CalculationRunner while the window stays live:
// its event loop runs meanwhile (user input held back for the first 0.3 s,
// so that a quick calculation behaves as if it ran in place); after that the
// window shows that it works, with the busy cursor, until the work ends or
// the user stops it.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

#include "app/calculation_runner.h"

class QLabel;
class QWidget;

namespace calvoro::ui {

class SkinnedButton;

class WindowWork : public QObject {
  Q_OBJECT
 public:
  // `showBusy(true)` when the busy state begins, `showBusy(false)` at its end.
  explicit WindowWork(std::function<void(bool busy)> showBusy) : showBusy_(std::move(showBusy)) {}
  // A dialog's own busy state: its controls are off, "Calculating…" and a
  // Stop button stand where the button that started the work was, and
  // Escape or closing the dialog stops the work. With `waits` a stop only
  // tells the work, which ends soon after and is waited for (it writes into
  // the dialog's own state).
  explicit WindowWork(QWidget* dialog, bool waits = false);

  // Runs `work` and returns when it has ended (true) or was stopped (false).
  // `where` is the button that started it (for a dialog's busy state).
  bool Run(CalculationRunner::Work work, QWidget* where = nullptr);
  // For the models' set_offload.
  Offload offload(QWidget* where = nullptr) {
    return [this, where](CalculationRunner::Work work) { return Run(std::move(work), where); };
  }
  void Stop() { waits_ ? runner_.RequestStop() : runner_.Stop(); }
  bool active() const { return runner_.active(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowDialogBusy(bool busy);

  CalculationRunner runner_;
  std::function<void(bool)> showBusy_;
  QWidget* dialog_ = nullptr;
  bool waits_ = false;
  QWidget* where_ = nullptr;
  QLabel* label_ = nullptr;
  SkinnedButton* stop_ = nullptr;
  std::vector<QPointer<QWidget>> disabled_;
};

}  // namespace calvoro::ui
