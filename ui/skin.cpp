#include "ui/skin.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace calvoro::ui {

namespace {

constexpr int kCorner = 12;
const QColor kFrame(52, 72, 102);
const QColor kFrameLight(86, 112, 150);

struct Tone {
  QColor top, bottom, border, text;
};

Tone ToneOf(ButtonTone tone) {
  switch (tone) {
    case ButtonTone::Key:
      return {QColor(255, 255, 255), QColor(226, 230, 237), QColor(160, 168, 182),
              QColor(34, 40, 52)};
    case ButtonTone::Operator:
      return {QColor(232, 240, 251), QColor(196, 213, 237), QColor(128, 150, 186),
              QColor(28, 48, 84)};
    case ButtonTone::Accent:
      return {QColor(252, 196, 110), QColor(232, 140, 44), QColor(176, 98, 20), QColor(60, 30, 0)};
    case ButtonTone::Tool:
      return {QColor(226, 244, 238), QColor(180, 222, 208), QColor(104, 160, 142),
              QColor(20, 60, 48)};
    case ButtonTone::Base:
      return {QColor(238, 236, 250), QColor(206, 202, 232), QColor(132, 126, 180),
              QColor(40, 34, 90)};
    case ButtonTone::Frame:
      return {QColor(104, 130, 168), QColor(70, 94, 130), QColor(36, 52, 78),
              QColor(255, 255, 255)};
  }
  return {};
}

}  // namespace

QImage WindowPicture(QSize size, const QString& title) {
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  // The outer edge without antialiasing, so that the cut outline is crisp.
  QPainterPath outline;
  outline.addRoundedRect(QRectF(0, 0, size.width(), size.height()), kCorner, kCorner);
  QLinearGradient frame(0, 0, 0, size.height());
  frame.setColorAt(0, kFrameLight);
  frame.setColorAt(1, kFrame);
  painter.fillPath(outline, frame);

  painter.setRenderHint(QPainter::Antialiasing);
  const int top = title.isEmpty() ? 4 : kTitleBand;
  QPainterPath body;
  body.addRoundedRect(QRectF(4, top, size.width() - 8, size.height() - top - 4), kCorner - 4,
                      kCorner - 4);
  painter.fillPath(body, QColor(kStaticBack));
  // A faint line under the top edge gives the body some depth.
  painter.setPen(QColor(255, 255, 255, 150));
  painter.drawLine(QPointF(10, top + 1.5), QPointF(size.width() - 10, top + 1.5));
  if (!title.isEmpty()) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(14);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(14, 0, size.width() - 28, kTitleBand), Qt::AlignVCenter | Qt::AlignLeft,
                     title);
  }
  return image;
}

QPixmap ButtonPicture(QSize size, ButtonState state, ButtonTone tone) {
  QPixmap pixmap(size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  Tone colours = ToneOf(tone);
  if (state == ButtonState::Hover) {
    colours.top = colours.top.lighter(106);
    colours.bottom = colours.bottom.lighter(112);
    colours.border = QColor(232, 140, 44);
  } else if (state == ButtonState::Pressed && tone == ButtonTone::Base) {
    // A base that is on must read as on at a glance.
    colours = {QColor(70, 62, 150), QColor(104, 96, 186), QColor(40, 34, 100), Qt::white};
  } else if (state == ButtonState::Pressed) {
    // Pressed: darker, lit from below.
    std::swap(colours.top, colours.bottom);
    colours.top = colours.top.darker(125);
    colours.bottom = colours.bottom.darker(112);
  }
  const QRectF rect(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
  QLinearGradient fill(0, 0, 0, size.height());
  fill.setColorAt(0, colours.top);
  fill.setColorAt(1, colours.bottom);
  const qreal radius = qMin<qreal>(5.0, size.height() / 3.0);
  painter.setPen(QPen(colours.border, 1.0));
  painter.setBrush(fill);
  painter.drawRoundedRect(rect, radius, radius);
  if (state != ButtonState::Pressed) {
    painter.setPen(QColor(255, 255, 255, 120));
    painter.drawLine(QPointF(radius, 1.5), QPointF(size.width() - radius, 1.5));
  }
  return pixmap;
}

QColor CaptionColour(ButtonTone tone, ButtonState state) {
  if (state == ButtonState::Pressed && tone == ButtonTone::Base) return Qt::white;
  return ToneOf(tone).text;
}

// Built bit by bit with an explicit colour table, white for bit 0 and black
// for bit 1 (Qt::color1, a pixel the window keeps), which QBitmap::fromImage
// reads as meant.
QBitmap OutlineMask(const QImage& picture) {
  const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
  QImage bits(argb.size(), QImage::Format_MonoLSB);
  bits.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
  bits.fill(0);
  for (int y = 0; y < argb.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
    for (int x = 0; x < argb.width(); ++x)
      if (qAlpha(line[x]) != 0) bits.setPixel(x, y, 1);
  }
  return QBitmap::fromImage(bits);
}

}  // namespace calvoro::ui
