#include "app/window_shell.h"

namespace calvoro {

void WindowShell::Attach(CSysData& record, std::function<bool()> save) {
  record_ = &record;
  save_ = std::move(save);
}

MinimizeAction WindowShell::Minimize(bool trayAvailable) const {
  if (Blocked() || !record_) return MinimizeAction::Ignore;
  return record_->minimizeToTray == 1 && trayAvailable ? MinimizeAction::HideToTray
                                                       : MinimizeAction::Minimize;
}

bool WindowShell::BeginExit() {
  if (Blocked()) return false;
  Save();
  return true;
}

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
