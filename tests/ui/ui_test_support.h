// Helpers of the GUI tests: a fresh settings file per test, answering the
// next modal dialog, and screenshots.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QAction>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <ostream>
#include <string>

#include "app/sys_data.h"
#include "tests/support/test_folder.h"

// QStrings print as text in test failures.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE

namespace calvoro::testing {

// A settings file path in a folder of its own, removed at the end.
class TempSettings {
 public:
  std::string path() const { return folder_.Path("SysData.dat"); }
  CSysData Load() const {
    CSysDataManager manager(path());
    manager.Load();
    return manager.data;
  }
  void Store(const CSysData& data) const { CSysDataManager(path()).Save(data); }

 private:
  TestFolder folder_{"ui"};
};

// Calls `handler` on the next modal dialog that opens other than `except`
// (polled from the event loop, so it also runs inside the dialog's exec). A
// dialog that never opens fails the test after five seconds instead of hanging.
inline void WhenModal(std::function<void(QWidget*)> handler, QWidget* except = nullptr) {
  auto* timer = new QTimer;
  auto* clock = new QElapsedTimer;
  clock->start();
  QObject::connect(timer, &QTimer::timeout, [=] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != except) {
      timer->stop();
      timer->deleteLater();
      delete clock;
      handler(modal);
    } else if (clock->elapsed() > 5000) {
      timer->stop();
      timer->deleteLater();
      delete clock;
      ADD_FAILURE() << "no modal dialog opened";
    }
  });
  timer->start(10);
}

// A menu's item texts in order, separators left out.
inline QStringList MenuTexts(const QMenu& menu) {
  QStringList items;
  for (QAction* action : menu.actions())
    if (!action->isSeparator()) items << action->text();
  return items;
}

// Triggers a style menu item and returns the text of the notice it shows;
// the notice is closed with OK. `screenshot`: a name to grab the notice as.
inline QString NoticeOfStyleItem(QAction* item, const QString& screenshot = {});

// Runs `answer` on the next modal dialog, which must be a `Dialog`; one that
// the answer leaves open is rejected, so that no test hangs on it.
template <typename Dialog>
void WhenModalOf(std::function<void(Dialog&)> answer, QWidget* except = nullptr) {
  WhenModal(
      [answer](QWidget* modal) {
        auto* dialog = qobject_cast<Dialog*>(modal);
        ASSERT_NE(dialog, nullptr) << "another dialog opened";
        answer(*dialog);
        if (dialog->isVisible()) dialog->reject();
      },
      except);
}

// Grabs `widget` to a PNG under the build folder for a person to look at.
inline bool SaveScreenshot(QWidget* widget, const QString& name) {
  QDir().mkpath(QStringLiteral(CALVORO_SCREENSHOT_DIR));
  return widget->grab().save(QStringLiteral(CALVORO_SCREENSHOT_DIR) + "/" + name + ".png");
}

inline QString NoticeOfStyleItem(QAction* item, const QString& screenshot) {
  QString notice;
  WhenModal([&](QWidget* modal) {
    const QList<QLabel*> labels = modal->findChildren<QLabel*>();
    if (!labels.isEmpty()) notice = labels.front()->text();
    if (!screenshot.isEmpty()) SaveScreenshot(modal, screenshot);
    if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->accept();
  });
  item->trigger();
  return notice;
}

}  // namespace calvoro::testing
