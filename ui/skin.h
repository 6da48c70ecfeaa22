// The skin: every window's picture and every button's three pictures, drawn
// in code so that they scale to any size the windows ask for.
//
// A window picture is its body on the colour key RGB(219, 215, 217); the
// pixels of exactly that colour are cut from the window's outline, and the
// same picture is painted as its background.
#pragma once

#include <QBitmap>
#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace calvoro::ui {

inline constexpr QRgb kTransparentKey = qRgb(219, 215, 217);
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

// A window's body on the colour key, with `title` in its top band when given.
QImage WindowPicture(QSize size, const QString& title = {});
// One of a button's three pictures.
QPixmap ButtonPicture(QSize size, ButtonState state, ButtonTone tone);
// The caption colour on a button picture.
QColor CaptionColour(ButtonTone tone, ButtonState state);
// The window's outline: every pixel of the colour key removed.
QBitmap OutlineMask(const QImage& picture);
// Height of the title band of a picture with a title.
inline constexpr int kTitleBand = 28;

}  // namespace calvoro::ui
