#include "ui/shell_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWindow>

#include "app/startup.h"
#include "app/window_start.h"
#include "ui/desktop_support.h"
#include "ui/help.h"
#include "ui/qt_text.h"
#include "ui/resize_dialog.h"
#include "ui/tip_dialog.h"

namespace calvoro::ui {

QIcon CalvoroIcon() {
  QPixmap pixmap(64, 64);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(QColor(52, 72, 102));
  painter.setPen(Qt::NoPen);
  painter.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
  painter.setBrush(QColor(kStaticBack));
  painter.drawRoundedRect(QRectF(10, 10, 44, 18), 4, 4);
  painter.setBrush(QColor(232, 140, 44));
  painter.drawRoundedRect(QRectF(10, 34, 20, 20), 4, 4);
  painter.setBrush(QColor(196, 213, 237));
  painter.drawRoundedRect(QRectF(34, 34, 20, 20), 4, 4);
  return QIcon(pixmap);
}

ShellWindow::ShellWindow(QSize size, WindowStyle style, const std::string& settingsPath,
                         MessageSink* sink, QWidget* parent)
    : SkinnedDialog(size, {}, parent),
      style_(style),
      ownSink_(sink ? nullptr : std::make_unique<QtMessageSink>(this)),
      sink_(sink ? sink : ownSink_.get()),
      settings_(settingsPath),
      shell_(*sink_, settings_.data, [this] { return settings_.Save(); }) {
  settings_.Load();
  // Keys go to the window (Space calculates), never to a focused button.
  KeepButtonsOutOfTabOrder();
  setWindowTitle(QStringLiteral("Calvoro"));
  setWindowIcon(CalvoroIcon());
}

ShellWindow::~ShellWindow() {
  if (qApp) qApp->removeEventFilter(this);
  delete tip_.data();
  RemoveTrayIcon();
}

void ShellWindow::AddFrameButtons(int right, int y) {
  struct Frame {
    QString caption, tip, name;
    void (ShellWindow::*command)();
  };
  const Frame frames[] = {
      {QStringLiteral("\u2261"), QStringLiteral("Select the different style"),
       QStringLiteral("Style"), &ShellWindow::OnStyleButton},
      {QStringLiteral("?"), QStringLiteral("Help"), QStringLiteral("Help"), &ShellWindow::OnHelp},
      {QStringLiteral("\u2013"), QStringLiteral("Minimize"), QStringLiteral("Minimize"),
       &ShellWindow::OnMinimize},
      {QStringLiteral("\u00d7"), QStringLiteral("Exit"), QStringLiteral("Exit"),
       &ShellWindow::OnExit},
  };
  int x = right - 4 * 24 + 2;
  for (const Frame& frame : frames) {
    SkinnedButton* button = AddButton(frame.caption, QRect(x, y, 22, 20), ButtonTone::Frame);
    button->setToolTip(frame.tip);
    button->setAccessibleName(frame.name);
    QFont font = button->font();
    font.setPixelSize(14);
    font.setBold(true);
    button->setFont(font);
    connect(button, &QAbstractButton::clicked, this, frame.command);
    if (frame.command == &ShellWindow::OnMinimize) minimize_ = button;
    if (frame.command == &ShellWindow::OnHelp) SetHelpButton(button);
    x += 24;
  }
}

void ShellWindow::InitShell(bool openTip) {
  RefreshMinimizeToTray();
  if (openTip) {
    tip_ = new TipDialog(
        settings_.data, [this] { SaveRecord(); }, this);
    connect(tip_, &TipDialog::tipClosed, this, &ShellWindow::TipClosed);
    qApp->installEventFilter(this);
    tipPending_ = true;
    if (isVisible()) ShowTip();
  }
}

void ShellWindow::RefreshMinimizeToTray() {
  const bool toTray = shell_.record().minimizeToTray;
  if (toTray) {
    AddTrayIcon();
  } else {
    RemoveTrayIcon();
  }
  if (minimize_)
    minimize_->setToolTip(toTray ? QStringLiteral("Minimize to the system tray")
                                 : QStringLiteral("Minimize"));
}

void ShellWindow::InitShell() {
  InitShell(InitialiseShellRecord(settings_, sink()));
  FocusInput();
}

// The tip of the day opens once the window is on the screen, so that the
// desktop knows it as the window's dialog and keeps it above the window.
void ShellWindow::showEvent(QShowEvent* event) {
  SkinnedDialog::showEvent(event);
  if (tipPending_) QTimer::singleShot(0, this, &ShellWindow::ShowTip);
}

bool ShellWindow::TipOpen() const { return tip_ && tip_->tip().isOpen(); }

void ShellWindow::ShowTip() {
  if (!tipPending_ || !TipOpen()) return;
  tipPending_ = false;
  tip_->show();
  ActivateTip();
}

void ShellWindow::ActivateTip() {
  if (!TipOpen() || !tip_->isVisible()) return;
  tip_->raise();
  tip_->activateWindow();
}

void ShellWindow::TipClosed() {
  qApp->removeEventFilter(this);
  activateWindow();
  FocusInput();
}

// While the tip is open the window hands the focus on to it.
bool ShellWindow::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate && TipOpen())
    QTimer::singleShot(0, this, &ShellWindow::ActivateTip);
  return SkinnedDialog::event(event);
}

// While the tip is open, a key that reaches this window goes to the tip:
// Enter and Escape close it and nothing reaches the calculator; a click on
// the window brings the tip to the front (the window can still be dragged).
bool ShellWindow::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (TipOpen() && (type == QEvent::KeyPress || type == QEvent::ShortcutOverride ||
                    type == QEvent::MouseButtonPress)) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget && widget->window() == this) {
      if (type == QEvent::MouseButtonPress) {
        QTimer::singleShot(0, this, &ShellWindow::ActivateTip);
        return false;
      }
      if (type == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool closing = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
        if (ShellModel::KeyWhileTipOpen(closing) == TipKeyAction::CloseTip) {
          if (key == Qt::Key_Escape) {
            tip_->reject();
          } else {
            tip_->accept();
          }
          return true;
        }
        ActivateTip();
      }
      event->accept();
      return true;
    }
  }
  return SkinnedDialog::eventFilter(watched, event);
}

// The tray icon, when the desktop has a tray; otherwise the window is only
// ever minimised normally so that it can always be found again.
void ShellWindow::AddTrayIcon() {
  if (tray_ || !QSystemTrayIcon::isSystemTrayAvailable()) return;
  tray_ = new QSystemTrayIcon(CalvoroIcon(), this);
  tray_->setToolTip(QStringLiteral("Calvoro "));
  trayMenu_ = BuildTrayMenu();
  tray_->setContextMenu(trayMenu_);
  connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason why) {
    if (why == QSystemTrayIcon::Trigger) OnRestore();
  });
  tray_->show();
}

void ShellWindow::RemoveTrayIcon() {
  delete tray_;
  tray_ = nullptr;
  delete trayMenu_;
  trayMenu_ = nullptr;
}

QMenu* ShellWindow::BuildTrayMenu() {
  auto* menu = new QMenu(this);
  menu->addAction(QStringLiteral("Restore"), this, &ShellWindow::OnRestore);
  menu->addSeparator();
  menu->addAction(QStringLiteral("Exit"), this, &ShellWindow::OnTrayExit);
  return menu;
}

void ShellWindow::OnRestore() {
  showNormal();
  raise();
  activateWindow();
}

// Exit from the tray asks first, closes the tip as its Close button would,
// and then saves as the exit button does.
void ShellWindow::OnTrayExit() {
  if (!shell_.TrayExitRequested()) return;
  if (TipOpen()) tip_->accept();
  OnExit();
}

QMenu* ShellWindow::BuildStyleMenu() {
  auto* menu = new QMenu(this);
  for (const StyleMenuItem& item : StyleMenuOf(style_)) {
    const WindowStyle value = item.value;
    menu->addAction(ToQt(item.text), this, [this, value] { OnSelectStyle(value); });
  }
  menu->addSeparator();
  QAction* top = menu->addAction(QStringLiteral("  Always on Top"));
  top->setCheckable(true);
  top->setChecked(alwaysOnTop());
  connect(top, &QAction::toggled, this, &ShellWindow::SetAlwaysOnTop);
  // Offered only where the desktop honours it (Wayland has no protocol for it).
  if (!DesktopKeepsWindowsAbove()) {
    top->setEnabled(false);
    top->setToolTip(QStringLiteral("The desktop decides which window stays on top"));
    menu->setToolTipsVisible(true);
  }
  return menu;
}

void ShellWindow::OnStyleButton() {
  if (Blocked()) return;
  QMenu* menu = BuildStyleMenu();
  menu->exec(QCursor::pos());
  menu->deleteLater();
}

void ShellWindow::OnSelectStyle(WindowStyle value) {
  SelectStyle(shell_.record(), value, [this] { SaveRecord(); });
  ResizeDialog notice(value, this);
  notice.exec();
  FocusInput();
}

// The flags go to the shown window directly: QWidget::setWindowFlags would
// hide the window and show it again elsewhere.
void ShellWindow::SetAlwaysOnTop(bool on) {
  shell_.SetAlwaysOnTop(on);
  Qt::WindowFlags flags = windowFlags();
  flags.setFlag(Qt::WindowStaysOnTopHint, on);
  if (QWindow* window = windowHandle()) {
    overrideWindowFlags(flags);
    window->setFlags(flags);
    if (on) raise();
  } else {
    setWindowFlags(flags);
  }
}

void ShellWindow::OnMinimize() {
  switch (shell_.Minimize(QSystemTrayIcon::isSystemTrayAvailable())) {
    case MinimizeAction::Ignore:
      return;
    case MinimizeAction::HideToTray:
      // Switched on in the settings after start: the icon is added now, so
      // the hidden window can be brought back.
      AddTrayIcon();
      hide();
      return;
    case MinimizeAction::Minimize:
      showMinimized();
      return;
  }
}

void ShellWindow::OnExit() {
  if (!shell_.BeginExit()) return;
  RemoveTrayIcon();
  delete tip_.data();
  shell_.FinishExit();
  accept();
}

void ShellWindow::OnHelp() { OpenHelp(sink(), this); }

// Escape and the window's close command ask first.
void ShellWindow::reject() {
  if (shell_.CloseRequested()) QDialog::reject();
}

void ShellWindow::closeEvent(QCloseEvent* event) {
  if (shell_.exiting()) return event->accept();
  event->ignore();
  reject();
}

void ShellWindow::keyPressEvent(QKeyEvent* event) {
  // Enter must not close the window as a plain dialog would.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) return event->ignore();
  SkinnedDialog::keyPressEvent(event);
}

}  // namespace calvoro::ui
