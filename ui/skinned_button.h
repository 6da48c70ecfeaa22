// A button drawn from its normal, pressed and hover pictures, the caption
// centred on one line over them, with the pointing-hand cursor. A checkable
// button (the number bases) keeps its pressed picture while it is on.
//
// A button takes no keyboard focus until it is made reachable by Tab
// (`SetTabReachable`, which SkinnedDialog does for every dialog button): a
// focused button shows a focus ring and Space or Enter clicks it. The
// calculator windows' buttons never take the focus: keys go to the window,
// and Space must calculate rather than click a focused button.
#pragma once

#include <QAbstractButton>
#include <array>

#include "ui/skin.h"

namespace calvoro::ui {

class SkinnedButton : public QAbstractButton {
  Q_OBJECT
 public:
  SkinnedButton(const QString& caption, ButtonTone tone, QWidget* parent);
  // Moves the button to its fixed place; the pictures follow its size.
  void Place(int x, int y, int width, int height);
  QSize sizeHint() const override { return size(); }
  void SetTabReachable();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  ButtonTone tone_;
  bool hover_ = false;
  std::array<QPixmap, 3> pictures_;
};

}  // namespace calvoro::ui
