#include "app/window_shell.h"

namespace calvoro {

MinimizeAction WindowShell::Minimize(bool trayAvailable) const {
  if (Blocked()) return MinimizeAction::Ignore;
  return record_.minimizeToTray && trayAvailable ? MinimizeAction::HideToTray
                                                 : MinimizeAction::Minimize;
}

bool WindowShell::BeginExit() { return !Blocked(); }

void WindowShell::FinishExit() {
  Save();
  exiting_ = true;
}

bool WindowShell::ConfirmExit() {
  return sink_.Question("Would you exit Calvoro?", kCaptionCalvoroMessage) == Answer::Ok;
}

bool WindowShell::CloseRequested() {
  if (!exiting_ && ConfirmExit()) exiting_ = true;
  return exiting_;
}

bool WindowShell::TrayExitRequested() { return !exiting_ && ConfirmExit(); }

}  // namespace calvoro
