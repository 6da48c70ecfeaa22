// calvoro: the desktop calculator. Opens the calculator window of the stored
// style, modally; the process ends when it closes.
#include <QApplication>
#include <QDirIterator>
#include <QIcon>

#include "app/startup.h"
#include "ui/calc_shell.h"
#include "ui/complex_expr_dlg.h"
#include "ui/conv_expr_dlg.h"
#include "ui/expr_dlg.h"

namespace {

// The application's icon: the sizes of the hicolor theme, embedded.
QIcon ApplicationIcon() {
  QIcon icon;
  QDirIterator png(QStringLiteral(":/icons"), {QStringLiteral("*.png")}, QDir::Files,
                   QDirIterator::Subdirectories);
  while (png.hasNext()) icon.addFile(png.next());
  return icon;
}

// The window's own record is marked as a fresh start before it initialises;
// the window shows the application's icon instead of the one it draws.
template <typename Window>
int Run(Window& window, calvoro::CSysData& record) {
  calvoro::MarkFreshStart(record);
  window.setWindowIcon(QApplication::windowIcon());
  window.Initialise();
  window.exec();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace calvoro;
  QApplication app(argc, argv);
  QCoreApplication::setOrganizationName(QStringLiteral("Wrenfield Software Development Lab."));
  QCoreApplication::setApplicationName(QStringLiteral("Calvoro"));
  // The desktop entry and the icon the desktop shows for the window.
  QGuiApplication::setDesktopFileName(QStringLiteral(CALVORO_APP_ID));
  QApplication::setWindowIcon(ApplicationIcon());

  const std::string folder = SettingsFolder(ProgramFolder());
  const std::string path = folder + std::string(kSysDataFileName);
  switch (ChooseStartWindow(path)) {
    case StartWindow::None:
      return 0;
    case StartWindow::Mini: {
      ui::CMiniExprDlg window(path);
      return Run(window, window.model().data());
    }
    case StartWindow::Unit: {
      ui::CConvExprDlg window(path);
      return Run(window, window.data());
    }
    case StartWindow::Complex: {
      ui::CComplexExprDlg window(path);
      return Run(window, window.data());
    }
    default: {
      ui::CStandardExprDlg window(path);
      return Run(window, window.model().data());
    }
  }
}
