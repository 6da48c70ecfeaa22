#include "ui/closing_keys.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QInputEvent>

namespace calvoro::ui {
namespace {

// Watches the input events of the whole program: the server time of the
// latest and when it arrived, and the keys older than the last close.
class ClosingKeys : public QObject {
 public:
  ClosingKeys() {
    clock_.start();
    qApp->installEventFilter(this);
  }

  void Closed() {
    if (lastStamp_ == 0) return;
    // The server's time now: the latest input's stamp and the time since.
    closedAt_ = lastStamp_ + static_cast<quint64>(clock_.elapsed() - lastSeen_);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::ShortcutOverride:
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease: {
        const quint64 stamp = static_cast<QInputEvent*>(event)->timestamp();
        if (stamp == 0) break;
        const bool key = event->type() != QEvent::MouseButtonPress &&
                         event->type() != QEvent::MouseButtonRelease;
        if (key && stamp < closedAt_) return true;
        if (stamp > lastStamp_) {
          lastStamp_ = stamp;
          lastSeen_ = clock_.elapsed();
        }
        break;
      }
      default:
        break;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QElapsedTimer clock_;
  quint64 lastStamp_ = 0;
  qint64 lastSeen_ = 0;
  quint64 closedAt_ = 0;
};

ClosingKeys* Instance() {
  // Only X stamps events with the server's clock.
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
  static ClosingKeys* keys = new ClosingKeys;  // lives as long as the program
  return keys;
}

}  // namespace

void WatchClosingKeys() { Instance(); }

void NoteDialogClosed() {
  if (ClosingKeys* keys = Instance()) keys->Closed();
}

}  // namespace calvoro::ui
