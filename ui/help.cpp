#include "ui/help.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "ui/qt_text.h"

namespace calvoro::ui {

QString HelpFile(const QString& folder) {
  for (std::string_view name : {kHelpFileName, kHelpPageName}) {
    const QString path = QDir(folder).filePath(ToQt(name));
    if (QFileInfo(path).isFile()) return path;
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
