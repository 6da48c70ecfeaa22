#include "ui/skinned_dialog.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

namespace calvoro::ui {

SkinnedDialog::SkinnedDialog(QSize size, const QString& title, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      title_(title) {
  setWindowTitle(title.isEmpty() ? QStringLiteral("Calvoro") : title);
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
  return button;
}

void SkinnedDialog::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, picture_);
}

void SkinnedDialog::showEvent(QShowEvent* event) {
  if (!centred_) {
    centred_ = true;
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen) move(screen->availableGeometry().center() - rect().center());
  }
  QDialog::showEvent(event);
}

// The body moves the window: the desktop's own move where it offers one,
// otherwise by following the mouse.
void SkinnedDialog::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QDialog::mousePressEvent(event);
  if (windowHandle() && windowHandle()->startSystemMove()) return;
  dragging_ = true;
  dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void SkinnedDialog::mouseMoveEvent(QMouseEvent* event) {
  if (dragging_) move(event->globalPosition().toPoint() - dragOffset_);
  QDialog::mouseMoveEvent(event);
}

void SkinnedDialog::mouseReleaseEvent(QMouseEvent* event) {
  dragging_ = false;
  QDialog::mouseReleaseEvent(event);
}

}  // namespace calvoro::ui
