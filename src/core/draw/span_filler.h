// Anti-aliased filling straight into a 32-bit buffer: closed polygons
// scan-converted with exact area coverage (each pixel's coverage is the share
// of its square inside the shape), painted source-over with a solid colour
// or a tiled two-point linear gradient. Portable; the same bytes on every
// platform.
#pragma once

#include <cstdint>
#include <vector>

#include "draw/toolkit.h"

namespace draw {

// Closed polygons in pixel space, where pixel (x, y) is the square
// [x, x + 1) x [y, y + 1). Contour k runs over points [ends[k-1], ends[k]).
struct Contours {
  std::vector<PointF> points;
  std::vector<int> ends;

  void Clear() {
    points.clear();
    ends.clear();
  }
  // Ends the contour of the points added since the last Close.
  void Close() {
    if (ends.empty() ? !points.empty() : int(points.size()) > ends.back()) ends.push_back(int(points.size()));
  }
};

enum class FillRule { kEvenOdd, kNonZero };

// What a fill paints: a solid colour, or a gradient at position
// t = tx * x + ty * y + t0 along its ramp at the pixel centre (x + 0.5,
// y + 0.5), c1 at every whole t, then running to c2 as t nears the next (the
// ramp repeats). Colours are straight ARGB; the channels are interpolated
// unpremultiplied.
struct Paint {
  bool gradient = false;
  Color c1 = 0;
  Color c2 = 0;
  float tx = 0;
  float ty = 0;
  float t0 = 0;
};

// Coverage 0..255 of the pixels of a rectangle; nothing outside it is covered.
struct CoverageMask {
  int x0 = 0;
  int y0 = 0;
  int width = 0;
  int height = 0;
  std::vector<uint8_t> alpha;  // rows top-down
};

// Memory the filler reuses from one call to the next.
struct SpanScratch {
  struct Edge {
    float x0, y0, x1, y1;  // y0 < y1
    float dxdy;
    float winding;  // +1 or -1
  };
  std::vector<Edge> edges;
  std::vector<int> active;
  std::vector<float> cells;       // per column of a row: change of coverage
  std::vector<uint64_t> touched;  // per column of a row: one bit, set when an edge added to its cell
  std::vector<uint8_t> coverage;  // a row's coverage near its edges
  std::vector<uint32_t> ramp;
};

// Fills the contours with `paint` over `target`, each pixel's coverage
// multiplied by the clip's where there is one.
void FillContours(const PixelBuffer& target, const Contours& contours, FillRule rule, const Paint& paint,
                  const CoverageMask* clip, SpanScratch& scratch);

// The coverage of the contours within a width x height buffer.
void MaskContours(int width, int height, const Contours& contours, FillRule rule, CoverageMask& mask,
                  SpanScratch& scratch);

// Sets every pixel to `color` (straight ARGB, alpha included); with a clip,
// each pixel moves toward it by the clip's coverage.
void ClearPixels(const PixelBuffer& target, Color color, const CoverageMask* clip);

// One premultiplied colour over n pixels, source-over.
void BlendPremultiplied(uint32_t* pixels, int n, uint32_t color);

// Premultiplied form of a straight ARGB colour.
uint32_t Premultiply(Color color);

}  // namespace draw
