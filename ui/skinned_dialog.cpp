#include "ui/skinned_dialog.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QWindow>
#include <cstdlib>
#include <memory>
#include <optional>

#include "ui/closing_keys.h"

#if QT_CONFIG(xcb)
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#endif

namespace calvoro::ui {
namespace {

// The centre of a top-level window on the screen as the X server has it.
// Qt's own record of the window's place can lag behind the window manager's
// placing for a while, which opened dialogs in a corner of the screen.
std::optional<QPoint> ServerCentre(const QWidget* window) {
#if QT_CONFIG(xcb)
  if (QGuiApplication::platformName() != QLatin1String("xcb") || !window->windowHandle())
    return std::nullopt;
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
  if (!connection) return std::nullopt;
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
  if (!screen) return std::nullopt;
  const qreal ratio = window->devicePixelRatioF();
  const auto cookie = xcb_translate_coordinates(
      connection, static_cast<xcb_window_t>(window->winId()), screen->root,
      static_cast<std::int16_t>(window->width() * ratio / 2),
      static_cast<std::int16_t>(window->height() * ratio / 2));
  const std::unique_ptr<xcb_translate_coordinates_reply_t, decltype(&std::free)> reply(
      xcb_translate_coordinates_reply(connection, cookie, nullptr), &std::free);
  if (reply) return QPoint(qRound(reply->dst_x / ratio), qRound(reply->dst_y / ratio));
#else
  (void)window;
#endif
  return std::nullopt;
}

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

// The body moves the window. The window follows the mouse itself: the
// desktop's own move (_NET_WM_MOVERESIZE) starts only after the desktop has
// grabbed the pointer, so a quick drag could leave a move running after the
// button was up and send the window far off. Wayland lets no window place
// itself, so there the desktop moves it.
void SkinnedDialog::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QDialog::mousePressEvent(event);
  if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")) && windowHandle() &&
      windowHandle()->startSystemMove())
    return;
  dragging_ = true;
  dragOffset_ = event->globalPosition().toPoint() - pos();
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
