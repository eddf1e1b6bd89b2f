// Scan conversion by accumulated area: every edge adds, in the cells of each
// row it crosses, the signed area it leaves to its right; summing a row's
// cells from the left gives each pixel's winding-weighted coverage, which the
// fill rule turns into alpha. Pixels between two edges of a row form one span
// of equal coverage, painted in one go.
#include "draw/span_filler.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

using Edge = SpanScratch::Edge;
using Span = SpanScratch::Span;

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

// One premultiplied colour over n pixels.
void BlendSolid(uint32_t* dst, int n, uint32_t src) {
  const uint32_t inverse = 255 - (src >> 24);
  if (inverse == 0) {
    std::fill_n(dst, n, src);
    return;
  }
  if (src == 0) return;
  int i = 0;
#if defined(__SSE2__)
  // Four pixels at a time, with the rounding of ByteMul.
  const __m128i zero = _mm_setzero_si128();
  const __m128i factor = _mm_set1_epi16(short(inverse));
  const __m128i half = _mm_set1_epi16(0x80);
  const __m128i source = _mm_set1_epi32(int(src));
  for (; i + 4 <= n; i += 4) {
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
    __m128i lo = _mm_mullo_epi16(_mm_unpacklo_epi8(d, zero), factor);
    __m128i hi = _mm_mullo_epi16(_mm_unpackhi_epi8(d, zero), factor);
    lo = _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(lo, _mm_srli_epi16(lo, 8)), half), 8);
    hi = _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(hi, _mm_srli_epi16(hi, 8)), half), 8);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_add_epi8(_mm_packus_epi16(lo, hi), source));
  }
#endif
  for (; i < n; ++i) dst[i] = src + ByteMul(dst[i], inverse);
}

// The premultiplied colour of a gradient at position t.
inline uint32_t GradientColor(const Paint& paint, float t) {
  const float f = t - std::floor(t);
  auto channel = [f](Color a, Color b, int shift) {
    const float ca = float((a >> shift) & 0xFF), cb = float((b >> shift) & 0xFF);
    return uint32_t(ca + (cb - ca) * f + 0.5f);
  };
  const uint32_t alpha = channel(paint.c1, paint.c2, 24);
  if (alpha == 0 || !(f >= 0)) return 0;  // also a NaN position
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
  if (!(std::isfinite(a.x) && std::isfinite(a.y) && std::isfinite(b.x) && std::isfinite(b.y))) return;
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
    if (middle >= width) continue;
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

struct RowAccumulator {
  float* cells;
  uint8_t* touched;
  std::vector<int>& columns;

  void Add(int x, float value) {
    if (!touched[x]) {
      touched[x] = 1;
      columns.push_back(x);
    }
    cells[x] += value;
  }

  // The part of an edge between heights ya and yb (within one row), from x
  // = xa to x = xb, with its winding times its height `d`: the area right of
  // it in each cell it crosses, and all of d for the cells beyond.
  void AddLine(float xa, float xb, float d) {
    const float lo = std::min(xa, xb), hi = std::max(xa, xb);
    const int first = int(lo);  // lo >= 0
    if (hi <= float(first + 1)) {
      const float middle = 0.5f * (xa + xb) - float(first);
      Add(first, d * (1 - middle));
      Add(first + 1, d * middle);
      return;
    }
    const float s = 1 / (hi - lo);
    const float f0 = lo - float(first);
    const int last = int(std::ceil(hi));  // hi lies in (last - 1, last]
    const float f1 = hi - float(last - 1);
    const float a0 = 0.5f * s * (1 - f0) * (1 - f0);  // area right of the line in the first cell
    const float am = 0.5f * s * f1 * f1;              // area left of it in the last
    Add(first, d * a0);
    if (last == first + 2) {
      Add(first + 1, d * (1 - a0 - am));
    } else {
      const float a1 = s * (1.5f - f0);
      Add(first + 1, d * (a1 - a0));
      for (int x = first + 2; x < last - 1; ++x) Add(x, d * s);
      const float a2 = a1 + float(last - first - 3) * s;
      Add(last - 1, d * (1 - a2 - am));
    }
    Add(last, d * am);
  }
};

inline int AlphaOf(float cover, FillRule rule) {
  float c = std::fabs(cover);
  if (rule == FillRule::kNonZero) {
    c = std::min(c, 1.0f);
  } else {
    c -= 2 * std::floor(c * 0.5f);
    if (c > 1) c = 2 - c;
  }
  return int(c * 255 + 0.5f);
}

void PushSpan(std::vector<Span>& spans, int x, int length, int alpha) {
  if (alpha <= 0 || length <= 0) return;
  if (!spans.empty()) {
    Span& last = spans.back();
    if (last.alpha == alpha && last.x + last.length == x) {
      last.length += length;
      return;
    }
  }
  spans.push_back({x, length, alpha});
}

// Calls sink(y, spans, count) for every row in [rowFrom, rowTo) that the
// contours cover, with the covered pixels of the row in increasing x.
template <typename Sink>
void ScanConvert(const Contours& contours, FillRule rule, int width, int height, int rowFrom, int rowTo,
                 SpanScratch& s, Sink&& sink) {
  if (width <= 0 || height <= 0) return;
  s.edges.clear();
  int first = 0;
  for (int end : contours.ends) {
    for (int i = first; i < end; ++i) {
      AddEdge(s.edges, contours.points[size_t(i)], contours.points[size_t(i + 1 < end ? i + 1 : first)],
              float(width), float(height));
    }
    first = end;
  }
  if (s.edges.empty()) return;
  std::sort(s.edges.begin(), s.edges.end(), [](const Edge& a, const Edge& b) { return a.y0 < b.y0; });
  if (s.cells.size() < size_t(width) + 2) {
    s.cells.assign(size_t(width) + 2, 0.0f);
    s.touched.assign(size_t(width) + 2, 0);
  }
  RowAccumulator row{s.cells.data(), s.touched.data(), s.touchedColumns};
  s.active.clear();
  s.touchedColumns.clear();

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

    if (!s.touchedColumns.empty()) {
      std::sort(s.touchedColumns.begin(), s.touchedColumns.end());
      s.spans.clear();
      float cover = 0;
      int previous = -1;
      for (int x : s.touchedColumns) {
        if (previous >= 0 && x > previous + 1)
          PushSpan(s.spans, previous + 1, x - previous - 1, AlphaOf(cover, rule));
        cover += s.cells[size_t(x)];
        s.cells[size_t(x)] = 0;
        s.touched[size_t(x)] = 0;
        if (x < width) PushSpan(s.spans, x, 1, AlphaOf(cover, rule));
        previous = x;
      }
      // Shapes that reach past the right side cover the rest of the row.
      if (previous + 1 < width) PushSpan(s.spans, previous + 1, width - previous - 1, AlphaOf(cover, rule));
      s.touchedColumns.clear();
      if (!s.spans.empty()) sink(y, s.spans.data(), int(s.spans.size()));
    }
    ++y;
    if (s.active.empty()) {
      if (next >= s.edges.size()) break;
      y = std::max(y, int(std::floor(s.edges[next].y0)));
    }
  }
}

// ---- painting a row ----

struct RowPainter {
  const PixelBuffer& target;
  const Paint& paint;
  const CoverageMask* clip;
  uint32_t solid = 0;  // premultiplied, for a solid paint

  void operator()(int y, const Span* spans, int count) {
    uint32_t* row = target.pixels + ptrdiff_t(y) * target.stride;
    // A gradient that runs straight down the screen has one colour per row.
    const bool perPixel = paint.gradient && paint.tx != 0;
    uint32_t color = solid;
    if (paint.gradient && !perPixel) color = GradientColor(paint, paint.ty * (float(y) + 0.5f) + paint.t0);
    const uint8_t* mask = nullptr;
    int maskFrom = 0, maskTo = 0;
    if (clip) {
      if (y < clip->y0 || y >= clip->y0 + clip->height) return;
      mask = clip->alpha.data() + size_t(y - clip->y0) * size_t(clip->width);
      maskFrom = clip->x0;
      maskTo = clip->x0 + clip->width;
    }
    for (int i = 0; i < count; ++i) {
      int x = spans[i].x, end = spans[i].x + spans[i].length;
      const uint32_t alpha = uint32_t(spans[i].alpha);
      if (mask) {
        x = std::max(x, maskFrom);
        end = std::min(end, maskTo);
        for (; x < end; ++x) {
          const uint32_t a = Div255(alpha * mask[x - maskFrom]);
          if (a == 0) continue;
          const uint32_t c = perPixel ? GradientColor(paint, paint.tx * (float(x) + 0.5f) +
                                                                 paint.ty * (float(y) + 0.5f) + paint.t0)
                                      : color;
          row[x] = SourceOver(row[x], ByteMul(c, a));
        }
      } else if (!perPixel) {
        BlendSolid(row + x, end - x, alpha == 255 ? color : ByteMul(color, alpha));
      } else {
        const float rowT = paint.ty * (float(y) + 0.5f) + paint.t0;
        for (; x < end; ++x) {
          const uint32_t c = GradientColor(paint, paint.tx * (float(x) + 0.5f) + rowT);
          row[x] = SourceOver(row[x], alpha == 255 ? c : ByteMul(c, alpha));
        }
      }
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

void FillContours(const PixelBuffer& target, const Contours& contours, FillRule rule, const Paint& paint,
                  const CoverageMask* clip, SpanScratch& scratch) {
  if (!Usable(target)) return;
  RowPainter painter{target, paint, clip, Premultiply(paint.c1)};
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
  ScanConvert(contours, rule, width, height, y0, y1, scratch, [&](int y, const Span* spans, int count) {
    uint8_t* row = mask.alpha.data() + size_t(y - y0) * size_t(mask.width);
    for (int i = 0; i < count; ++i) {
      const int from = std::max(spans[i].x, x0), to = std::min(spans[i].x + spans[i].length, x1);
      if (from < to) std::fill(row + (from - x0), row + (to - x0), uint8_t(spans[i].alpha));
    }
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
