// What the four calculator windows do around their own controls, without
// widgets: the commands are ignored while the tip of the day is open and the
// keys meant for the tip go to it; the minimise and exit commands; the close
// question; the tray menu; "Always on Top". The Qt window wires its frame
// buttons, keys, tray icon and window flags to it.
#pragma once

#include <functional>

#include "app/sys_data.h"
#include "engine/message_sink.h"

namespace calvoro {

enum class MinimizeAction { Ignore, HideToTray, Minimize };
// A key that reaches the calculator window while the tip of the day is open.
enum class TipKeyAction { CloseTip, Drop };

class ShellModel {
 public:
  // On the window's record and its save.
  ShellModel(MessageSink& sink, CSysData& record, std::function<bool()> save)
      : sink_(sink), record_(record), save_(std::move(save)) {}

  CSysData& record() { return record_; }
  bool Save() { return save_(); }

  // While the tip of the day is open the window ignores its commands.
  bool Blocked() const { return record_.tipOpen; }
  // Enter and Escape close the tip; every other key is dropped, so that
  // nothing meant for the tip reaches the calculator.
  static TipKeyAction KeyWhileTipOpen(bool enterOrEscape) {
    return enterOrEscape ? TipKeyAction::CloseTip : TipKeyAction::Drop;
  }

  // The minimise button: to the tray when the record asks for it and the
  // desktop has a tray (a hidden window must be found again), otherwise an
  // ordinary minimise.
  MinimizeAction Minimize(bool trayAvailable) const;

  // The exit button: ignored (false) while blocked; otherwise the window
  // removes its tray icon and ends the tip, and FinishExit saves once; the
  // window then closes without asking.
  bool BeginExit();
  void FinishExit();
  // Escape and the window's close command: "Would you exit Calvoro?"; true
  // (and the window closes without the exit's saves) for OK.
  bool CloseRequested();
  // The tray menu's Exit: the close question, also while the tip is open.
  // True for OK: the window then closes the tip and runs the exit command.
  bool TrayExitRequested();
  bool exiting() const { return exiting_; }

  // "Always on Top" in the style menu, for this run only.
  bool alwaysOnTop() const { return alwaysOnTop_; }
  void SetAlwaysOnTop(bool on) { alwaysOnTop_ = on; }

 private:
  bool ConfirmExit();

  MessageSink& sink_;
  CSysData& record_;
  std::function<bool()> save_;
  bool exiting_ = false;
  bool alwaysOnTop_ = false;
};

}  // namespace calvoro
