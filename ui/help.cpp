#include "ui/help.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "ui/qt_text.h"

namespace calvoro::ui {

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

void OpenHelp(MessageSink& sink) {
  const QString folder = QCoreApplication::applicationDirPath();
  const QString path = HelpFile(folder);
  if (path.isEmpty()) {
    sink.MessageBox("The help file calvoro.chm cannot be found in the folder " + FromQt(folder) + ".",
                    kCaptionCalvoroMessage, MessageIcon::Information);
    return;
  }
  if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
    sink.MessageBox("The help file " + FromQt(path) + " could not be opened.",
                    kCaptionCalvoroMessage, MessageIcon::Information);
  }
}

}  // namespace calvoro::ui
