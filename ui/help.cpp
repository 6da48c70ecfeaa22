#include "ui/help.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include "engine/refusal.h"
#include "ui/qt_text.h"

namespace calvoro::ui {

namespace {

// xdg-open's status when it found no program for the file.
constexpr int kNoOpener = 3;

void ReportNotOpened(MessageSink& sink, const QString& path) {
  ReportRefusal({RefusalId::kHelpNotOpened, {FromQt(path)}}, sink);
}

void ReportNoOpener(MessageSink& sink, const QString& path) {
  ReportRefusal({RefusalId::kHelpNoOpener, {FromQt(path)}}, sink);
}

}  // namespace

QStringList HelpCandidates(const QString& programFolder) {
  const QDir program(programFolder);
  return {
      QDir::cleanPath(program.filePath(ToQt(kHelpFileName))),
      QDir::cleanPath(program.filePath(ToQt(kHelpPageName))),
      QDir::cleanPath(program.filePath(QStringLiteral("../share/calvoro/") + ToQt(kHelpPageName))),
  };
}

QString HelpFile(const QString& programFolder) {
  for (const QString& path : HelpCandidates(programFolder)) {
    if (QFileInfo(path).isFile()) return path;
  }
  return {};
}

void OpenHelpFile(const QString& path, MessageSink& sink, QObject* context) {
  const QUrl url = QUrl::fromLocalFile(path);
  const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
  if (opener.isEmpty()) {
    if (!QDesktopServices::openUrl(url)) ReportNoOpener(sink, path);
    return;
  }
  // The process belongs to the application, so that closing the dialog that
  // asked does not end the browser's start; xdg-open may wait for the
  // browser to close.
  auto* process = new QProcess(QCoreApplication::instance());
  process->setProgram(opener);
  process->setArguments({url.toString()});
  process->setStandardOutputFile(QProcess::nullDevice());
  process->setStandardErrorFile(QProcess::nullDevice());
  QObject::connect(process, &QProcess::finished, context,
                   [&sink, path](int code, QProcess::ExitStatus status) {
                     if (status == QProcess::NormalExit && code == kNoOpener) {
                       ReportNoOpener(sink, path);
                     } else if (status != QProcess::NormalExit || code != 0) {
                       ReportNotOpened(sink, path);
                     }
                   });
  QObject::connect(process, &QProcess::errorOccurred, context,
                   [&sink, path](QProcess::ProcessError error) {
                     if (error == QProcess::FailedToStart) ReportNotOpened(sink, path);
                   });
  QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
  QObject::connect(process, &QProcess::errorOccurred, process,
                   [process](QProcess::ProcessError error) {
                     if (error == QProcess::FailedToStart) process->deleteLater();
                   });
  process->start();
}

void OpenHelp(MessageSink& sink, QObject* context) {
  const QString folder = QCoreApplication::applicationDirPath();
  const QString path = HelpFile(folder);
  if (path.isEmpty()) {
    // The files looked for, in their order.
    ReportRefusal(
        {RefusalId::kHelpNotFound, {FromQt(HelpCandidates(folder).join(QStringLiteral(", ")))}},
        sink);
    return;
  }
  OpenHelpFile(path, sink, context);
}

}  // namespace calvoro::ui
