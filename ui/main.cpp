// calvoro: the desktop calculator. Opens the calculator window of the stored
// style; the process ends when it closes.
#include <QApplication>

#include "app/startup.h"
#include "ui/calc_shell.h"
#include "ui/complex_expr_dlg.h"
#include "ui/conv_expr_dlg.h"
#include "ui/expr_dlg.h"

namespace {

// The window's own record is marked as a fresh start before it initialises.
// The window runs in the application's loop rather than a modal loop of its
// own, which hiding it (to the tray) would end; closing it ends the program.
template <typename Window>
int Run(Window& window, calvoro::CSysData& record) {
  calvoro::MarkFreshStart(record);
  window.Initialise();
  QApplication::setQuitOnLastWindowClosed(false);
  QObject::connect(&window, &QDialog::finished, qApp, &QCoreApplication::quit);
  window.show();
  window.activateWindow();
  QApplication::exec();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace calvoro;
  QApplication app(argc, argv);
  QCoreApplication::setOrganizationName(QStringLiteral("Wrenfield Software Development Lab."));
  QCoreApplication::setApplicationName(QStringLiteral("Calvoro"));
  QApplication::setWindowIcon(ui::CalvoroIcon());

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
