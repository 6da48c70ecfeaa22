// The calculator window's Robot button.
#include "ui/calculator_window.h"
#include "ui/robot_dialog.h"

namespace calvoro::ui {

void CalculatorWindow::OnRobot() {
  if (Blocked()) return;
  RobotDialog robot(
      model_.data(), sink(), [this] { model_.Save(); }, this);
  robot.exec();
  FocusInput();
}

}  // namespace calvoro::ui
