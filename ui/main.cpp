// calvoro: the desktop calculator. Opens the calculator window of the stored
// style; the process ends when it closes.
#include <QApplication>
#include <QDirIterator>
#include <QIcon>
#include <QMessageBox>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <optional>

#include "app/safe_file.h"
#include "app/startup.h"
#include "ui/calculator_window.h"
#include "ui/complex_window.h"
#include "ui/conversion_window.h"
#include "ui/display_check.h"
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

constexpr const char* kHelpText =
    "Usage: calvoro [--help | --version]\n"
    "Calvoro, the desktop expression calculator with exact results: opens the\n"
    "calculator window in the style chosen last. calvoro-cli calculates in a terminal.\n"
    "\n"
    "  -h, --help     print this help and exit\n"
    "  -V, --version  print the version and exit\n";

// --help and --version answer without a display. Returns the exit status
// when the program is to end here.
std::optional<int> AnswerOptions(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
      std::fputs(kHelpText, stdout);
      return 0;
    }
    if (!std::strcmp(argv[i], "--version") || !std::strcmp(argv[i], "-V")) {
      std::printf("calvoro %s\n", CALVORO_VERSION);
      return 0;
    }
  }
  return std::nullopt;
}

// Names the platform Qt is to load, or says in one line why there is none
// (Qt itself would abort). A platform given with -platform is Qt's affair.
bool ChoosePlatform(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (!std::strcmp(argv[i], "-platform")) return true;
  const calvoro::ui::DisplayChoice choice =
      calvoro::ui::ChooseDisplay(calvoro::ui::ProbeDisplayEnvironment());
  if (choice.platform.empty()) {
    std::fprintf(stderr, "%s\n", choice.message.c_str());
    return false;
  }
  if (!choice.notice.empty()) std::fprintf(stderr, "%s\n", choice.notice.c_str());
  qputenv("QT_QPA_PLATFORM", QByteArray::fromStdString(choice.platform));
  return true;
}

}  // namespace

int Main(int argc, char** argv) {
  using namespace calvoro;
  // A save beyond the file size limit fails with an error the window
  // reports, instead of SIGXFSZ ending the program.
  std::signal(SIGXFSZ, SIG_IGN);
  if (const std::optional<int> status = AnswerOptions(argc, argv)) return *status;
  if (!ChoosePlatform(argc, argv)) return 1;
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
    const int status = Main(argc, argv);
    // A stopped calculation may still run: end without the statics'
    // destructors, which it may still use (the settings are saved).
    if (calvoro::CalculationRunner::WorksRunning() > 0) {
      std::fflush(nullptr);
      std::_Exit(status);
    }
    return status;
  } catch (const std::bad_alloc&) {
    EndForLackOfMemory();
  }
}
