#include "app/shell_model.h"

namespace calvoro {

MinimizeAction ShellModel::Minimize(bool trayAvailable) const {
  if (Blocked()) return MinimizeAction::Ignore;
  return record_.minimizeToTray && trayAvailable ? MinimizeAction::HideToTray
                                                 : MinimizeAction::Minimize;
}

bool ShellModel::BeginExit() { return !Blocked(); }

void ShellModel::FinishExit() {
  Save();
  exiting_ = true;
}

bool ShellModel::ConfirmExit() {
  return sink_.Question("Would you exit Calvoro?", kCaptionCalvoroMessage) == Answer::Ok;
}

bool ShellModel::CloseRequested() {
  if (!exiting_ && ConfirmExit()) exiting_ = true;
  return exiting_;
}

bool ShellModel::TrayExitRequested() { return !exiting_ && ConfirmExit(); }

}  // namespace calvoro
