// The calculator window's Robot button.
#include "ui/expr_dlg.h"
#include "ui/robot_dlg.h"

namespace calvoro::ui {

void CExprDlg::OnRobot() {
  if (Blocked()) return;
  CRobotDlg robot(model_.data(), sink(), [this] { model_.Save(); }, this);
  robot.exec();
  FocusInput();
}

}  // namespace calvoro::ui
