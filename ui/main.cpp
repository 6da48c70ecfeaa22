// calvoro: the desktop calculator. Opens the calculator window of the stored
// style, modally; the process ends when it closes.
#include <QApplication>
#include <memory>

#include "app/startup.h"
#include "ui/calc_shell.h"
#include "ui/complex_expr_dlg.h"
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
    case StartWindow::Complex: {
      ui::CComplexExprDlg complex(path);
      MarkFreshStart(complex.data());
      complex.Initialise();
      complex.exec();
      return 0;
    }
    // The conversion style opens the standard window until its window exists.
    default:
      window = std::make_unique<ui::CStandardExprDlg>(path);
      break;
  }
  MarkFreshStart(window->model().data());
  window->Initialise();
  window->exec();
  return 0;
}
