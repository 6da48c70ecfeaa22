// calvoro: the desktop calculator. Opens the calculator window of the stored
// style; the process ends when it closes.
#include <QApplication>
#include <QDirIterator>
#include <QIcon>
#include <QMessageBox>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "app/safe_file.h"
#include "app/startup.h"
#include "ui/calculator_window.h"
#include "ui/complex_window.h"
#include "ui/conversion_window.h"
#include "ui/shell_window.h"

namespace {

// The application's icon: the sizes of the hicolor theme, embedded.
QIcon ApplicationIcon() {
  QIcon icon;
  QDirIterator png(QStringLiteral(":/icons"), {QStringLiteral("*.png")}, QDir::Files,
                   QDirIterator::Subdirectories);
  while (png.hasNext()) icon.addFile(png.next());
  return icon;
}

constexpr const char* kNoMemoryText =
    "Calvoro needs more memory than the computer has and has to end. The settings file keeps "
    "what was saved last.";

// Running out of memory ends the program with a message and status 1, never
// an abort: an exception must not pass through Qt's event loop.
[[noreturn]] void EndForLackOfMemory() {
  calvoro::RemoveOpenTemporaries();
  std::fprintf(stderr, "calvoro: %s\n", kNoMemoryText);
  try {
    QMessageBox::critical(nullptr, QStringLiteral("Calvoro"), QString::fromUtf8(kNoMemoryText));
  } catch (...) {
  }
  std::_Exit(1);
}

class Application : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const std::bad_alloc&) {
      EndForLackOfMemory();
    }
  }
};

// The window's own record is marked as a fresh start before it initialises,
// and the window shows the application's icon instead of the one it draws.
// The window runs in the application's loop rather than a modal loop of its
// own, which hiding it (to the tray) would end; closing it ends the program.
template <typename Window>
int Run(Window& window) {
  calvoro::MarkFreshStart(window.data());
  window.setWindowIcon(QApplication::windowIcon());
  window.Initialise();
  QApplication::setQuitOnLastWindowClosed(false);
  QObject::connect(&window, &QDialog::finished, qApp, &QCoreApplication::quit);
  window.show();
  window.activateWindow();
  QApplication::exec();
  return 0;
}

}  // namespace

int Main(int argc, char** argv) {
  using namespace calvoro;
  // A save beyond the file size limit fails with an error the window
  // reports, instead of SIGXFSZ ending the program.
  std::signal(SIGXFSZ, SIG_IGN);
  Application app(argc, argv);
  QCoreApplication::setOrganizationName(QStringLiteral("Wrenfield Software Development Lab."));
  QCoreApplication::setApplicationName(QStringLiteral("Calvoro"));
  // The desktop entry and the icon the desktop shows for the window.
  QGuiApplication::setDesktopFileName(QStringLiteral(CALVORO_APP_ID));
  QApplication::setWindowIcon(ApplicationIcon());

  const std::string folder = SettingsFolder(ProgramFolder());
  const std::string path = folder + std::string(kSysDataFileName);
  switch (ChooseStartWindow(path)) {
    case WindowStyle::None:
      return 0;
    case WindowStyle::Mini: {
      ui::MiniWindow window(path);
      return Run(window);
    }
    case WindowStyle::Conversion: {
      ui::ConversionWindow window(path);
      return Run(window);
    }
    case WindowStyle::Complex: {
      ui::ComplexWindow window(path);
      return Run(window);
    }
    case WindowStyle::Standard:
      break;
  }
  ui::StandardWindow window(path);
  return Run(window);
}

int main(int argc, char** argv) {
  try {
    return Main(argc, argv);
  } catch (const std::bad_alloc&) {
    EndForLackOfMemory();
  }
}
