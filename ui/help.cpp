#include "ui/help.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include "ui/qt_text.h"

namespace calvoro::ui {

namespace {

void ReportNotOpened(MessageSink& sink, const QString& path) {
  sink.MessageBox("The help file " + FromQt(path) + " could not be opened.", kCaptionCalvoroMessage,
                  MessageIcon::Information);
}

}  // namespace

QString HelpFile(const QString& programFolder) {
  const QDir program(programFolder);
  const QString candidates[] = {
      program.filePath(ToQt(kHelpFileName)),
      program.filePath(ToQt(kHelpPageName)),
      program.filePath(QStringLiteral("../share/calvoro/") + ToQt(kHelpPageName)),
  };
  for (const QString& path : candidates) {
    if (QFileInfo(path).isFile()) return QDir::cleanPath(path);
  }
  return {};
}

void OpenHelpFile(const QString& path, MessageSink& sink, QObject* context) {
  const QUrl url = QUrl::fromLocalFile(path);
  const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
  if (opener.isEmpty()) {
    if (!QDesktopServices::openUrl(url)) ReportNotOpened(sink, path);
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
                     if (status != QProcess::NormalExit || code != 0) ReportNotOpened(sink, path);
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
    sink.MessageBox(
        "The help file calvoro.chm cannot be found in the folder " + FromQt(folder) + ".",
        kCaptionCalvoroMessage, MessageIcon::Information);
    return;
  }
  OpenHelpFile(path, sink, context);
}

}  // namespace calvoro::ui
