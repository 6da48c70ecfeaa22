// A window or dialog with a skin: frameless, of a fixed size, its outline cut
// from its picture by the colour key, the picture painted as background,
// centred on the screen when shown, and moved by dragging its body.
#pragma once

#include <QDialog>
#include <QImage>
#include <QPoint>

#include "ui/skinned_button.h"

class QLabel;

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

  const QImage& picture() const { return picture_; }
  // A new size: the picture and the outline follow.
  void Reshape(QSize size);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QString title_;
  QImage picture_;
  bool centred_ = false;
  bool dragging_ = false;
  QPoint dragOffset_;
};

}  // namespace calvoro::ui
