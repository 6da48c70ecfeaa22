#include "ui/skinned_dialog.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>
#include <QWindow>

#include "ui/closing_keys.h"
#include "ui/desktop_support.h"

namespace calvoro::ui {
namespace {

// How often a move asked of the X window manager is looked at, and for how
// long at most.
constexpr int kMoveWatchMs = 15;
constexpr int kMoveWatchLimitMs = 60'000;

// The window's picture at its full size under its controls, when it scrolls.
class PictureBody : public QWidget {
 public:
  PictureBody(QImage picture, QWidget* parent) : QWidget(parent), picture_(std::move(picture)) {
    resize(picture_.size());
  }

 protected:
  void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, picture_); }

 private:
  QImage picture_;
};

}  // namespace

SkinnedDialog::SkinnedDialog(QSize size, const QString& title, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), title_(title) {
  setWindowTitle(title.isEmpty() ? QStringLiteral("Calvoro") : title);
  WatchClosingKeys();
  // Alpha pixels, so that the cut corners show what lies beneath wherever a
  // compositor draws the window (Wayland, XWayland, a compositing X desktop).
  setAttribute(Qt::WA_TranslucentBackground);
  Reshape(size);
  QPalette colours = palette();
  colours.setColor(QPalette::WindowText, QColor(34, 40, 52));
  setPalette(colours);
}

void SkinnedDialog::Reshape(QSize size) {
  picture_ = WindowPicture(size, title_);
  setFixedSize(size);
  setMask(OutlineMask(picture_));
  update();
}

QLabel* SkinnedDialog::AddStatic(const QString& text, const QRect& place) {
  auto* label = new QLabel(text, this);
  label->setGeometry(place);
  label->setAttribute(Qt::WA_TranslucentBackground);
  label->setWordWrap(true);
  return label;
}

SkinnedButton* SkinnedDialog::AddButton(const QString& caption, const QRect& place,
                                        ButtonTone tone) {
  auto* button = new SkinnedButton(caption, tone, this);
  button->Place(place.x(), place.y(), place.width(), place.height());
  if (buttonsTakeFocus_) button->SetTabReachable();
  return button;
}

void SkinnedDialog::SetDefaultButton(SkinnedButton* button) {
  default_ = button;
  if (button && button->focusPolicy() != Qt::NoFocus) button->setFocus();
}

void SkinnedDialog::done(int result) {
  QDialog::done(result);
  NoteDialogClosed();
}

void SkinnedDialog::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, picture_);
}

void SkinnedDialog::showEvent(QShowEvent* event) {
  if (!centred_) {
    centred_ = true;
    const QWidget* opener = parentWidget() ? parentWidget()->window() : nullptr;
    const QScreen* screen = opener ? opener->screen() : QGuiApplication::primaryScreen();
    if (screen) {
      const QRect area = screen->availableGeometry();
      FitInto(area);
      QPoint centre = area.center();
      if (centreOnParent_ && opener) {
        centre = ServerCentre(opener).value_or(opener->mapToGlobal(opener->rect().center()));
      }
      QRect place(QPoint(), size());
      place.moveCenter(centre);
      // Wholly on the screen, even for a window near its edge.
      place.moveRight(qMin(place.right(), area.right()));
      place.moveBottom(qMin(place.bottom(), area.bottom()));
      place.moveLeft(qMax(place.left(), area.left()));
      place.moveTop(qMax(place.top(), area.top()));
      move(place.topLeft());
    }
  }
  QDialog::showEvent(event);
}

void SkinnedDialog::FitInto(const QRect& area) {
  const QSize full = size();
  const QSize fit = full.boundedTo(area.size());
  if (fit == full || body_) return;
  auto* body = new PictureBody(picture_, this);
  for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (child == body || child->isWindow()) continue;
    const QRect place = child->geometry();
    const bool hidden = child->isHidden();
    child->setParent(body);
    child->setGeometry(place);
    child->setVisible(!hidden);
  }
  auto* scroll = new QScrollArea(this);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidget(body);
  scroll->setGeometry(0, 0, fit.width(), fit.height());
  scroll->show();
  body_ = body;
  Reshape(fit);
}

// A window a modal dialog blocks hands its activation on to that dialog, so
// that the question stays reachable on desktops that raise whatever is
// clicked (Wayland compositors stack a dialog over its opener only as long
// as it is active).
bool SkinnedDialog::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) {
    QPointer<QWidget> modal = QApplication::activeModalWidget();
    if (modal && modal != this && modal->isVisible()) {
      QTimer::singleShot(0, this, [modal] {
        if (!modal || !modal->isVisible()) return;
        modal->raise();
        modal->activateWindow();
      });
    }
  }
  return QDialog::event(event);
}

void SkinnedDialog::keyPressEvent(QKeyEvent* event) {
  const bool plain =
      !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
  if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && default_ &&
      default_->isVisible() && default_->isEnabled()) {
    default_->click();
    return event->accept();
  }
  if (event->key() == Qt::Key_F1 && help_ && help_->isEnabled()) {
    help_->click();
    return event->accept();
  }
  QDialog::keyPressEvent(event);
}

// The body moves the window: the desktop's own move wherever the desktop
// takes it (xdg_toplevel.move on Wayland, _NET_WM_MOVERESIZE on X; XWayland
// desktops ignore a window that moves itself), else the window follows the
// mouse itself.
void SkinnedDialog::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QDialog::mousePressEvent(event);
  if (windowHandle() && windowHandle()->startSystemMove()) {
    if (WatchDesktopMove()) WatchMove(event->globalPosition().toPoint());
    return;
  }
  dragging_ = true;
  dragOffset_ = event->globalPosition().toPoint() - pos();
}

// An X window manager starts the move it was asked for once it has grabbed
// the pointer. When the button is up before that (a quick drag), the move
// would start with no button to end it (and openbox then places the window
// wrongly) and carry the window along with the mouse afterwards. So once the
// button is up, whatever move may still run is cancelled and the window is
// put where the drag ended: where the desktop has put it after a move of its
// own.
void SkinnedDialog::WatchMove(QPoint cursor) {
  if (!moveWatch_) {
    moveWatch_ = new QTimer(this);
    moveWatch_->setInterval(kMoveWatchMs);
    connect(moveWatch_, &QTimer::timeout, this, &SkinnedDialog::CheckMove);
  }
  moveCursor_ = cursor;
  movePlace_ = pos();
  moveTicks_ = 0;
  moveWatch_->start();
}

void SkinnedDialog::CheckMove() {
  if (!LeftButtonDown()) {
    moveWatch_->stop();
    CancelDesktopMove(this);
    move(movePlace_ + QCursor::pos() - moveCursor_);
  } else if (++moveTicks_ >= kMoveWatchLimitMs / kMoveWatchMs) {
    moveWatch_->stop();
  }
}

void SkinnedDialog::mouseMoveEvent(QMouseEvent* event) {
  if (dragging_ && (event->buttons() & Qt::LeftButton))
    move(event->globalPosition().toPoint() - dragOffset_);
  QDialog::mouseMoveEvent(event);
}

void SkinnedDialog::mouseReleaseEvent(QMouseEvent* event) {
  dragging_ = false;
  QDialog::mouseReleaseEvent(event);
}

}  // namespace calvoro::ui
