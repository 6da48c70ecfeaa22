// A small helper of the real-display tests, run on the test's X server:
//   x11_probe shot FILE X Y W H [cut]   grabs the screen rectangle into FILE
//       (PNG) and checks that at least 95% of it is the window's own pixels,
//       not the root colour (black), and with `cut` that its four corner
//       pixels show the root colour (the outline is cut); prints the figures
//       and exits 1 when a check fails;
//   x11_probe window TITLE              shows a plain window until it is ended.
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QRasterWindow>
#include <QScreen>
#include <cstdio>

namespace {

constexpr QRgb kRoot = qRgb(0, 0, 0);

bool IsRoot(const QImage& image, int x, int y) { return (image.pixel(x, y) & 0xFFFFFF) == (kRoot & 0xFFFFFF); }

int Shot(const QStringList& args) {
  if (args.size() < 7) return 2;
  const int x = args[3].toInt(), y = args[4].toInt(), w = args[5].toInt(), h = args[6].toInt();
  const bool cut = args.size() > 7 && args[7] == QLatin1String("cut");
  if (w <= 0 || h <= 0) return 2;
  const QImage image = QGuiApplication::primaryScreen()->grabWindow(0, x, y, w, h).toImage();
  if (image.size() != QSize(w, h) || !image.save(args[2])) return 2;
  long own = 0;
  for (int row = 0; row < h; ++row)
    for (int column = 0; column < w; ++column) own += IsRoot(image, column, row) ? 0 : 1;
  const double coverage = static_cast<double>(own) / (static_cast<double>(w) * h);
  int corners = 0;
  for (const QPoint corner : {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1), QPoint(w - 1, h - 1)})
    corners += IsRoot(image, corner.x(), corner.y()) ? 1 : 0;
  std::printf("coverage=%.4f cut_corners=%d\n", coverage, corners);
  return coverage >= 0.95 && (!cut || corners == 4) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() >= 2 && args[1] == QLatin1String("shot")) return Shot(args);
  if (args.size() == 3 && args[1] == QLatin1String("window")) {
    QRasterWindow window;
    window.setTitle(args[2]);
    window.resize(400, 300);
    window.show();
    return app.exec();
  }
  std::fprintf(stderr, "usage: x11_probe shot FILE X Y W H [cut] | window TITLE\n");
  return 2;
}
