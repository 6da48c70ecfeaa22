#include "ui/calc_shell.h"

#include <QCloseEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QSystemTrayIcon>

#include "app/startup.h"
#include "app/window_start.h"
#include "ui/help.h"
#include "ui/qt_text.h"
#include "ui/resize_dlg.h"
#include "ui/tip_dlg.h"

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

CCalcShell::CCalcShell(QSize size, int style, MessageSink* sink, QWidget* parent)
    : SkinnedDialog(size, {}, parent), style_(style) {
  if (!sink) {
    ownSink_ = std::make_unique<QtMessageSink>(this);
    sink = ownSink_.get();
  }
  sink_ = sink;
  setWindowTitle(QStringLiteral("Calvoro"));
  setWindowIcon(CalvoroIcon());
}

CCalcShell::~CCalcShell() {
  delete tip_.data();
  RemoveTrayIcon();
}

void CCalcShell::AddFrameButtons(int right, int y) {
  struct Frame {
    QString caption, tip;
    void (CCalcShell::*command)();
  };
  const Frame frames[] = {
      {QStringLiteral("\u2261"), QStringLiteral("Select the different style"), &CCalcShell::OnStyleButton},
      {QStringLiteral("?"), QStringLiteral("Help"), &CCalcShell::OnHelp},
      {QStringLiteral("\u2013"), QStringLiteral("Minimize"), &CCalcShell::OnMinimize},
      {QStringLiteral("\u00d7"), QStringLiteral("Exit"), &CCalcShell::OnExit},
  };
  int x = right - 4 * 24 + 2;
  for (const Frame& frame : frames) {
    SkinnedButton* button = AddButton(frame.caption, QRect(x, y, 22, 20), ButtonTone::Frame);
    button->setToolTip(frame.tip);
    QFont font = button->font();
    font.setPixelSize(14);
    font.setBold(true);
    button->setFont(font);
    connect(button, &QAbstractButton::clicked, this, frame.command);
    if (frame.command == &CCalcShell::OnMinimize) minimize_ = button;
    x += 24;
  }
}

void CCalcShell::InitShell(CSysData& record, std::function<bool()> save, bool openTip) {
  record_ = &record;
  save_ = std::move(save);
  RefreshMinimizeToTray();
  if (openTip) {
    tip_ = new CTipDlg(record, [this] { SaveRecord(); }, this);
    connect(tip_, &CTipDlg::tipClosed, this, [this] { FocusInput(); });
    tip_->show();
  }
}

void CCalcShell::RefreshMinimizeToTray() {
  if (!record_) return;
  const bool toTray = record_->minimizeToTray == 1;
  if (toTray) {
    AddTrayIcon();
  } else {
    RemoveTrayIcon();
  }
  if (minimize_)
    minimize_->setToolTip(toTray ? QStringLiteral("Minimize to the system tray") : QStringLiteral("Minimize"));
}

void CCalcShell::InitShell(CSysDataManager& settings) {
  const bool openTip = InitialiseShellRecord(settings, sink());
  InitShell(settings.data, [&settings] { return settings.Save() == kFileDone; }, openTip);
  FocusInput();
}

bool CCalcShell::SaveRecord() { return save_ ? save_() : false; }

// The tray icon, when the desktop has a tray; otherwise the window is only
// ever minimised normally so that it can always be found again.
void CCalcShell::AddTrayIcon() {
  if (tray_ || !QSystemTrayIcon::isSystemTrayAvailable()) return;
  tray_ = new QSystemTrayIcon(CalvoroIcon(), this);
  tray_->setToolTip(QStringLiteral("Calvoro "));
  connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason why) {
    if (why != QSystemTrayIcon::Trigger && why != QSystemTrayIcon::Context) return;
    showNormal();
    raise();
    activateWindow();
  });
  tray_->show();
}

void CCalcShell::RemoveTrayIcon() {
  delete tray_;
  tray_ = nullptr;
}

QMenu* CCalcShell::BuildStyleMenu() {
  auto* menu = new QMenu(this);
  for (const StyleMenuItem& item : StyleMenuOf(style_)) {
    const int value = item.value;
    menu->addAction(ToQt(item.text), this, [this, value] { OnSelectStyle(value); });
  }
  menu->addSeparator();
  QAction* top = menu->addAction(QStringLiteral("  Always on Top"));
  top->setCheckable(true);
  top->setChecked(alwaysOnTop_);
  connect(top, &QAction::toggled, this, &CCalcShell::SetAlwaysOnTop);
  return menu;
}

void CCalcShell::OnStyleButton() {
  if (Blocked()) return;
  QMenu* menu = BuildStyleMenu();
  menu->exec(QCursor::pos());
  menu->deleteLater();
}

void CCalcShell::OnSelectStyle(int value) {
  if (!record_) return;
  SelectStyle(*record_, value, [this] { SaveRecord(); });
  CResizeDlg notice(value, this);
  notice.exec();
  FocusInput();
}

void CCalcShell::SetAlwaysOnTop(bool on) {
  alwaysOnTop_ = on;
  const bool visible = isVisible();
  setWindowFlag(Qt::WindowStaysOnTopHint, on);
  if (visible) show();  // changing the flags hides the window
}

void CCalcShell::OnMinimize() {
  if (Blocked() || !record_) return;
  // Switched on in the settings after start: the icon is added now, so the
  // hidden window can be brought back.
  if (record_->minimizeToTray == 1) AddTrayIcon();
  if (record_->minimizeToTray == 1 && tray_) {
    hide();
  } else {
    showMinimized();
  }
}

void CCalcShell::OnExit() {
  if (Blocked()) return;
  SaveRecord();
  RemoveTrayIcon();
  delete tip_.data();
  SaveRecord();
  exiting_ = true;
  accept();
}

void CCalcShell::OnHelp() { OpenHelp(sink()); }

bool CCalcShell::ConfirmExit() {
  return sink().Question("Would you exit Calvoro?", kCaptionCalvoroMessage) == Answer::Ok;
}

// Escape and the window's close command ask first.
void CCalcShell::reject() {
  if (exiting_ || ConfirmExit()) {
    exiting_ = true;
    QDialog::reject();
  }
}

void CCalcShell::closeEvent(QCloseEvent* event) {
  if (exiting_) return event->accept();
  event->ignore();
  reject();
}

void CCalcShell::keyPressEvent(QKeyEvent* event) {
  // Enter must not close the window as a plain dialog would.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) return event->ignore();
  SkinnedDialog::keyPressEvent(event);
}

}  // namespace calvoro::ui
