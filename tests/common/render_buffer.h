// A rendered picture as the tests see it: 32-bit pixels, rows top-down, each
// 0xAARRGGBB with premultiplied colour (the byte order of a 32-bit DIB and of
// QImage::Format_ARGB32_Premultiplied).
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "draw/toolkit.h"

struct RenderBuffer {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;

  uint32_t At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

// Makes a width x height surface, hands its graphics to `drawing` and returns
// the pixels. Each backend's tests supply one.
using DrawFn = std::function<void(draw::Graphics&)>;
using RenderFn = std::function<RenderBuffer(int width, int height, const DrawFn& drawing)>;

// "#AARRGGBB" for failure messages.
inline std::string ColorText(uint32_t argb) {
  char text[16];
  std::snprintf(text, sizeof text, "#%08X", unsigned(argb));
  return text;
}
