#include "ui/window_work.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

#include "ui/skinned_button.h"

namespace calvoro::ui {

WindowWork::WindowWork(QWidget* dialog, bool waits)
    : QObject(dialog),
      showBusy_([this](bool busy) { ShowDialogBusy(busy); }),
      dialog_(dialog),
      waits_(waits) {
  dialog->installEventFilter(this);
}

bool WindowWork::Run(CalculationRunner::Work work, QWidget* where) {
  using Clock = CalculationRunner::Clock;
  if (runner_.active()) return false;
  where_ = where;
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

void WindowWork::ShowDialogBusy(bool busy) {
  // Beside the button, which may lie on a scrolled body of the dialog.
  QWidget* parent = where_ ? where_->parentWidget() : dialog_;
  if (label_ && label_->parentWidget() != parent) {
    delete label_;
    delete stop_;
    label_ = nullptr;
  }
  if (!label_) {
    label_ = new QLabel(QStringLiteral("Calculating\u2026 Esc stops"), parent);
    label_->setStyleSheet(
        QStringLiteral("color: #8a4b00; background: #fff4d6; padding: 0 6px; font-size: 12px;"));
    label_->setAlignment(Qt::AlignCenter);
    stop_ = new SkinnedButton(QStringLiteral("Stop"), ButtonTone::Accent, parent);
    stop_->setToolTip(QStringLiteral("Stop the calculation [Esc]"));
    stop_->SetTabReachable();
    connect(stop_, &QAbstractButton::clicked, this, &WindowWork::Stop);
  }
  if (busy) {
    for (QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (child == label_ || child == stop_ || !child->isEnabled() || qobject_cast<QLabel*>(child))
        continue;
      child->setEnabled(false);
      disabled_.emplace_back(child);
    }
    QRect place = where_ ? where_->geometry() : QRect(parent->width() - 100, 8, 90, 26);
    if (place.width() > 90) place.setLeft(place.right() - 89);  // at the right end of a field
    stop_->Place(place.x(), place.y(), place.width(), place.height());
    label_->adjustSize();
    const int width = label_->width();
    const int x = place.x() >= width + 4 ? place.x() - width - 4 : place.right() + 4;
    label_->setGeometry(x, place.y(), width, place.height());
  }
  label_->setVisible(busy);
  stop_->setVisible(busy);
  if (busy) {
    label_->raise();
    stop_->raise();
    stop_->setFocus();
    return;
  }
  for (const QPointer<QWidget>& child : disabled_) {
    if (child) child->setEnabled(true);
  }
  disabled_.clear();
  if (where_ && where_->isVisible()) where_->setFocus();
}

// Escape and closing the dialog stop its work instead.
bool WindowWork::eventFilter(QObject* watched, QEvent* event) {
  if (active() && watched == dialog_) {
    const bool escape = event->type() == QEvent::KeyPress &&
                        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
    if (escape || event->type() == QEvent::Close) {
      Stop();
      event->ignore();
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace calvoro::ui
