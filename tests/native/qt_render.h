// Renders through the Qt backend into a RenderBuffer.
#pragma once

#include <cstring>

#include "common/render_buffer.h"
#include "draw/qt/qt_graphics.h"

inline RenderBuffer ToRenderBuffer(const QImage& image) {
  RenderBuffer buffer;
  buffer.width = image.width();
  buffer.height = image.height();
  buffer.pixels.resize(size_t(buffer.width) * size_t(buffer.height));
  for (int y = 0; y < buffer.height; ++y) {
    std::memcpy(&buffer.pixels[size_t(y) * size_t(buffer.width)], image.constScanLine(y),
                size_t(buffer.width) * 4);
  }
  return buffer;
}

inline RenderBuffer RenderWithQt(int width, int height, const DrawFn& drawing) {
  QImage image = draw::MakeQtImage(width, height);
  {
    draw::Graphics g = draw::MakeQtGraphics(image);
    drawing(g);
  }
  return ToRenderBuffer(image);
}
