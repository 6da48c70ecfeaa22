// What the four calculator windows share around their own controls: the
// frame buttons (style menu, help, minimise, exit), the tray icon, the close
// question, the tip of the day and the message sink.
//
// A window builds its model first (with `sink()`), then calls InitShell with
// its settings record and its save. Every command checks Blocked(): while the
// tip of the day is open the window ignores its commands.
#pragma once

#include <QPointer>
#include <functional>
#include <memory>

#include "app/sys_data.h"
#include "ui/qt_message_sink.h"
#include "ui/skinned_dialog.h"
#include "ui/tip_dlg.h"

class QSystemTrayIcon;
class QMenu;

namespace calvoro::ui {


class CCalcShell : public SkinnedDialog {
  Q_OBJECT
 public:
  // `sink` replaces the window's message boxes (tests); null for real dialogs.
  CCalcShell(QSize size, int style, MessageSink* sink, QWidget* parent);
  ~CCalcShell() override;

  MessageSink& sink() { return *sink_; }
  // The sink given to the window (tests), null when the window shows real
  // message boxes; the dialogs it opens take it on, or show their own boxes.
  MessageSink* givenSink() const { return ownSink_ ? nullptr : sink_; }
  bool Blocked() const { return record_ && record_->tipOpen == 1; }

  // The frame buttons, right-aligned so that the exit button ends at `right`.
  void AddFrameButtons(int right, int y);
  // Tray icon and minimise tooltip; opens the tip of the day when asked.
  void InitShell(CSysData& record, std::function<bool()> save, bool openTip);
  // InitShell for a window that owns its settings file: the start step every
  // window makes on its record (tip closed, fresh start ended), the shell on
  // that record saved to the file, and the focus in the input field.
  void InitShell(CSysDataManager& settings);
  // The tray icon and the minimise button's tooltip follow the record's
  // minimizeToTray (at start and after the settings dialog).
  void RefreshMinimizeToTray();

  // Commands of the frame buttons and the style menu.
  void OnStyleButton();
  void OnSelectStyle(int value);
  void OnMinimize();
  void OnExit();
  void OnHelp();
  void SetAlwaysOnTop(bool on);
  bool alwaysOnTop() const { return alwaysOnTop_; }

  // The style menu as it would open (for tests: its actions in order).
  QMenu* BuildStyleMenu();
  CTipDlg* tipDialog() const { return tip_; }
  QSystemTrayIcon* trayIcon() const { return tray_; }
  SkinnedButton* minimizeButton() const { return minimize_; }

  // The focus after a dialog closes: the window's input field.
  virtual void FocusInput() {}

  // The close question; true when the user answers OK.
  bool ConfirmExit();

 protected:
  void reject() override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool SaveRecord();

 private:
  void AddTrayIcon();
  void RemoveTrayIcon();

  int style_;
  std::unique_ptr<QtMessageSink> ownSink_;
  MessageSink* sink_;
  CSysData* record_ = nullptr;
  std::function<bool()> save_;
  QSystemTrayIcon* tray_ = nullptr;
  QPointer<CTipDlg> tip_;
  SkinnedButton* minimize_ = nullptr;
  bool alwaysOnTop_ = false;
  bool exiting_ = false;
};

// The application icon, drawn like the skin.
QIcon CalvoroIcon();

}  // namespace calvoro::ui
