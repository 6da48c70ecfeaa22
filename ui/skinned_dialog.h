// A window or dialog with a skin: frameless, of a fixed size, translucent,
// its picture painted as background and its outline cut where the picture is
// transparent, centred when shown (on the screen, or on the window that
// opened it, where the desktop lets a window place itself), and moved by
// dragging its body.
//
// A window larger than the screen's free area (a large scale factor on a
// small screen) keeps its layout in a body that scrolls within the area.
//
// Keyboard: every button is reached by Tab (unless the window turns that
// off, as the calculator windows do); Enter clicks the default button when
// the focused widget does not use the key itself, Escape cancels, F1 clicks
// the Help button.
#pragma once

#include <QDialog>
#include <QImage>
#include <QPoint>
#include <QPointer>

#include "ui/skinned_button.h"

class QLabel;
class QTimer;

namespace calvoro::ui {

class SkinnedDialog : public QDialog {
  Q_OBJECT
 public:
  // `title` is drawn in the picture's top band (none when empty) and is the
  // window title the desktop shows.
  SkinnedDialog(QSize size, const QString& title, QWidget* parent);

  // A static text, transparent on the body.
  QLabel* AddStatic(const QString& text, const QRect& place);
  // A skinned button at its fixed place.
  SkinnedButton* AddButton(const QString& caption, const QRect& place,
                           ButtonTone tone = ButtonTone::Tool);

  // The button Enter clicks, which also has the focus when the dialog opens
  // unless another widget asks for it.
  void SetDefaultButton(SkinnedButton* button);
  SkinnedButton* defaultButton() const { return default_; }
  // The button F1 clicks.
  void SetHelpButton(SkinnedButton* button) { help_ = button; }

  const QImage& picture() const { return picture_; }
  // A new size: the picture and the outline follow.
  void Reshape(QSize size);
  // The scrolled body of a window larger than its screen's free area (its
  // controls' parent then), or null.
  QWidget* scrolledBody() const { return body_; }

 protected:
  // Buttons added afterwards never take the focus (the calculator windows).
  void KeepButtonsOutOfTabOrder() { buttonsTakeFocus_ = false; }
  // Centred on the window that opened it rather than on the screen.
  void CentreOnParent() { centreOnParent_ = true; }

  // Keys meant for the dialog go nowhere once it has closed.
  void done(int result) override;
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  // Shrinks to `area` with the controls on a scrolled body of the full size.
  void FitInto(const QRect& area);
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QString title_;
  QImage picture_;
  bool centred_ = false;
  bool centreOnParent_ = false;
  bool buttonsTakeFocus_ = true;
  QPointer<SkinnedButton> default_;
  QPointer<SkinnedButton> help_;
  QWidget* body_ = nullptr;
  void WatchMove(QPoint cursor);
  void CheckMove();

  bool dragging_ = false;
  QPoint dragOffset_;
  // A move asked of the X window manager, watched until the button is up.
  QTimer* moveWatch_ = nullptr;
  QPoint moveCursor_;
  QPoint movePlace_;
  int moveTicks_ = 0;
};

}  // namespace calvoro::ui
