// What the four calculator windows share around their own controls: the
// frame buttons (style menu, help, minimise, exit), the tray icon and its
// menu, the close question, the tip of the day and the message sink. The
// behaviour is ShellModel's; this class wires it to Qt.
//
// The shell owns the window's settings, read at construction; the window
// builds its model on them (with `sink()`), then calls InitShell. Every
// command checks Blocked(): while the tip of the day is open the window
// ignores its commands, and the keys that reach it go to the tip.
#pragma once

#include <QPointer>
#include <functional>
#include <memory>

#include "app/shell_model.h"
#include "app/sys_data.h"
#include "ui/qt_message_sink.h"
#include "ui/skinned_dialog.h"
#include "ui/tip_dialog.h"

class QSystemTrayIcon;
class QMenu;

namespace calvoro::ui {

class ShellWindow : public SkinnedDialog {
  Q_OBJECT
 public:
  // The settings are read from `settingsPath`. `sink` replaces the window's
  // message boxes (tests); null for real dialogs.
  ShellWindow(QSize size, WindowStyle style, const std::string& settingsPath, MessageSink* sink,
              QWidget* parent);
  ~ShellWindow() override;

  MessageSink& sink() { return *sink_; }
  CSysDataManager& settings() { return settings_; }
  CSysData& data() { return settings_.data; }
  // The sink given to the window (tests), null when the window shows real
  // message boxes; the dialogs it opens take it on, or show their own boxes.
  MessageSink* givenSink() const { return ownSink_ ? nullptr : sink_; }
  bool Blocked() const { return shell_.Blocked(); }

  // The frame buttons, right-aligned so that the exit button ends at `right`.
  void AddFrameButtons(int right, int y);
  // Tray icon and minimise tooltip; opens the tip of the day when asked, as
  // soon as the window is on the screen.
  void InitShell(bool openTip);
  // InitShell after the start step every window makes on its record (tip
  // closed, fresh start ended), and the focus in the input field.
  void InitShell();
  // The tray icon and the minimise button's tooltip follow the record's
  // minimizeToTray (at start and after the settings dialog).
  void RefreshMinimizeToTray();

  // Commands of the frame buttons, the style menu and the tray menu.
  void OnStyleButton();
  // F10: the style menu under its button.
  void OnStyleKey();
  void OnSelectStyle(WindowStyle value);
  void OnMinimize();
  void OnExit();
  void OnHelp();
  void OnRestore();
  void OnTrayExit();
  // Keeps the window above others (or not) where it is, without hiding it.
  void SetAlwaysOnTop(bool on);
  bool alwaysOnTop() const { return shell_.alwaysOnTop(); }

  // The style menu as it would open (for tests: its actions in order).
  QMenu* BuildStyleMenu();
  // The tray icon's menu: Restore and Exit.
  QMenu* BuildTrayMenu();
  TipDialog* tipDialog() const { return tip_; }
  QSystemTrayIcon* trayIcon() const { return tray_; }
  SkinnedButton* minimizeButton() const { return minimize_; }

  // The focus after a dialog closes: the window's input field.
  virtual void FocusInput() {}

  // The close question; true when the user answers OK.
  bool ConfirmExit() { return shell_.CloseRequested(); }

 protected:
  void reject() override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool SaveRecord() { return shell_.Save(); }

 private:
  void AddTrayIcon();
  void RemoveTrayIcon();
  // Whether the tip of the day is open (shown, or about to be).
  bool TipOpen() const;
  void ShowTip();
  void ActivateTip();
  void TipClosed();

  WindowStyle style_;
  std::unique_ptr<QtMessageSink> ownSink_;
  MessageSink* sink_;
  CSysDataManager settings_;
  ShellModel shell_;
  QSystemTrayIcon* tray_ = nullptr;
  QMenu* trayMenu_ = nullptr;
  QPointer<TipDialog> tip_;
  bool tipPending_ = false;
  SkinnedButton* minimize_ = nullptr;
  SkinnedButton* styleButton_ = nullptr;
};

// The application icon, drawn like the skin.
QIcon CalvoroIcon();

}  // namespace calvoro::ui
