#include "draw/icons.h"
#include "draw/qt/qt_graphics.h"
#include "ui/ui.h"

QImage AppIconImage(int size) {
  QImage image = draw::MakeQtImage(size, size);
  draw::Graphics g = draw::MakeQtGraphics(image);
  draw::DrawAppIconFigure(g, size);
  return image;
}

QIcon AppIcon() {
  QIcon icon;
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) icon.addPixmap(QPixmap::fromImage(AppIconImage(size)));
  return icon;
}
