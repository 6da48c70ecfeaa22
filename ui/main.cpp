// calvoro: the desktop calculator. Opens the calculator window of the stored
// style, modally; the process ends when it closes.
#include <QApplication>
#include <memory>

#include "app/startup.h"
#include "ui/calc_shell.h"
#include "ui/expr_dlg.h"
#include "ui/qt_text.h"

int main(int argc, char** argv) {
  using namespace calvoro;
  QApplication app(argc, argv);
  QCoreApplication::setOrganizationName(QStringLiteral("Wrenfield Software Development Lab."));
  QCoreApplication::setApplicationName(QStringLiteral("Calvoro"));
  QApplication::setWindowIcon(ui::CalvoroIcon());

  const std::string folder = SettingsFolder(ProgramFolder());
  const std::string path = folder + std::string(kSysDataFileName);
  std::unique_ptr<ui::CExprDlg> window;
  switch (ChooseStartWindow(path)) {
    case StartWindow::None:
      return 0;
    case StartWindow::Mini:
      window = std::make_unique<ui::CMiniExprDlg>(path);
      break;
    // The conversion and complex styles open the standard window until their
    // windows exist.
    default:
      window = std::make_unique<ui::CStandardExprDlg>(path);
      break;
  }
  MarkFreshStart(window->model().data());
  window->Initialise();
  window->exec();
  return 0;
}
