#include "draw/static_layer.h"

#include <algorithm>
#include <new>

#include "draw/raster_blend.h"
#include "draw/toolkit_objects.h"

namespace draw {

bool RecordStaticLayer(StaticLayer& layer, int width, int height,
                       const std::function<void(Graphics&)>& drawing) {
  layer = StaticLayer{};
  if (width <= 0 || height <= 0) return false;
  std::vector<uint32_t> pixels;
  try {
    pixels.assign(size_t(width) * size_t(height), 0);
  } catch (const std::bad_alloc&) {
    return false;  // the frame is then drawn without the layer kept
  }
  {
    Graphics g = MakeRasterGraphics({pixels.data(), width, height, width});
    drawing(g);
  }
  layer.width = width;
  layer.height = height;
  layer.rowStarts.reserve(size_t(height) + 1);
  for (int y = 0; y < height; ++y) {
    layer.rowStarts.push_back(int(layer.runs.size()));
    const uint32_t* row = pixels.data() + size_t(y) * size_t(width);
    for (int x = 0; x < width;) {
      int end = x + 1;
      while (end < width && row[end] == row[x]) ++end;
      if (row[x] != 0) layer.runs.push_back({x, end - x, row[x]});
      x = end;
    }
  }
  layer.rowStarts.push_back(int(layer.runs.size()));
  return true;
}

int DrawStaticLayer(Graphics& g, const StaticLayer& layer) {
  PixelBuffer target;
  if (!AccessPixels(g, target)) return RecordStatus(g, kStatusInvalidParameter);
  const int rows = std::min(layer.height, target.height);
  for (int y = 0; y < rows; ++y) {
    uint32_t* row = target.pixels + ptrdiff_t(y) * target.stride;
    for (int i = layer.rowStarts[size_t(y)]; i < layer.rowStarts[size_t(y) + 1]; ++i) {
      const StaticLayer::Run& run = layer.runs[size_t(i)];
      const int end = std::min(run.x + run.length, target.width);
      if (end > run.x) BlendPremultiplied(row + run.x, end - run.x, run.color);
    }
  }
  return kStatusOk;
}

}  // namespace draw
