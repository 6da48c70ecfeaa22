// A helper of the Wayland tests: reads a screenshot of the whole output
// (grim), saves the rectangle of one window from it and checks it:
//   wayland_shot SCREEN.png X Y W H OUT.png
// The backdrop is the colour of the output's bottom-right pixel, where no
// window lies. At least 95% of the rectangle must be the window's own pixels
// (not the backdrop), and its four corner pixels must show the backdrop: the
// cut outline is transparent, neither black nor the grey-pink RGB(219, 215,
// 217) that a window drawn without alpha would show there. Prints the
// figures; exits 1 when a check fails, 2 on a usage or file error.
#include <QImage>
#include <QPoint>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 7) {
    std::fprintf(stderr, "usage: wayland_shot SCREEN.png X Y W H OUT.png\n");
    return 2;
  }
  const QImage screen(QString::fromLocal8Bit(argv[1]));
  const int x = std::atoi(argv[2]), y = std::atoi(argv[3]), w = std::atoi(argv[4]),
            h = std::atoi(argv[5]);
  if (screen.isNull() || w <= 0 || h <= 0 || !screen.rect().contains(QRect(x, y, w, h))) return 2;
  const QImage window = screen.copy(x, y, w, h).convertToFormat(QImage::Format_RGB32);
  if (!window.save(QString::fromLocal8Bit(argv[6]))) return 2;
  const QRgb backdrop = screen.pixel(screen.width() - 1, screen.height() - 1) & 0xFFFFFF;
  const auto colour = [](QRgb pixel) { return pixel & 0xFFFFFF; };
  long own = 0;
  for (int row = 0; row < h; ++row)
    for (int column = 0; column < w; ++column) own += colour(window.pixel(column, row)) != backdrop;
  const double coverage = static_cast<double>(own) / (static_cast<double>(w) * h);
  int corners = 0;
  for (const QPoint corner :
       {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1), QPoint(w - 1, h - 1)})
    corners += colour(window.pixel(corner)) == backdrop;
  const bool plainBackdrop = backdrop != 0 && backdrop != (qRgb(219, 215, 217) & 0xFFFFFF);
  std::printf("coverage=%.4f transparent_corners=%d backdrop=#%06x\n", coverage, corners,
              static_cast<unsigned>(backdrop));
  return coverage >= 0.95 && corners == 4 && plainBackdrop ? 0 : 1;
}
