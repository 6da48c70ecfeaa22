// The skin: every window's picture and every button's three pictures, drawn
// in code so that they scale to any size the windows ask for.
//
// A window picture is its body on transparent pixels, painted as the
// background of a translucent window (the desktop's compositor shows what
// lies beneath). The transparent pixels are also cut from the window's
// outline: that takes them out of the input region everywhere and, on an X
// server without a compositor, out of the picture.
#pragma once

#include <QBitmap>
#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace calvoro::ui {

// The body colour, on which static texts are drawn transparent.
inline constexpr QRgb kStaticBack = qRgb(245, 243, 233);

enum class ButtonTone {
  Key,       // digits and letters
  Operator,  // + - * / ^ ( ) .
  Accent,    // Calc, =, OK
  Tool,      // the tools and dialog buttons
  Base,      // number bases and heads
  Frame,     // the small buttons in the window's frame
};
enum class ButtonState { Normal, Pressed, Hover };

// A window's body on transparent pixels, with `title` in its top band when given.
QImage WindowPicture(QSize size, const QString& title = {});
// One of a button's three pictures.
QPixmap ButtonPicture(QSize size, ButtonState state, ButtonTone tone);
// The caption colour on a button picture.
QColor CaptionColour(ButtonTone tone, ButtonState state);
// The window's outline: every transparent pixel removed.
QBitmap OutlineMask(const QImage& picture);
// Height of the title band of a picture with a title.
inline constexpr int kTitleBand = 28;

}  // namespace calvoro::ui
