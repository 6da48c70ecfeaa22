// A small helper of the real-display tests, run on the test's X server:
//   x11_probe root                      paints the root window in the root
//       colour, a teal no window uses (neither black, which the transparent
//       pixels of a window show on an X server without a compositor, nor
//       any colour of the skin), so that a cut corner is told from one that
//       is only transparent;
//   x11_probe shot FILE X Y W H [cut] [clear]   grabs the screen rectangle
//       into FILE (PNG) and checks that at least 95% of it is the window's
//       own pixels, not the root colour, and with `cut` that its four
//       corner pixels show the root colour (the outline is cut); `clear`
//       saves the root colour transparent (for the README's picture); prints
//       the figures and exits 1 when a check fails;
//       `colour=RRGGBB` also counts that colour's pixels and fails without one;
//   x11_probe clip                      prints the clipboard's text;
//   x11_probe window TITLE              shows a plain window until it is ended.
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QRasterWindow>
#include <QScreen>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr QRgb kRoot = qRgb(0, 128, 128);

bool IsRoot(const QImage& image, int x, int y) {
  return (image.pixel(x, y) & 0xFFFFFF) == (kRoot & 0xFFFFFF);
}

int Shot(const QStringList& args) {
  if (args.size() < 7) return 2;
  const int x = args[3].toInt(), y = args[4].toInt(), w = args[5].toInt(), h = args[6].toInt();
  const bool cut = args.mid(7).contains(QLatin1String("cut"));
  const bool clear = args.mid(7).contains(QLatin1String("clear"));
  QRgb wanted = 0;
  bool counting = false;
  for (const QString& arg : args.mid(7)) {
    if (arg.startsWith(QLatin1String("colour="))) {
      counting = true;
      wanted = arg.mid(7).toUInt(nullptr, 16);
    }
  }
  if (w <= 0 || h <= 0) return 2;
  const QImage image = QGuiApplication::primaryScreen()->grabWindow(0, x, y, w, h).toImage();
  if (image.size() != QSize(w, h)) return 2;
  QImage saved = image.convertToFormat(QImage::Format_ARGB32);
  if (clear) {
    // The root colour reached from the edges (the cut outline), not black
    // pixels inside the window.
    std::vector<QPoint> todo;
    for (int column = 0; column < w; ++column)
      todo.insert(todo.end(), {QPoint(column, 0), QPoint(column, h - 1)});
    for (int row = 0; row < h; ++row) todo.insert(todo.end(), {QPoint(0, row), QPoint(w - 1, row)});
    while (!todo.empty()) {
      const QPoint p = todo.back();
      todo.pop_back();
      if (p.x() < 0 || p.y() < 0 || p.x() >= w || p.y() >= h || qAlpha(saved.pixel(p)) == 0 ||
          !IsRoot(image, p.x(), p.y()))
        continue;
      saved.setPixel(p, qRgba(0, 0, 0, 0));
      todo.insert(todo.end(),
                  {p + QPoint(1, 0), p - QPoint(1, 0), p + QPoint(0, 1), p - QPoint(0, 1)});
    }
  }
  if (!saved.save(args[2])) return 2;
  long own = 0;
  for (int row = 0; row < h; ++row)
    for (int column = 0; column < w; ++column) own += IsRoot(image, column, row) ? 0 : 1;
  const double coverage = static_cast<double>(own) / (static_cast<double>(w) * h);
  int corners = 0;
  for (const QPoint corner :
       {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1), QPoint(w - 1, h - 1)})
    corners += IsRoot(image, corner.x(), corner.y()) ? 1 : 0;
  long matching = 0;
  for (int row = 0; counting && row < h; ++row)
    for (int column = 0; column < w; ++column)
      matching += (image.pixel(column, row) & 0xFFFFFF) == wanted ? 1 : 0;
  std::printf("coverage=%.4f cut_corners=%d", coverage, corners);
  if (counting) std::printf(" colour_pixels=%ld", matching);
  std::printf("\n");
  return coverage >= 0.95 && (!cut || corners == 4) && (!counting || matching > 0) ? 0 : 1;
}

int PaintRoot() {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
  if (!connection) return 2;
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
  const std::uint32_t pixel = kRoot & 0xFFFFFF;
  xcb_change_window_attributes(connection, root, XCB_CW_BACK_PIXEL, &pixel);
  xcb_clear_area(connection, 0, root, 0, 0, 0, 0);
  xcb_flush(connection);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() >= 2 && args[1] == QLatin1String("shot")) return Shot(args);
  if (args.size() == 2 && args[1] == QLatin1String("clip")) {
    std::fputs(QGuiApplication::clipboard()->text().toUtf8().constData(), stdout);
    return 0;
  }
  if (args.size() == 2 && args[1] == QLatin1String("root")) return PaintRoot();
  if (args.size() == 3 && args[1] == QLatin1String("window")) {
    QRasterWindow window;
    window.setTitle(args[2]);
    window.resize(400, 300);
    window.show();
    return app.exec();
  }
  std::fprintf(stderr,
               "usage: x11_probe root | shot FILE X Y W H [cut] [clear] [colour=RRGGBB] | clip | "
               "window TITLE\n");
  return 2;
}
