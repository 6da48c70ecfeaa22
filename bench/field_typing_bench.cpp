// How fast the calculator window's field answers keys when it holds a result
// of a million digits: 1/3 at precision 1,000,000, then an operator that goes
// on from the result, digits, Backspace, Copy. Each key is timed with the
// field repainted. Run it on a real X server (xvfb-run -a) or offscreen.
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

#include "ui/calculator_window.h"

using calvoro::ui::StandardWindow;

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  QApplication app(argc, argv);
  QTemporaryDir dir;
  StandardWindow window((dir.path() + QStringLiteral("/SysData.dat")).toStdString());
  window.model().data().precision = argc > 1 ? std::atoi(argv[1]) : 1000000;
  window.show();
  app.processEvents();
  const auto timed = [&](const char* what, const std::function<void()>& key) {
    QElapsedTimer timer;
    timer.start();
    key();
    window.input()->repaint();
    app.processEvents();
    std::printf("%-28s %8.1f ms  (field %lld characters)\n", what,
                static_cast<double>(timer.nsecsElapsed()) / 1e6,
                static_cast<long long>(window.model().field().text.size()));
  };
  for (char c : {'1', '/', '3'}) window.TypeChar(c);
  timed("Calc 1/3", [&] { window.OnCalc(); });
  timed("Enter on the result", [&] { window.OnCalc(); });
  timed("* (goes on from it)", [&] { window.TypeChar('*'); });
  timed("3", [&] { window.TypeChar('3'); });
  timed("+", [&] { window.TypeChar('+'); });
  timed("1", [&] { window.TypeChar('1'); });
  timed("Backspace", [&] { window.OnBackspace(); });
  timed("2", [&] { window.TypeChar('2'); });
  timed("Copy", [&] { window.OnCopy(); });
  return 0;
}
