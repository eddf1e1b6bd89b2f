// A picture that stays the same from frame to frame, drawn once and kept as
// runs of one premultiplied colour per row; putting it over a frame costs a
// fill where the runs are opaque, not the fills it was drawn with.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "draw/toolkit.h"

namespace draw {

struct StaticLayer {
  struct Run {
    int x;
    int length;
    uint32_t color;  // premultiplied 0xAARRGGBB
  };
  int width = 0;
  int height = 0;
  std::vector<Run> runs;       // row by row, left to right; transparent pixels have none
  std::vector<int> rowStarts;  // row y's runs are runs[rowStarts[y]] .. runs[rowStarts[y + 1]]
};

// Draws `drawing` with the toolkit's rasteriser over a transparent width x height
// buffer and keeps the result in `layer`. False (and an empty layer) when the
// size is not positive or the buffer cannot be had.
bool RecordStaticLayer(StaticLayer& layer, int width, int height,
                       const std::function<void(Graphics&)>& drawing);

// Puts the layer over the pixels `g` draws into (AccessPixels), source-over,
// as if its drawing were done there: the same pixels, to within a rounding
// step where its edges are translucent. Returns the status of the call.
int DrawStaticLayer(Graphics& g, const StaticLayer& layer);

}  // namespace draw
