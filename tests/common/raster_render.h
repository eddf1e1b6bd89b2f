// Renders through the toolkit's own rasteriser into a RenderBuffer.
#pragma once

#include "common/render_buffer.h"

// A width x height buffer cleared to transparent black, drawn by `drawing` on a
// raster graphics.
inline RenderBuffer RenderWithRaster(int width, int height, const DrawFn& drawing) {
  RenderBuffer buffer{width, height, std::vector<uint32_t>(size_t(width) * size_t(height), 0)};
  draw::Graphics g = draw::MakeRasterGraphics({buffer.pixels.data(), width, height, width});
  drawing(g);
  return buffer;
}
