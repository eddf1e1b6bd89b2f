// Blending: the paints (a solid colour, or a tiled two-point gradient read
// from a ramp) put source-over into a 32-bit premultiplied buffer, span by
// span as the scan converter (raster_scan) hands them over, each pixel's
// coverage multiplied by a clip mask's where there is one; and clearing.
// SSE2 where the compiler has it, the same bytes without it.
#pragma once

#include <cstdint>
#include <vector>

#include "draw/raster_direct.h"
#include "draw/raster_scan.h"
#include "draw/toolkit.h"

namespace draw {

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

// Memory a fill reuses from one call to the next: the scan converter's, and
// a gradient's ramp.
struct SpanScratch : ScanScratch {
  std::vector<uint32_t> ramp;
};

// Fills the contours with `paint` over `target`, each pixel's coverage
// multiplied by the clip's where there is one.
void FillContours(const PixelBuffer& target, const Contours& contours, FillRule rule, const Paint& paint,
                  const CoverageMask* clip, SpanScratch& scratch);

// Fills or strokes (as `ellipse` says) an ellipse with `paint`, as
// FillContours does its polygon.
void PaintEllipse(const PixelBuffer& target, const PixelEllipse& ellipse, const Paint& paint,
                  const CoverageMask* clip, SpanScratch& scratch);

// Strokes a line with flat ends with `paint`, as FillContours does its polygon.
void PaintSegment(const PixelBuffer& target, const PixelSegment& segment, const Paint& paint,
                  const CoverageMask* clip, SpanScratch& scratch);

// Sets every pixel to `color` (straight ARGB, alpha included); with a clip,
// each pixel moves toward it by the clip's coverage.
void ClearPixels(const PixelBuffer& target, Color color, const CoverageMask* clip);

// x * a / 255 for each byte of x, a in 0..255, rounded as Qt's raster does;
// the blending and the compositing both round this way.
inline uint32_t ByteMul(uint32_t x, uint32_t a) {
  uint32_t t = (x & 0xFF00FFu) * a;
  t = (t + ((t >> 8) & 0xFF00FFu) + 0x800080u) >> 8;
  t &= 0xFF00FFu;
  x = ((x >> 8) & 0xFF00FFu) * a;
  x = x + ((x >> 8) & 0xFF00FFu) + 0x800080u;
  x &= 0xFF00FF00u;
  return x | t;
}

// One premultiplied colour over n pixels, source-over.
void BlendPremultiplied(uint32_t* pixels, int n, uint32_t color);

// Premultiplied form of a straight ARGB colour.
uint32_t Premultiply(Color color);

}  // namespace draw
