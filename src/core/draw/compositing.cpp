#include "draw/compositing.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "draw/raster_blend.h"

namespace draw {

namespace {

inline uint32_t Over(uint32_t dst, uint32_t src) {
  const uint32_t a = src >> 24;
  if (a == 255) return src;
  if (src == 0) return dst;
  return src + ByteMul(dst, 255 - a);
}

inline uint32_t* Row(const PixelBuffer& b, int y) {
  return b.pixels + ptrdiff_t(y) * b.stride;
}

// The sum of four premultiplied pixels weighted in 256ths (weights add to 256).
inline uint32_t Mix4(uint32_t p00, uint32_t p01, uint32_t p10, uint32_t p11, uint32_t w00, uint32_t w01,
                     uint32_t w10, uint32_t w11) {
  if ((p00 | p01 | p10 | p11) == 0) return 0;
  const uint32_t rb = ((p00 & 0xFF00FFu) * w00 + (p01 & 0xFF00FFu) * w01 + (p10 & 0xFF00FFu) * w10 +
                       (p11 & 0xFF00FFu) * w11 + 0x800080u) >>
                      8;
  const uint32_t ag = (((p00 >> 8) & 0xFF00FFu) * w00 + ((p01 >> 8) & 0xFF00FFu) * w01 +
                       ((p10 >> 8) & 0xFF00FFu) * w10 + ((p11 >> 8) & 0xFF00FFu) * w11 + 0x800080u) >>
                      8;
  return (rb & 0xFF00FFu) | ((ag & 0xFF00FFu) << 8);
}

#if defined(__SSE2__)
// Four premultiplied pixels over four, as Over does each.
inline __m128i Over4(__m128i d, __m128i s) {
  const __m128i zero = _mm_setzero_si128(), full = _mm_set1_epi16(255), half = _mm_set1_epi16(0x80);
  auto lanes = [&](__m128i sl, __m128i dl) {
    // 255 - alpha of each pixel, in its four lanes; then d * inverse / 255 + s.
    const __m128i inverse = _mm_sub_epi16(full, _mm_shufflehi_epi16(_mm_shufflelo_epi16(sl, 0xFF), 0xFF));
    __m128i x = _mm_mullo_epi16(dl, inverse);
    x = _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(x, _mm_srli_epi16(x, 8)), half), 8);
    return _mm_add_epi16(x, sl);
  };
  const __m128i lo = lanes(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero));
  const __m128i hi = lanes(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero));
  return _mm_packus_epi16(lo, hi);
}

// Mix4 of four neighbouring pixels at once: rows a (sy) and b (sy - 1), each
// read from column sx and sx - 1. The weights fit 16-bit lanes: a channel
// times a weight, summed, stays below 255 * 256.
inline __m128i Mix4x4(const uint32_t* a, const uint32_t* b, __m128i w00, __m128i w01, __m128i w10,
                      __m128i w11) {
  const __m128i zero = _mm_setzero_si128(), half = _mm_set1_epi16(0x80);
  const __m128i p00 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a));
  const __m128i p01 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a - 1));
  const __m128i p10 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b));
  const __m128i p11 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b - 1));
  auto mix = [&](__m128i (*widen)(__m128i, __m128i)) {
    __m128i sum = _mm_mullo_epi16(widen(p00, zero), w00);
    sum = _mm_add_epi16(sum, _mm_mullo_epi16(widen(p01, zero), w01));
    sum = _mm_add_epi16(sum, _mm_mullo_epi16(widen(p10, zero), w10));
    sum = _mm_add_epi16(sum, _mm_mullo_epi16(widen(p11, zero), w11));
    return _mm_srli_epi16(_mm_add_epi16(sum, half), 8);
  };
  return _mm_packus_epi16(mix(_mm_unpacklo_epi8), mix(_mm_unpackhi_epi8));
}
#endif

// n premultiplied pixels over n pixels; four at a time where SSE2 is there.
void OverRow(uint32_t* dst, const uint32_t* src, int n) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  for (; i + 4 <= n; i += 4) {
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(s, zero)) == 0xFFFF) continue;  // nothing here
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), Over4(d, s));
  }
#endif
  for (; i < n; ++i) dst[i] = Over(dst[i], src[i]);
}

}  // namespace

PixelRect Intersect(const PixelRect& a, const PixelRect& b) {
  PixelRect r{std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1), std::min(a.y1, b.y1)};
  if (r.Empty()) return {};
  return r;
}

PixelRect Union(const PixelRect& a, const PixelRect& b) {
  if (a.Empty()) return b;
  if (b.Empty()) return a;
  return {std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}

void ResetSprite(Sprite& sprite, int left, int top, int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  const size_t n = size_t(width) * size_t(height);
  if (width == sprite.width && height == sprite.height && sprite.rowFrom.size() == size_t(height) &&
      sprite.pixels.size() >= n) {
    // The same size: only what the last drawing touched is cleared.
    for (size_t y = 0; y < size_t(height); ++y) {
      std::fill(sprite.pixels.begin() + ptrdiff_t(y * size_t(width) + sprite.rowFrom[y]),
                sprite.pixels.begin() + ptrdiff_t(y * size_t(width) + sprite.rowTo[y]), 0u);
    }
  } else {
    if (sprite.pixels.size() < n) sprite.pixels.resize(n);
    std::fill_n(sprite.pixels.begin(), n, 0u);
  }
  sprite.left = left;
  sprite.top = top;
  sprite.width = width;
  sprite.height = height;
  sprite.rowFrom.assign(size_t(height), 0);
  sprite.rowTo.assign(size_t(height), 0);
  sprite.used = {};
}

void MeasureSprite(Sprite& sprite) {
  PixelRect used{sprite.width, sprite.height, 0, 0};
  sprite.rowFrom.assign(size_t(sprite.height), 0);
  sprite.rowTo.assign(size_t(sprite.height), 0);
  for (int y = 0; y < sprite.height; ++y) {
    const uint32_t* row = sprite.pixels.data() + size_t(y) * size_t(sprite.width);
    // Four pixels at a time through the empty margins, which are most of a
    // sprite's box.
    auto empty4 = [row](int x) {
      uint64_t pairs[2];
      std::memcpy(pairs, row + x, 16);
      return (pairs[0] | pairs[1]) == 0;
    };
    int x0 = 0;
    while (x0 + 4 <= sprite.width && empty4(x0)) x0 += 4;
    while (x0 < sprite.width && row[x0] == 0) ++x0;
    if (x0 == sprite.width) continue;
    int x1 = sprite.width;
    while (x1 - 4 >= x0 && empty4(x1 - 4)) x1 -= 4;
    while (row[x1 - 1] == 0) --x1;
    sprite.rowFrom[size_t(y)] = uint16_t(x0);
    sprite.rowTo[size_t(y)] = uint16_t(x1);
    used = {std::min(used.x0, x0), std::min(used.y0, y), std::max(used.x1, x1), y + 1};
  }
  sprite.used = used.Empty() ? PixelRect{} : used;
}

SpritePlacement PlaceSprite(float dx, float dy) {
  // A record gone wrong (no number, or far away) leaves the sprite where it was drawn.
  if (!(std::fabs(dx) < 1e6f && std::fabs(dy) < 1e6f)) return {};
  // Sixteenths, rounded: a sprite is never more than 1/32 pixel off.
  const long ix = std::lround(double(dx) * 16), iy = std::lround(double(dy) * 16);
  SpritePlacement at;
  at.dx = int(ix >> 4);  // arithmetic shift: floor
  at.dy = int(iy >> 4);
  at.fx = int(ix & 15);
  at.fy = int(iy & 15);
  return at;
}

PixelRect SpriteBounds(const Sprite& sprite, const SpritePlacement& at) {
  if (sprite.used.Empty()) return {};
  const int x0 = sprite.left + sprite.used.x0 + at.dx, y0 = sprite.top + sprite.used.y0 + at.dy;
  return {x0, y0, sprite.left + sprite.used.x1 + at.dx + (at.fx ? 1 : 0),
          sprite.top + sprite.used.y1 + at.dy + (at.fy ? 1 : 0)};
}

void CompositeSprite(const PixelBuffer& target, const PixelRect& clip, const Sprite& sprite,
                     const SpritePlacement& at) {
  const PixelRect area =
      Intersect(Intersect(SpriteBounds(sprite, at), clip), {0, 0, target.width, target.height});
  if (area.Empty()) return;
  const int ox = sprite.left + at.dx, oy = sprite.top + at.dy;  // screen position of sprite pixel (0, 0)
  const int w = sprite.width, h = sprite.height;
  const uint32_t* src = sprite.pixels.data();
  if (at.fx == 0 && at.fy == 0) {
    for (int y = area.y0; y < area.y1; ++y) {
      const size_t sy = size_t(y - oy);
      const int x0 = std::max(area.x0, ox + sprite.rowFrom[sy]),
                x1 = std::min(area.x1, ox + sprite.rowTo[sy]);
      if (x1 > x0) OverRow(Row(target, y) + x0, src + sy * size_t(w) + size_t(x0 - ox), x1 - x0);
    }
    return;
  }
  // Screen pixel (x, y) shows the sprite at (x - ox - f, y - oy - f): between
  // sprite pixels sx - 1 and sx, weighted by the fraction.
  const uint32_t wx1 = uint32_t(at.fx), wx0 = 16 - wx1, wy1 = uint32_t(at.fy), wy0 = 16 - wy1;
  const uint32_t w00 = wx0 * wy0, w01 = wx1 * wy0, w10 = wx0 * wy1, w11 = wx1 * wy1;
  auto at_ = [&](int sx, int sy) -> uint32_t {
    return sx < 0 || sy < 0 || sx >= w || sy >= h ? 0u : src[size_t(sy) * size_t(w) + size_t(sx)];
  };
#if defined(__SSE2__)
  const __m128i v00 = _mm_set1_epi16(short(w00)), v01 = _mm_set1_epi16(short(w01)),
                v10 = _mm_set1_epi16(short(w10)), v11 = _mm_set1_epi16(short(w11));
#endif
  for (int y = area.y0; y < area.y1; ++y) {
    uint32_t* dst = Row(target, y);
    const int sy = y - oy;
    const bool inner = sy >= 1 && sy < h;
    // The columns sprite rows sy - 1 and sy hold anything in, one more to the right.
    int from = w, to = 0;
    for (int r = sy - 1; r <= sy; ++r) {
      if (r < 0 || r >= h || sprite.rowFrom[size_t(r)] == sprite.rowTo[size_t(r)]) continue;
      from = std::min(from, int(sprite.rowFrom[size_t(r)]));
      to = std::max(to, int(sprite.rowTo[size_t(r)]) + 1);
    }
    const int x0 = std::max(area.x0, ox + from), x1 = std::min(area.x1, ox + to);
    auto blend = [&](int x) {
      const int sx = x - ox;
      uint32_t p00, p01, p10, p11;  // (sx, sy), (sx - 1, sy), (sx, sy - 1), (sx - 1, sy - 1)
      if (inner && sx >= 1 && sx < w) {
        const uint32_t* s = src + size_t(sy) * size_t(w) + size_t(sx);
        p00 = s[0];
        p01 = s[-1];
        p10 = s[-w];
        p11 = s[-w - 1];
      } else {
        p00 = at_(sx, sy);
        p01 = at_(sx - 1, sy);
        p10 = at_(sx, sy - 1);
        p11 = at_(sx - 1, sy - 1);
      }
      dst[x] = Over(dst[x], Mix4(p00, p01, p10, p11, w00, w01, w10, w11));
    };
    int x = x0;
#if defined(__SSE2__)
    if (inner) {
      // Four at a time where the four pixels and their left neighbours all lie in the sprite.
      const uint32_t* rowA = src + size_t(sy) * size_t(w);
      for (; x < std::min(x1, ox + 1); ++x) blend(x);
      for (; x + 4 <= std::min(x1, ox + w); x += 4) {
        const __m128i s = Mix4x4(rowA + (x - ox), rowA + (x - ox) - w, v00, v01, v10, v11);
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(s, _mm_setzero_si128())) == 0xFFFF) continue;  // nothing here
        __m128i* d = reinterpret_cast<__m128i*>(dst + x);
        _mm_storeu_si128(d, Over4(_mm_loadu_si128(d), s));
      }
    }
#endif
    for (; x < x1; ++x) blend(x);
  }
}

void CopyRect(const PixelBuffer& target, const PixelBuffer& source, const PixelRect& rect) {
  const PixelRect r =
      Intersect(rect, {0, 0, std::min(target.width, source.width), std::min(target.height, source.height)});
  if (r.Empty()) return;
  for (int y = r.y0; y < r.y1; ++y) {
    std::memcpy(Row(target, y) + r.x0, Row(source, y) + r.x0, size_t(r.x1 - r.x0) * 4);
  }
}

void BlendRect(const PixelBuffer& target, const PixelBuffer& layer, const PixelRect& rect) {
  const PixelRect r =
      Intersect(rect, {0, 0, std::min(target.width, layer.width), std::min(target.height, layer.height)});
  if (r.Empty()) return;
  for (int y = r.y0; y < r.y1; ++y) {
    OverRow(Row(target, y) + r.x0, Row(layer, y) + r.x0, r.x1 - r.x0);
  }
}

void DrawStaticLayerPart(const PixelBuffer& target, const StaticLayer& layer, int x0, int y0) {
  for (int y = 0; y < target.height; ++y) {
    const int ly = y0 + y;
    if (ly < 0 || ly >= layer.height) continue;
    uint32_t* row = Row(target, y) - x0;  // indexed by layer column
    for (int i = layer.rowStarts[size_t(ly)]; i < layer.rowStarts[size_t(ly) + 1]; ++i) {
      const StaticLayer::Run& run = layer.runs[size_t(i)];
      const int from = std::max(run.x, x0), end = std::min(run.x + run.length, x0 + target.width);
      if (end > from) BlendPremultiplied(row + from, end - from, run.color);
    }
  }
}

void GroupRects(const std::vector<PixelRect>& rects, int width, int height, size_t most,
                std::vector<PixelRect>& out) {
  out = rects;
  std::vector<uint8_t> touched;
  std::vector<size_t> open, next;
  for (int cell = 64; out.size() > most && most > 0; cell *= 2) {
    const int columns = (width + cell - 1) / cell, rows = (height + cell - 1) / cell;
    touched.assign(size_t(columns) * size_t(rows), 0);
    for (const PixelRect& r : rects) {
      const PixelRect c = Intersect(r, {0, 0, width, height});
      if (c.Empty()) continue;
      for (int y = c.y0 / cell; y <= (c.y1 - 1) / cell; ++y)
        for (int x = c.x0 / cell; x <= (c.x1 - 1) / cell; ++x)
          touched[size_t(y) * size_t(columns) + size_t(x)] = 1;
    }
    // Runs of touched cells along each row, joined to the same run above.
    out.clear();
    open.clear();
    for (int y = 0; y < rows; ++y) {
      next.clear();
      const uint8_t* row = touched.data() + size_t(y) * size_t(columns);
      for (int x = 0; x < columns;) {
        if (!row[x]) {
          ++x;
          continue;
        }
        int end = x;
        while (end < columns && row[end]) ++end;
        const PixelRect run{x * cell, y * cell, std::min(width, end * cell),
                            std::min(height, (y + 1) * cell)};
        size_t index = out.size();
        for (size_t i : open) {
          if (out[i].x0 == run.x0 && out[i].x1 == run.x1) index = i;
        }
        if (index == out.size()) {
          out.push_back(run);
        } else {
          out[index].y1 = run.y1;
        }
        next.push_back(index);
        x = end;
      }
      open.swap(next);
    }
  }
}

PixelBuffer SubRows(const PixelBuffer& buffer, int y0, int y1) {
  y0 = std::clamp(y0, 0, buffer.height);
  y1 = std::clamp(y1, y0, buffer.height);
  return {buffer.pixels + ptrdiff_t(y0) * buffer.stride, buffer.width, y1 - y0, buffer.stride};
}

namespace {
// A buffer that has missed this many rectangles is brought up to date in
// coarser cells: each costs a copy of its own.
constexpr size_t kMostStaleRects = 64;
}  // namespace

void AddStale(StaleRects& stale, const std::vector<PixelRect>& changed, bool whole, int width, int height) {
  if (stale.whole) return;
  if (whole) {
    stale.whole = true;
    stale.rects.clear();
    return;
  }
  stale.rects.insert(stale.rects.end(), changed.begin(), changed.end());
  if (stale.rects.size() > kMostStaleRects) {
    std::vector<PixelRect> grouped;
    GroupRects(stale.rects, width, height, kMostStaleRects, grouped);
    stale.rects.swap(grouped);
  }
}

double CatchUp(const PixelBuffer& buffer, const PixelBuffer& frame, StaleRects& stale) {
  double copied = 0;
  if (stale.whole) {
    CopyRect(buffer, frame, {0, 0, frame.width, frame.height});
    copied = double(frame.width) * frame.height;
  } else {
    for (const PixelRect& r : stale.rects) {
      CopyRect(buffer, frame, r);
      copied += r.Area();
    }
  }
  stale.whole = false;
  stale.rects.clear();
  return copied;
}

}  // namespace draw
