// Scan conversion by accumulated area: every edge adds, in the cells of each
// row it crosses, the signed area it leaves to its right; summing a row's
// cells from the left gives each pixel's winding-weighted coverage, which the
// fill rule turns into alpha. Pixels between two edges of a row form one span
// of equal coverage, painted in one go.
#include "draw/span_filler.h"

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

using Edge = SpanScratch::Edge;

constexpr int kRampSteps = 1024;

// x * a / 255 for each byte of x, a in 0..255, rounded as Qt's raster does.
inline uint32_t ByteMul(uint32_t x, uint32_t a) {
  uint32_t t = (x & 0xFF00FFu) * a;
  t = (t + ((t >> 8) & 0xFF00FFu) + 0x800080u) >> 8;
  t &= 0xFF00FFu;
  x = ((x >> 8) & 0xFF00FFu) * a;
  x = x + ((x >> 8) & 0xFF00FFu) + 0x800080u;
  x &= 0xFF00FF00u;
  return x | t;
}

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

// ---- edges ----

// Adds the part of a -> b that can change what the buffer shows: rows 0 to
// height, and columns left of `width`. A part left of column 0 still covers
// every pixel to its right, so it moves onto x = 0; a part right of the
// buffer covers none and goes.
void AddEdge(std::vector<Edge>& edges, PointF a, PointF b, float width, float height) {
  if (a.y == b.y) return;
  float winding = 1;
  if (a.y > b.y) {
    std::swap(a, b);
    winding = -1;
  }
  if (b.y <= 0 || a.y >= height) return;
  const double slope = (double(b.x) - a.x) / (double(b.y) - a.y);
  auto xAt = [&](double y) { return float(a.x + (y - a.y) * slope); };
  PointF top = a, bottom = b;
  if (top.y < 0) top = {xAt(0), 0};
  if (bottom.y > height) bottom = {xAt(height), height};

  // Split where the edge crosses x = 0 or x = width.
  float cuts[4] = {top.y, 0, 0, 0};
  int count = 1;
  for (float boundary : {0.0f, width}) {
    if ((top.x - boundary) * (bottom.x - boundary) < 0) {
      const float y = float(top.y + (boundary - top.x) / slope);
      if (y > top.y && y < bottom.y) cuts[count++] = y;
    }
  }
  if (count == 3 && cuts[2] < cuts[1]) std::swap(cuts[1], cuts[2]);
  cuts[count++] = bottom.y;
  for (int i = 0; i + 1 < count; ++i) {
    const float y0 = cuts[i], y1 = cuts[i + 1];
    if (!(y1 > y0)) continue;
    float x0 = i == 0 ? top.x : xAt(y0);
    float x1 = i + 2 == count ? bottom.x : xAt(y1);
    const float middle = 0.5f * (x0 + x1);
    if (std::isnan(middle) || middle >= width) continue;  // NaN: coordinates too far apart to meet
    if (middle <= 0) {
      x0 = x1 = 0;
    } else {
      x0 = std::clamp(x0, 0.0f, width);
      x1 = std::clamp(x1, 0.0f, width);
    }
    edges.push_back({x0, y0, x1, y1, (x1 - x0) / (y1 - y0), winding});
  }
}

// ---- one row ----

// The cells of one row, and which of them an edge touched: one bit per
// column, so that the sweep jumps from touched cell to touched cell in
// column order without sorting.
struct RowAccumulator {
  float* cells;
  uint64_t* touched;
  int firstWord = INT32_MAX;
  int lastWord = -1;

  void Add(int x, float value) {
    touched[x >> 6] |= uint64_t(1) << (x & 63);
    cells[x] += value;
  }

  void Touching(int first, int last) {
    firstWord = std::min(firstWord, first >> 6);
    lastWord = std::max(lastWord, last >> 6);
  }

  // The part of an edge between heights ya and yb (within one row), from x
  // = xa to x = xb, with its winding times its height `d`: the area right of
  // it in each cell it crosses, and all of d for the cells beyond.
  void AddLine(float xa, float xb, float d) {
    const float lo = xa < xb ? xa : xb, hi = xa < xb ? xb : xa;
    const int first = int(lo);  // lo >= 0
    if (hi <= float(first + 1)) {
      const float middle = 0.5f * (xa + xb) - float(first);
      Touching(first, first + 1);
      Add(first, d * (1 - middle));
      Add(first + 1, d * middle);
      return;
    }
    const float s = 1 / (hi - lo);
    const float f0 = lo - float(first);
    int last = int(hi);  // hi lies in (last - 1, last]
    if (float(last) < hi) ++last;
    Touching(first, last);
    const float f1 = hi - float(last - 1);
    const float a0 = 0.5f * s * (1 - f0) * (1 - f0);  // area right of the line in the first cell
    const float am = 0.5f * s * f1 * f1;              // area left of it in the last
    Add(first, d * a0);
    if (last == first + 2) {
      Add(first + 1, d * (1 - a0 - am));
    } else {
      const float a1 = s * (1.5f - f0);
      Add(first + 1, d * (a1 - a0));
      const float ds = d * s;
      for (int x = first + 2; x < last - 1; ++x) Add(x, ds);
      const float a2 = a1 + float(last - first - 3) * s;
      Add(last - 1, d * (1 - a2 - am));
    }
    Add(last, d * am);
  }
};

inline int AlphaOf(float cover, FillRule rule) {
  float c = std::fabs(cover);
  if (c <= 1) return int(c * 255 + 0.5f);
  if (rule == FillRule::kNonZero) {
    c = std::min(c, 1.0f);
  } else {
    c -= 2 * std::floor(c * 0.5f);
    if (c > 1) c = 2 - c;
  }
  return int(c * 255 + 0.5f);
}

// Gaps between touched cells at least this wide become runs of one coverage.
constexpr int kRunGap = 8;

// Turns the accumulated cells of row y into coverage for the sink, left to
// right: clusters of touched cells (the neighbourhoods of edges) as one
// coverage value per pixel (sink.Covered), the wide gaps between them, where
// coverage does not change, as runs (sink.Run).
template <typename Sink>
void SweepRow(SpanScratch& s, RowAccumulator& row, FillRule rule, int width, int y, Sink& sink) {
  if (!sink.BeginRow(y)) {
    for (int word = row.firstWord; word <= row.lastWord; ++word) {
      for (uint64_t bits = s.touched[size_t(word)]; bits != 0; bits &= bits - 1) {
        s.cells[size_t(word * 64 + __builtin_ctzll(bits))] = 0;
      }
      s.touched[size_t(word)] = 0;
    }
    return;
  }
  uint8_t* coverage = s.coverage.data();
  float cover = 0;
  int alpha = 0;               // of the coverage right of the last touched cell
  int clusterFrom = -1;        // first pixel of the open cluster
  int previous = -1;           // last touched cell
  auto flush = [&](int end) {  // the cluster's pixels up to `end`
    end = std::min(end, width);
    if (clusterFrom >= 0 && end > clusterFrom) sink.Covered(clusterFrom, coverage, end - clusterFrom);
  };
  for (int word = row.firstWord; word <= row.lastWord; ++word) {
    for (uint64_t bits = s.touched[size_t(word)]; bits != 0; bits &= bits - 1) {
      const int x = word * 64 + __builtin_ctzll(bits);
      if (clusterFrom < 0) {
        clusterFrom = x;
      } else if (x - previous > kRunGap) {
        flush(previous + 1);
        if (alpha > 0 && previous + 1 < width)
          sink.Run(previous + 1, std::min(x, width) - previous - 1, alpha);
        clusterFrom = x;
      } else {
        for (int gap = previous + 1; gap < x; ++gap) coverage[gap - clusterFrom] = uint8_t(alpha);
      }
      cover += s.cells[size_t(x)];
      s.cells[size_t(x)] = 0;
      alpha = AlphaOf(cover, rule);
      coverage[x - clusterFrom] = uint8_t(alpha);
      previous = x;
    }
    s.touched[size_t(word)] = 0;
  }
  flush(previous + 1);
  // Shapes that reach past the right side cover the rest of the row.
  if (alpha > 0 && previous + 1 < width) sink.Run(previous + 1, width - previous - 1, alpha);
}

// Hands the sink every row in [rowFrom, rowTo) that the contours cover.
template <typename Sink>
void ScanConvert(const Contours& contours, FillRule rule, int width, int height, int rowFrom, int rowTo,
                 SpanScratch& s, Sink&& sink) {
  if (width <= 0 || height <= 0) return;
  s.edges.clear();
  int first = 0;
  for (int end : contours.ends) {
    // A contour with a point at no place encloses nothing; its other edges
    // alone would cover everything to their right.
    bool finite = true;
    for (int i = first; i < end && finite; ++i) {
      const PointF p = contours.points[size_t(i)];
      finite = std::isfinite(p.x) && std::isfinite(p.y);
    }
    for (int i = first; finite && i < end; ++i) {
      AddEdge(s.edges, contours.points[size_t(i)], contours.points[size_t(i + 1 < end ? i + 1 : first)],
              float(width), float(height));
    }
    first = end;
  }
  if (s.edges.empty()) return;
  std::sort(s.edges.begin(), s.edges.end(), [](const Edge& a, const Edge& b) { return a.y0 < b.y0; });
  const size_t words = size_t(width) / 64 + 2;
  if (s.cells.size() < size_t(width) + 2 || s.touched.size() < words) {
    s.cells.assign(size_t(width) + 2, 0.0f);
    s.touched.assign(words, 0);
    s.coverage.resize(size_t(width) + 2);
  }
  RowAccumulator row{s.cells.data(), s.touched.data()};
  s.active.clear();

  size_t next = 0;
  int y = std::max(rowFrom, int(std::floor(s.edges.front().y0)));
  const int yEnd = std::min(rowTo, height);
  while (y < yEnd) {
    const float top = float(y), bottom = float(y + 1);
    while (next < s.edges.size() && s.edges[next].y0 < bottom) s.active.push_back(int(next++));
    for (size_t k = 0; k < s.active.size();) {
      const Edge& e = s.edges[size_t(s.active[k])];
      if (e.y1 <= top) {
        s.active[k] = s.active.back();
        s.active.pop_back();
        continue;
      }
      ++k;
      const float ya = std::max(e.y0, top), yb = std::min(e.y1, bottom);
      if (!(yb > ya)) continue;
      const float xa = std::clamp(e.x0 + (ya - e.y0) * e.dxdy, 0.0f, float(width));
      const float xb = std::clamp(e.x0 + (yb - e.y0) * e.dxdy, 0.0f, float(width));
      row.AddLine(xa, xb, (yb - ya) * e.winding);
    }

    if (row.lastWord >= 0) {
      SweepRow(s, row, rule, width, y, sink);
      row.firstWord = INT32_MAX;
      row.lastWord = -1;
    }
    ++y;
    if (s.active.empty()) {
      if (next >= s.edges.size()) break;
      y = std::max(y, int(std::floor(s.edges[next].y0)));
    }
  }
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
// high half, where in the period in the low half.
constexpr double kFixedOne = 4294967296.0;

inline uint32_t RampColor(const std::vector<uint32_t>& ramp, int64_t position) {
  const uint64_t within = uint64_t(position) & 0xFFFFFFFFu;
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

// A gradient's ramp over n pixels: pixel i takes the ramp's colour at
// `position` + i * `step`, covered by coverage[i] (or by `alpha` where there
// is no coverage array).
void BlendRamp(uint32_t* dst, int n, const std::vector<uint32_t>& ramp, int64_t position, int64_t step,
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

  // What one row needs: its pixels, its colour where the paint has one per
  // row, its ramp position where it has one per pixel, and its clip.
  struct Row {
    uint32_t* pixels;
    bool perPixel;
    uint32_t color;
    int64_t step;
    const uint8_t* mask;  // the clip's row, from column maskFrom
    int maskFrom, maskTo;
  };

  Row r{};
  int y = 0;

  bool BeginRow(int row) {
    y = row;
    r.pixels = target.pixels + ptrdiff_t(y) * target.stride;
    // A gradient that runs straight down the screen has one colour per row.
    r.perPixel = paint.gradient && paint.tx != 0;
    r.color = solid;
    if (paint.gradient && !r.perPixel)
      r.color = GradientColor(paint, paint.ty * (float(y) + 0.5f) + paint.t0);
    r.step = r.perPixel ? int64_t(double(paint.tx) * kFixedOne) : 0;
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
  int64_t PositionAt(int x, int y) const {
    double t = double(paint.tx) * (x + 0.5) + double(paint.ty) * (y + 0.5) + paint.t0;
    t -= std::floor(t);
    return int64_t(t * kFixedOne);
  }

  // Pixels [x, end) of the row, pixel x covered by coverage(x), one at a time.
  template <typename CoverageOf>
  void PaintEach(int x, int end, CoverageOf coverageOf) const {
    if (r.mask) {
      x = std::max(x, r.maskFrom);
      end = std::min(end, r.maskTo);
    }
    int64_t position = r.perPixel && x < end ? PositionAt(x, y) : 0;
    for (; x < end; ++x, position += r.step) {
      uint32_t a = coverageOf(x);
      if (r.mask) a = Div255(a * r.mask[x - r.maskFrom]);
      if (a == 0) continue;
      const uint32_t c = r.perPixel ? RampColor(ramp, position) : r.color;
      r.pixels[x] = SourceOver(r.pixels[x], a == 255 ? c : ByteMul(c, a));
    }
  }

  void Run(int x, int length, int alpha) const {
    const int end = x + length;
    if (r.mask) {
      PaintEach(x, end, [alpha](int) { return uint32_t(alpha); });
      return;
    }
    if (r.perPixel) {
      BlendRamp(r.pixels + x, length, ramp, PositionAt(x, y), r.step, nullptr, uint32_t(alpha));
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
    } else if (r.perPixel) {
      BlendRamp(r.pixels + x0, count, ramp, PositionAt(x0, y), r.step, coverage, 255);
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

void FillContours(const PixelBuffer& target, const Contours& contours, FillRule rule, const Paint& paint,
                  const CoverageMask* clip, SpanScratch& scratch) {
  if (!Usable(target)) return;
  if (paint.gradient && paint.tx != 0) MakeRamp(paint, scratch.ramp);
  RowPainter painter{target, paint, clip, scratch.ramp, Premultiply(paint.c1)};
  if (!paint.gradient && painter.solid == 0) return;  // nothing to see
  int rowFrom = 0, rowTo = target.height;
  if (clip) {
    rowFrom = std::max(0, clip->y0);
    rowTo = std::min(target.height, clip->y0 + clip->height);
    if (clip->width <= 0 || rowFrom >= rowTo) return;
  }
  ScanConvert(contours, rule, target.width, target.height, rowFrom, rowTo, scratch, painter);
}

void MaskContours(int width, int height, const Contours& contours, FillRule rule, CoverageMask& mask,
                  SpanScratch& scratch) {
  mask = CoverageMask{};
  if (width <= 0 || height <= 0 || contours.points.empty()) return;
  // The mask spans the contours' bounds within the buffer.
  float left = float(width), right = 0, top = float(height), bottom = 0;
  for (PointF p : contours.points) {
    if (!(std::isfinite(p.x) && std::isfinite(p.y))) continue;
    left = std::min(left, p.x);
    right = std::max(right, p.x);
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  const int x0 = std::max(0, int(std::floor(left))), x1 = std::min(width, int(std::ceil(right)) + 1);
  const int y0 = std::max(0, int(std::floor(top))), y1 = std::min(height, int(std::ceil(bottom)) + 1);
  if (x0 >= x1 || y0 >= y1) return;
  mask.x0 = x0;
  mask.y0 = y0;
  mask.width = x1 - x0;
  mask.height = y1 - y0;
  mask.alpha.assign(size_t(mask.width) * size_t(mask.height), 0);
  struct MaskWriter {
    CoverageMask& mask;
    uint8_t* row = nullptr;  // the mask's row, from column mask.x0
    bool BeginRow(int y) {
      row = mask.alpha.data() + size_t(y - mask.y0) * size_t(mask.width);
      return true;
    }
    void Run(int x, int length, int alpha) const {
      const int from = std::max(x, mask.x0), to = std::min(x + length, mask.x0 + mask.width);
      for (int i = from; i < to; ++i) row[i - mask.x0] = uint8_t(alpha);
    }
    void Covered(int x0, const uint8_t* coverage, int count) const {
      const int from = std::max(x0, mask.x0), to = std::min(x0 + count, mask.x0 + mask.width);
      for (int i = from; i < to; ++i) row[i - mask.x0] = coverage[i - x0];
    }
  } writer{mask};
  ScanConvert(contours, rule, width, height, y0, y1, scratch, writer);
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
