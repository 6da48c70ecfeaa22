#include "ui/skinned_button.h"

#include <QKeyEvent>
#include <QPainter>

namespace calvoro::ui {

SkinnedButton::SkinnedButton(const QString& caption, ButtonTone tone, QWidget* parent)
    : QAbstractButton(parent), tone_(tone) {
  setText(caption);
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::NoFocus);
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(12);
  setFont(font);
}

void SkinnedButton::Place(int x, int y, int width, int height) { setGeometry(x, y, width, height); }

void SkinnedButton::resizeEvent(QResizeEvent* event) {
  QAbstractButton::resizeEvent(event);
  if (size().isEmpty()) return;
  for (ButtonState state : {ButtonState::Normal, ButtonState::Pressed, ButtonState::Hover})
    pictures_[static_cast<int>(state)] = ButtonPicture(size(), state, tone_);
}

void SkinnedButton::paintEvent(QPaintEvent*) {
  ButtonState state = ButtonState::Normal;
  if (isDown() || isChecked()) {
    state = ButtonState::Pressed;
  } else if (hover_ && isEnabled()) {
    state = ButtonState::Hover;
  }
  QPainter painter(this);
  if (!isEnabled()) painter.setOpacity(0.4);
  painter.drawPixmap(0, 0, pictures_[static_cast<int>(state)]);
  painter.setPen(CaptionColour(tone_, state));
  painter.setFont(font());
  painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, text());
  if (hasFocus()) {
    painter.setPen(QPen(CaptionColour(tone_, state), 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(3, 3, -4, -4));
  }
}

void SkinnedButton::SetTabReachable() { setFocusPolicy(Qt::TabFocus); }

void SkinnedButton::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    click();
    return event->accept();
  }
  QAbstractButton::keyPressEvent(event);
}

void SkinnedButton::enterEvent(QEnterEvent* event) {
  hover_ = true;
  update();
  QAbstractButton::enterEvent(event);
}

void SkinnedButton::leaveEvent(QEvent* event) {
  hover_ = false;
  update();
  QAbstractButton::leaveEvent(event);
}

}  // namespace calvoro::ui
