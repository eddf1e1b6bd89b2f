// tidemere-render --icon N FILE.png: the application icon painted by the
// program's own figure at N x N pixels, transparent outside the badge.
#include <QImage>
#include <cstdio>
#include <cstdlib>

#include "draw/icons.h"
#include "draw/qt/qt_graphics.h"
#include "output_file.h"

// Renders the application icon at n pixels; a null image for sizes outside 1..4096.
QImage RenderAppIcon(int n) {
  if (n < 1 || n > 4096) return QImage();
  QImage image = draw::MakeQtImage(n, n);
  {
    draw::Graphics g = draw::MakeQtGraphics(image);
    draw::DrawAppIconFigure(g, n);
  }
  return image;
}

int RunIconMode(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: tidemere-render --icon N FILE.png\n");
    return 2;
  }
  char* end = nullptr;
  const long n = std::strtol(argv[0], &end, 10);
  const bool digits = argv[0][0] >= '0' && argv[0][0] <= '9';  // no sign or leading space
  if (!digits || *end != '\0' || n < 1 || n > 4096) {
    std::fprintf(stderr, "tidemere-render: icon size must be a whole number from 1 to 4096, got '%s'\n",
                 argv[0]);
    return 2;
  }
  const QImage icon = RenderAppIcon(int(n));
  std::string error;
  if (!WritePng(icon, argv[1], error)) {
    std::fprintf(stderr, "tidemere-render: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
