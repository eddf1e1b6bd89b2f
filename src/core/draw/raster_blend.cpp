#include "draw/raster_blend.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace draw {

namespace {

constexpr int kRampSteps = 1024;

inline uint32_t Div255(uint32_t v) {
  return (v + (v >> 8) + 0x80) >> 8;
}

inline uint32_t SourceOver(uint32_t dst, uint32_t src) {
  return src + ByteMul(dst, 255 - (src >> 24));
}

#if defined(__SSE2__)
// Four pixels at a time: each channel widened to a 16-bit lane, two pixels to
// a register (lo: pixels 0 and 1, hi: pixels 2 and 3).
inline __m128i LanesLo(__m128i pixels) {
  return _mm_unpacklo_epi8(pixels, _mm_setzero_si128());
}
inline __m128i LanesHi(__m128i pixels) {
  return _mm_unpackhi_epi8(pixels, _mm_setzero_si128());
}

// x * a / 255 lane by lane, rounded as ByteMul.
inline __m128i MulLanes(__m128i x, __m128i a) {
  x = _mm_mullo_epi16(x, a);
  return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(x, _mm_srli_epi16(x, 8)), _mm_set1_epi16(0x80)), 8);
}

inline bool NoneCovered(const uint8_t* coverage) {
  uint32_t four;
  std::memcpy(&four, coverage, 4);
  return four == 0;
}

// Four coverage bytes, each repeated over its pixel's four lanes.
inline void CoverageLanes(const uint8_t* coverage, __m128i& lo, __m128i& hi) {
  uint32_t four;
  std::memcpy(&four, coverage, 4);
  __m128i cover = _mm_cvtsi32_si128(int(four));
  cover = _mm_unpacklo_epi8(cover, cover);
  cover = _mm_unpacklo_epi16(cover, cover);
  lo = LanesLo(cover);
  hi = LanesHi(cover);
}

// Four premultiplied source pixels, as lanes, over dst[0..3].
inline void OverFour(uint32_t* dst, __m128i sourceLo, __m128i sourceHi) {
  const __m128i full = _mm_set1_epi16(255);
  // Each pixel's 255 - alpha in its four lanes.
  const __m128i inverseLo =
      _mm_sub_epi16(full, _mm_shufflehi_epi16(_mm_shufflelo_epi16(sourceLo, 0xFF), 0xFF));
  const __m128i inverseHi =
      _mm_sub_epi16(full, _mm_shufflehi_epi16(_mm_shufflelo_epi16(sourceHi, 0xFF), 0xFF));
  const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst));
  const __m128i lo = _mm_add_epi16(MulLanes(LanesLo(d), inverseLo), sourceLo);
  const __m128i hi = _mm_add_epi16(MulLanes(LanesHi(d), inverseHi), sourceHi);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm_packus_epi16(lo, hi));
}
#endif

// One premultiplied colour over n pixels.
void BlendSolid(uint32_t* dst, int n, uint32_t src) {
  const uint32_t inverse = 255 - (src >> 24);
  if (inverse == 0) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i source = _mm_set1_epi32(int(src));
    for (; i + 4 <= n; i += 4) _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), source);
#endif
    for (; i < n; ++i) dst[i] = src;
    return;
  }
  if (src == 0) return;
  int i = 0;
#if defined(__SSE2__)
  const __m128i source = _mm_set1_epi32(int(src));
  for (; i + 4 <= n; i += 4) OverFour(dst + i, LanesLo(source), LanesHi(source));
#endif
  for (; i < n; ++i) dst[i] = src + ByteMul(dst[i], inverse);
}

// The premultiplied colour of a gradient at position t. The ramp is read in
// 1024 steps, each at the nearest step, as Qt's raster reads its colour table:
// a pixel at the very end of the ramp (t = 1) still takes c2.
inline uint32_t GradientColor(const Paint& paint, float t) {
  const float position = t * float(kRampSteps - 1) + 0.5f;
  if (!(std::fabs(position) < 1e9f)) return 0;  // also NaN
  int step = int(position);
  if (float(step) > position) --step;  // floor
  step &= int(kRampSteps) - 1;         // tiled: whole ramps dropped
  const float f = float(step) * (1.0f / float(kRampSteps - 1));
  auto channel = [f](Color a, Color b, int shift) {
    const float ca = float((a >> shift) & 0xFF), cb = float((b >> shift) & 0xFF);
    return uint32_t(ca + (cb - ca) * f + 0.5f);
  };
  const uint32_t alpha = channel(paint.c1, paint.c2, 24);
  if (alpha == 0) return 0;
  const uint32_t r = Div255(channel(paint.c1, paint.c2, 16) * alpha);
  const uint32_t g = Div255(channel(paint.c1, paint.c2, 8) * alpha);
  const uint32_t b = Div255(channel(paint.c1, paint.c2, 0) * alpha);
  return alpha << 24 | r << 16 | g << 8 | b;
}

// ---- painting a row ----

// A gradient's colours along one period of its ramp, premultiplied, two
// steps for each pixel the ramp is long (up to kRampSteps): each pixel reads
// the step nearest its position, off by at most a quarter pixel's change.
void MakeRamp(const Paint& paint, std::vector<uint32_t>& ramp) {
  const double length = 1 / std::sqrt(double(paint.tx) * paint.tx + double(paint.ty) * paint.ty);
  const int steps = int(std::clamp(std::ceil(2 * length) + 1, 2.0, double(kRampSteps)));
  ramp.resize(size_t(steps));
  // Each channel in 16.16 fixed point, stepping from c1 to c2.
  int32_t value[4], delta[4];
  for (int c = 0; c < 4; ++c) {
    const int from = int((paint.c1 >> (8 * c)) & 0xFF), to = int((paint.c2 >> (8 * c)) & 0xFF);
    value[c] = from << 16;
    delta[c] = int32_t(((to - from) * 65536) / (steps - 1));
  }
  for (int i = 0; i < steps; ++i) {
    uint32_t channel[4];
    for (int c = 0; c < 4; ++c) channel[c] = uint32_t((value[c] + delta[c] * i + 0x8000) >> 16);
    if (i == steps - 1) {
      for (int c = 0; c < 4; ++c) channel[c] = (paint.c2 >> (8 * c)) & 0xFF;
    }
    const uint32_t a = channel[3];
    ramp[size_t(i)] =
        a << 24 | Div255(channel[2] * a) << 16 | Div255(channel[1] * a) << 8 | Div255(channel[0] * a);
  }
}

// A position along the ramp in 32.32 fixed point: the whole periods in the
// high half, where in the period in the low half. Positions and steps wrap
// around 2^64, which keeps the low half exact.
constexpr double kFixedOne = 4294967296.0;

// Ramp entries at least this many pixels long are painted a stretch of one
// colour at a time rather than pixel by pixel.
constexpr uint64_t kStretch = 8;

inline uint32_t RampColor(const std::vector<uint32_t>& ramp, uint64_t position) {
  const uint64_t within = position & 0xFFFFFFFFu;
  return ramp[size_t((within * (ramp.size() - 1) + 0x80000000u) >> 32)];
}

// A premultiplied colour over n pixels, each covered as `coverage` says.
void BlendCoverage(uint32_t* dst, const uint8_t* coverage, int n, uint32_t src) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i source = _mm_set1_epi32(int(src));
  for (; i + 4 <= n; i += 4) {
    if (NoneCovered(coverage + i)) continue;
    __m128i coverLo, coverHi;
    CoverageLanes(coverage + i, coverLo, coverHi);
    OverFour(dst + i, MulLanes(LanesLo(source), coverLo), MulLanes(LanesHi(source), coverHi));
  }
#endif
  for (; i < n; ++i) {
    if (coverage[i] != 0) dst[i] = SourceOver(dst[i], coverage[i] == 255 ? src : ByteMul(src, coverage[i]));
  }
}

// The pixels from ramp position `within` (the low half of a position) on,
// stepping by `delta` per pixel, that read the same ramp entry as it: one at
// least, at most `n`. `last` is the ramp's last index.
inline int SameEntry(uint32_t within, int32_t delta, uint64_t last, int n) {
  const uint64_t entry = (uint64_t(within) * last + 0x80000000u) >> 32;
  uint64_t pixels = uint64_t(n);
  if (delta > 0) {
    // The highest position that still reads `entry`, then the period's end.
    const uint64_t high = std::min<uint64_t>((((entry + 1) << 32) - 0x80000001u) / last, 0xFFFFFFFFu);
    pixels = (high - within) / uint32_t(delta) + 1;
  } else if (delta < 0) {
    const uint64_t low = entry == 0 ? 0 : ((entry << 32) - 0x80000000u + last - 1) / last;
    pixels = (within - low) / (0u - uint32_t(delta)) + 1;
  }
  return int(std::min(pixels, uint64_t(n)));
}

// Calls paint(offset, count, colour) for each stretch of the n pixels from
// `position` on that reads one ramp entry: the same colours, pixel by pixel,
// as reading the ramp at each.
template <typename PaintStretch>
void ForEachRampStretch(const std::vector<uint32_t>& ramp, uint64_t position, uint64_t step, int n,
                        PaintStretch paint) {
  const uint64_t last = ramp.size() - 1;
  uint32_t within = uint32_t(position);
  const int32_t delta = int32_t(uint32_t(step));
  for (int i = 0; i < n;) {
    const int count = SameEntry(within, delta, last, n - i);
    paint(i, count, ramp[size_t((uint64_t(within) * last + 0x80000000u) >> 32)]);
    within += uint32_t(delta) * uint32_t(count);
    i += count;
  }
}

// A gradient's ramp over n pixels: pixel i takes the ramp's colour at
// `position` + i * `step`, covered by coverage[i] (or by `alpha` where there
// is no coverage array).
void BlendRamp(uint32_t* dst, int n, const std::vector<uint32_t>& ramp, uint64_t position, uint64_t step,
               const uint8_t* coverage, uint32_t alpha) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i constant = _mm_set1_epi16(short(alpha));
  for (; i + 4 <= n; i += 4, position += 4 * step) {
    if (coverage && NoneCovered(coverage + i)) continue;
    const __m128i colors =
        _mm_set_epi32(int(RampColor(ramp, position + 3 * step)), int(RampColor(ramp, position + 2 * step)),
                      int(RampColor(ramp, position + step)), int(RampColor(ramp, position)));
    __m128i sourceLo = LanesLo(colors), sourceHi = LanesHi(colors);
    if (coverage) {
      __m128i coverLo, coverHi;
      CoverageLanes(coverage + i, coverLo, coverHi);
      sourceLo = MulLanes(sourceLo, coverLo);
      sourceHi = MulLanes(sourceHi, coverHi);
    } else if (alpha != 255) {
      sourceLo = MulLanes(sourceLo, constant);
      sourceHi = MulLanes(sourceHi, constant);
    }
    OverFour(dst + i, sourceLo, sourceHi);
  }
#endif
  for (; i < n; ++i, position += step) {
    const uint32_t a = coverage ? coverage[i] : alpha;
    if (a == 0) continue;
    const uint32_t c = RampColor(ramp, position);
    dst[i] = SourceOver(dst[i], a == 255 ? c : ByteMul(c, a));
  }
}

// Paints rows with a paint, within a clip.
struct RowPainter {
  const PixelBuffer& target;
  const Paint& paint;
  const CoverageMask* clip;
  const std::vector<uint32_t>& ramp;  // for a gradient across the rows
  uint32_t solid = 0;                 // premultiplied, for a solid paint

  // Where the paint has a colour per pixel: the ramp position's step from
  // one pixel to the next, and whether each ramp entry lasts for several
  // pixels of a row, which are then painted a stretch of one colour at a time.
  bool perPixel = false;
  uint64_t step = 0;
  bool stretches = false;

  // What one row needs: its pixels, its colour where the paint has one per
  // row, and its clip.
  struct Row {
    uint32_t* pixels;
    uint32_t color;
    const uint8_t* mask;  // the clip's row, from column maskFrom
    int maskFrom, maskTo;
  };

  Row r{};
  int y = 0;

  bool BeginRow(int row) {
    y = row;
    r.pixels = target.pixels + ptrdiff_t(y) * target.stride;
    r.color = solid;
    if (paint.gradient && !perPixel) r.color = GradientColor(paint, paint.ty * (float(y) + 0.5f) + paint.t0);
    r.mask = nullptr;
    r.maskFrom = r.maskTo = 0;
    if (clip) {
      if (y < clip->y0 || y >= clip->y0 + clip->height) return false;
      r.mask = clip->alpha.data() + size_t(y - clip->y0) * size_t(clip->width);
      r.maskFrom = clip->x0;
      r.maskTo = clip->x0 + clip->width;
    }
    return true;
  }

  // Ramp position of pixel x of row y.
  uint64_t PositionAt(int x, int y) const {
    double t = double(paint.tx) * (x + 0.5) + double(paint.ty) * (y + 0.5) + paint.t0;
    t -= std::fabs(t) < 1e9 ? double(FloorToInt(t)) : std::floor(t);
    return uint64_t(t * kFixedOne);
  }

  // Pixels [x, end) of the row, pixel x covered by coverage(x), one at a time.
  template <typename CoverageOf>
  void PaintEach(int x, int end, CoverageOf coverageOf) const {
    if (r.mask) {
      x = std::max(x, r.maskFrom);
      end = std::min(end, r.maskTo);
    }
    uint64_t position = perPixel && x < end ? PositionAt(x, y) : 0;
    for (; x < end; ++x, position += step) {
      uint32_t a = coverageOf(x);
      if (r.mask) a = Div255(a * r.mask[x - r.maskFrom]);
      if (a == 0) continue;
      const uint32_t c = perPixel ? RampColor(ramp, position) : r.color;
      r.pixels[x] = SourceOver(r.pixels[x], a == 255 ? c : ByteMul(c, a));
    }
  }

  void Run(int x, int length, int alpha) const {
    const int end = x + length;
    if (r.mask) {
      PaintEach(x, end, [alpha](int) { return uint32_t(alpha); });
      return;
    }
    if (stretches) {
      uint32_t* pixels = r.pixels + x;
      ForEachRampStretch(ramp, PositionAt(x, y), step, length, [&](int i, int count, uint32_t color) {
        BlendSolid(pixels + i, count, alpha == 255 ? color : ByteMul(color, uint32_t(alpha)));
      });
      return;
    }
    if (perPixel) {
      BlendRamp(r.pixels + x, length, ramp, PositionAt(x, y), step, nullptr, uint32_t(alpha));
      return;
    }
    const uint32_t src = alpha == 255 ? r.color : ByteMul(r.color, uint32_t(alpha));
    if (length >= 8) {
      BlendSolid(r.pixels + x, length, src);
    } else if (src >> 24 == 255) {
      for (; x < end; ++x) r.pixels[x] = src;
    } else {
      for (; x < end; ++x) r.pixels[x] = SourceOver(r.pixels[x], src);
    }
  }

  void Covered(int x0, const uint8_t* coverage, int count) const {
    if (r.mask) {
      PaintEach(x0, x0 + count, [coverage, x0](int x) { return uint32_t(coverage[x - x0]); });
    } else if (stretches) {
      uint32_t* pixels = r.pixels + x0;
      ForEachRampStretch(ramp, PositionAt(x0, y), step, count, [&](int i, int n, uint32_t color) {
        BlendCoverage(pixels + i, coverage + i, n, color);
      });
    } else if (perPixel) {
      BlendRamp(r.pixels + x0, count, ramp, PositionAt(x0, y), step, coverage, 255);
    } else {
      BlendCoverage(r.pixels + x0, coverage, count, r.color);
    }
  }
};

bool Usable(const PixelBuffer& target) {
  return target.pixels && target.width > 0 && target.height > 0 && std::abs(target.stride) >= target.width;
}

}  // namespace

uint32_t Premultiply(Color c) {
  const uint32_t a = c >> 24;
  if (a == 255) return c;
  return a << 24 | Div255(((c >> 16) & 0xFF) * a) << 16 | Div255(((c >> 8) & 0xFF) * a) << 8 |
         Div255((c & 0xFF) * a);
}

void BlendPremultiplied(uint32_t* pixels, int n, uint32_t color) {
  BlendSolid(pixels, n, color);
}

namespace {

// Sets a painter up for `paint` and hands it, with the rows the clip leaves,
// to `scan`, which gives it a shape's coverage.
template <typename Scan>
void PaintRows(const PixelBuffer& target, const Paint& paint, const CoverageMask* clip, SpanScratch& scratch,
               Scan scan) {
  if (!Usable(target)) return;
  RowPainter painter{target, paint, clip, scratch.ramp, Premultiply(paint.c1)};
  // A gradient that runs straight down the screen has one colour per row.
  if (paint.gradient && paint.tx != 0) {
    MakeRamp(paint, scratch.ramp);
    painter.perPixel = true;
    // Only where within its period a pixel falls matters: the step's whole
    // periods are dropped before it becomes an integer, which would overflow
    // for a ramp shorter than 2^-31 pixel.
    painter.step = uint64_t(int64_t(std::fmod(double(paint.tx) * kFixedOne, kFixedOne)));
    // Ramp entries kStretch pixels long or longer (a gradient nearly
    // straight down the screen) are painted a stretch at a time.
    const uint64_t delta = uint64_t(std::abs(int64_t(int32_t(uint32_t(painter.step)))));
    painter.stretches = delta * (scratch.ramp.size() - 1) * kStretch <= (uint64_t(1) << 32);
  }
  if (!paint.gradient && painter.solid == 0) return;  // nothing to see
  int rowFrom = 0, rowTo = target.height;
  if (clip) {
    rowFrom = std::max(0, clip->y0);
    rowTo = std::min(target.height, clip->y0 + clip->height);
    if (clip->width <= 0 || rowFrom >= rowTo) return;
  }
  scan(rowFrom, rowTo, painter);
}

}  // namespace

void FillContours(const PixelBuffer& target, const Contours& contours, FillRule rule, const Paint& paint,
                  const CoverageMask* clip, SpanScratch& scratch) {
  PaintRows(target, paint, clip, scratch, [&](int rowFrom, int rowTo, RowPainter& painter) {
    ScanConvert(contours, rule, target.width, target.height, rowFrom, rowTo, scratch, painter);
  });
}

namespace {

// PaintRows for a shape drawn without polygons: `draw` hands the painter its
// rows, given a coverage buffer a row (and a group of four) long.
template <typename Draw>
void PaintDirect(const PixelBuffer& target, const Paint& paint, const CoverageMask* clip,
                 SpanScratch& scratch, Draw draw) {
  PaintRows(target, paint, clip, scratch, [&](int rowFrom, int rowTo, RowPainter& painter) {
    if (scratch.coverage.size() < size_t(target.width) + 4) scratch.coverage.resize(size_t(target.width) + 4);
    ++scratch.shapesSwept;
    draw(rowFrom, rowTo, scratch.coverage.data(), painter);
  });
}

}  // namespace

void PaintSegment(const PixelBuffer& target, const PixelSegment& segment, const Paint& paint,
                  const CoverageMask* clip, SpanScratch& scratch) {
  PaintDirect(target, paint, clip, scratch,
              [&](int rowFrom, int rowTo, uint8_t* coverage, RowPainter& painter) {
                DirectSegment(segment, target.width, target.height, rowFrom, rowTo, coverage, painter);
              });
}

void PaintEllipse(const PixelBuffer& target, const PixelEllipse& ellipse, const Paint& paint,
                  const CoverageMask* clip, SpanScratch& scratch) {
  PaintDirect(target, paint, clip, scratch,
              [&](int rowFrom, int rowTo, uint8_t* coverage, RowPainter& painter) {
                DirectEllipse(ellipse, target.width, target.height, rowFrom, rowTo, coverage, painter);
              });
}

void ClearPixels(const PixelBuffer& target, Color color, const CoverageMask* clip) {
  if (!Usable(target)) return;
  const uint32_t c = Premultiply(color);
  for (int y = 0; y < target.height; ++y) {
    uint32_t* row = target.pixels + ptrdiff_t(y) * target.stride;
    if (!clip) {
      std::fill_n(row, target.width, c);
      continue;
    }
    if (y < clip->y0 || y >= clip->y0 + clip->height) continue;
    const uint8_t* mask = clip->alpha.data() + size_t(y - clip->y0) * size_t(clip->width);
    for (int x = std::max(0, clip->x0); x < std::min(target.width, clip->x0 + clip->width); ++x) {
      const uint32_t a = mask[x - clip->x0];
      row[x] = ByteMul(c, a) + ByteMul(row[x], 255 - a);
    }
  }
}

}  // namespace draw
