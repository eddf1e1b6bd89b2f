// Shapes drawn without polygons: the coverage of a filled ellipse, of a thin
// pen's band along one, and of a thin straight line, from each pixel's
// distance to the curve or the line. A small ring or a short line costs its
// covered pixels rather than its edges and rows (a bubble's ring is half its
// polygon's cost). Used where the approximation is as good as the polygon's:
// a transform that keeps circles round, a thin pen, an ellipse not too flat
// for its pen; the rest take the polygons.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "draw/raster_geometry.h"

namespace draw {

// An ellipse in pixel space: its centre, its semi-axes a (along the
// direction (cosine, sine)) and b, and either the half width of a pen
// stroking it (band) or its inside (a fill).
struct PixelEllipse {
  float cx = 0, cy = 0;
  float a = 0, b = 0;
  float cosine = 1, sine = 0;
  bool band = false;
  float halfWidth = 0;
};

// Half a pixel's diagonal (rounded up): a pixel whose centre lies further
// than this from an edge is wholly on one side of it.
constexpr float kHalfDiagonal = 0.7072f;

// Pens at most this many pixels wide stroke an ellipse or a line directly
// (a wider one's inside is cheaper as the polygons' runs).
constexpr double kWidestDirectPen = 3;

// Whether the ellipse in the box (x, y, w, h), mapped by `m`, is drawn
// directly, and where: a pen of `penWidth` world units (0: one pixel wide)
// strokes it when `band`, else it is filled. False where the polygons must
// draw it: a transform that shears or stretches, a pen too wide, an ellipse
// whose tightest bend is sharper than the pen, a figure far off or huge.
bool MapEllipse(const Affine& m, float x, float y, float w, float h, bool band, float penWidth,
                PixelEllipse& out);

// A straight line with flat ends in pixel space: from (ax, ay), `length`
// pixels along the unit direction (tx, ty), a pen's half width either side.
struct PixelSegment {
  float ax = 0, ay = 0;
  float tx = 1, ty = 0;
  float length = 0;
  float halfWidth = 0;
};

// Whether the line (x1, y1) - (x2, y2), mapped by `m` and stroked with flat
// ends by a pen `penWidth` world units wide (0: one pixel), is drawn
// directly, and where. False for a transform that shears or stretches, a pen
// too wide, a line of no length or one far off.
bool MapSegment(const Affine& m, PointF a, PointF b, float penWidth, PixelSegment& out);

// The share of a pixel (a unit square centred at the origin) on the side
// p . n < t of a line with unit normal n: its footprint along n is the sum of
// two boxes, na and nb wide (na >= nb, w1 and w2 half their difference and
// sum, `inverse` 1 / (2 na nb)), so the share is a difference of squares.
// Exact for a straight edge, as the polygon's area coverage is.
inline float HalfPlaneShare(float t, float w1, float w2, float inverse) {
  auto square = [](float v) {
    v = std::max(v, 0.0f);
    return v * v;
  };
  const float share = (square(t + w2) - square(t + w1) - square(t - w1) + square(t - w2)) * inverse;
  return std::min(std::max(share, 0.0f), 1.0f);
}

#if defined(__SSE2__)
// HalfPlaneShare of four pixels at once.
inline __m128 HalfPlaneShare4(__m128 t, __m128 w1, __m128 w2, __m128 inverse) {
  const __m128 zero = _mm_setzero_ps();
  auto square = [&](__m128 v) {
    v = _mm_max_ps(v, zero);
    return _mm_mul_ps(v, v);
  };
  const __m128 sum = _mm_add_ps(
      _mm_sub_ps(_mm_sub_ps(square(_mm_add_ps(t, w2)), square(_mm_add_ps(t, w1))), square(_mm_sub_ps(t, w1))),
      square(_mm_sub_ps(t, w2)));
  return _mm_min_ps(_mm_max_ps(_mm_mul_ps(sum, inverse), zero), _mm_set1_ps(1));
}

// Four shares 0..1 as coverage bytes, rounded as the polygons' coverage is
// (truncating share * 255 + 0.5).
inline void StoreCoverage4(__m128 share, uint8_t* coverage) {
  const __m128i alpha = _mm_cvttps_epi32(_mm_add_ps(_mm_mul_ps(share, _mm_set1_ps(255)), _mm_set1_ps(0.5f)));
  const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(alpha, alpha), _mm_setzero_si128());
  const int four = _mm_cvtsi128_si32(bytes);
  std::memcpy(coverage, &four, 4);
}
#endif

// The footprint of a pixel along a unit direction (dx, dy) (and along its
// normal: the same two boxes), as HalfPlaneShare takes it.
struct Footprint {
  float w1, w2, inverse;
};
inline Footprint FootprintAlong(float dx, float dy) {
  const float nb = std::max(std::min(std::fabs(dx), std::fabs(dy)), 1.0f / 64);
  const float na = std::max(std::max(std::fabs(dx), std::fabs(dy)), nb);
  return {0.5f * (na - nb), 0.5f * (na + nb), 0.5f / (na * nb)};
}

// Coverage 0..255 of the pixels [x, x + n) of row y, for `DirectEllipse`;
// `coverage` has room for n rounded up to four. Pixel centres are (x + 0.5,
// y + 0.5). The distance to the curve is taken to first order, (q - 1) q /
// |grad q| with q the ellipse's own measure: exact for a circle, and never
// smaller than the true one times the smaller semi-axis over the larger.
// Four pixels at a time where SSE2 is there, the same sums without it.
template <bool kBand>
void EllipseRowCoverage(const PixelEllipse& e, int x, int y, int n, uint8_t* coverage) {
  const float ia = 1 / e.a, ib = 1 / e.b, ia2 = ia * ia, ib2 = ib * ib;
  const float low = std::min(e.a, e.b), high = std::max(e.a, e.b);
  const float c = e.cosine, s = e.sine;
  const float Y = float(y) + 0.5f - e.cy;
  // A band is what lies within the outer edge and not within the inner one;
  // a fill is all within its one edge.
  const float outerEdge = kBand ? e.halfWidth : 0, innerEdge = -e.halfWidth;
  const float X0 = float(x) + 0.5f - e.cx;
#if defined(__SSE2__)
  const __m128 one = _mm_set1_ps(1), half = _mm_set1_ps(0.5f);
  const __m128 signMask = _mm_castsi128_ps(_mm_set1_epi32(0x7FFFFFFF));
  for (int i = 0; i < n; i += 4) {
    const __m128 X =
        _mm_add_ps(_mm_set1_ps(X0), _mm_set_ps(float(i + 3), float(i + 2), float(i + 1), float(i)));
    const __m128 u = _mm_add_ps(_mm_mul_ps(X, _mm_set1_ps(c)), _mm_set1_ps(Y * s));
    const __m128 v = _mm_sub_ps(_mm_set1_ps(Y * c), _mm_mul_ps(X, _mm_set1_ps(s)));
    const __m128 gu = _mm_mul_ps(u, _mm_set1_ps(ia2)), gv = _mm_mul_ps(v, _mm_set1_ps(ib2));
    const __m128 q = _mm_sqrt_ps(_mm_add_ps(_mm_mul_ps(u, gu), _mm_mul_ps(v, gv)));
    const __m128 g = _mm_sqrt_ps(_mm_add_ps(_mm_mul_ps(gu, gu), _mm_mul_ps(gv, gv)));
    const __m128 ig = _mm_div_ps(one, _mm_max_ps(g, _mm_set1_ps(1e-20f)));
    // q / |grad q| lies between the semi-axes; at the centre, where both
    // vanish, the smaller.
    const __m128 ratio = _mm_min_ps(_mm_max_ps(_mm_mul_ps(q, ig), _mm_set1_ps(low)), _mm_set1_ps(high));
    const __m128 distance = _mm_mul_ps(_mm_sub_ps(q, one), ratio);  // outward, in pixels
    const __m128 nx = _mm_mul_ps(
        _mm_and_ps(_mm_sub_ps(_mm_mul_ps(_mm_set1_ps(c), gu), _mm_mul_ps(_mm_set1_ps(s), gv)), signMask), ig);
    const __m128 ny = _mm_mul_ps(
        _mm_and_ps(_mm_add_ps(_mm_mul_ps(_mm_set1_ps(s), gu), _mm_mul_ps(_mm_set1_ps(c), gv)), signMask), ig);
    const __m128 nb = _mm_max_ps(_mm_min_ps(nx, ny), _mm_set1_ps(1.0f / 64));
    const __m128 na = _mm_max_ps(_mm_max_ps(nx, ny), nb);
    const __m128 w1 = _mm_mul_ps(half, _mm_sub_ps(na, nb)), w2 = _mm_mul_ps(half, _mm_add_ps(na, nb));
    const __m128 inverse = _mm_div_ps(half, _mm_mul_ps(na, nb));
    __m128 covered = HalfPlaneShare4(_mm_sub_ps(_mm_set1_ps(outerEdge), distance), w1, w2, inverse);
    if (kBand)
      covered =
          _mm_sub_ps(covered, HalfPlaneShare4(_mm_sub_ps(_mm_set1_ps(innerEdge), distance), w1, w2, inverse));
    StoreCoverage4(covered, coverage + i);
  }
#else
  for (int i = 0; i < n; ++i) {
    const float X = X0 + float(i);
    const float u = X * c + Y * s, v = Y * c - X * s;
    const float gu = u * ia2, gv = v * ib2;
    const float q = std::sqrt(u * gu + v * gv);
    const float ig = 1 / std::max(std::sqrt(gu * gu + gv * gv), 1e-20f);
    const float ratio = std::min(std::max(q * ig, low), high);
    const float distance = (q - 1) * ratio;
    const Footprint f = FootprintAlong((c * gu - s * gv) * ig, (s * gu + c * gv) * ig);
    float covered = HalfPlaneShare(outerEdge - distance, f.w1, f.w2, f.inverse);
    if (kBand) covered -= HalfPlaneShare(innerEdge - distance, f.w1, f.w2, f.inverse);
    coverage[i] = uint8_t(int(covered * 255 + 0.5f));
  }
#endif
}

// The ellipse's measure about its centre, q^2 = A X^2 + B X Y + C Y^2, to
// find the pixel columns of a row within a limit of q.
struct EllipseMeasure {
  double A, B, C;
  double cx, cy;
  double halfInverseA;  // 1 / (2 A)

  explicit EllipseMeasure(const PixelEllipse& e) : cx(e.cx), cy(e.cy) {
    const double ia2 = 1 / (double(e.a) * e.a), ib2 = 1 / (double(e.b) * e.b);
    const double c = e.cosine, s = e.sine;
    A = c * c * ia2 + s * s * ib2;
    B = 2 * c * s * (ia2 - ib2);
    C = s * s * ia2 + c * c * ib2;
    halfInverseA = 0.5 / A;
  }

  // The columns of row y whose pixel centres lie where q is below `limit`:
  // [x0, x1], or x0 > x1 for none.
  void ColumnsWithin(int y, double limit, int& x0, int& x1) const {
    const double Y = y + 0.5 - cy;
    const double disc = B * B * Y * Y - 4 * A * (C * Y * Y - limit * limit);
    x0 = 1;
    x1 = 0;
    if (!(disc >= 0)) return;
    const double middle = cx - 0.5 - B * Y * halfInverseA, halfChord = std::sqrt(disc) * halfInverseA;
    x0 = CeilToInt(middle - halfChord);
    x1 = FloorToInt(middle + halfChord);
  }
};

// DirectEllipse for a band (kBand) or a fill.
template <bool kBand, typename Sink>
void DirectEllipseRows(const PixelEllipse& e, int width, int height, int rowFrom, int rowTo,
                       uint8_t* coverage, Sink& sink) {
  // Beyond this distance from the curve (the pen's half width and half a
  // pixel's diagonal) nothing is covered; inside it, a fill is whole. Over
  // the measure q that is 1 +- reach / (smaller semi-axis).
  const float reach = (kBand ? e.halfWidth : 0) + kHalfDiagonal;
  const float low = std::min(e.a, e.b);
  const double outer = 1 + reach / low, inner = 1 - reach / low;
  const EllipseMeasure measure(e);
  // Rows the outer limit reaches: |Y| <= outer * a * b * sqrt(A).
  const double extent = outer * double(e.a) * e.b * std::sqrt(measure.A);
  const int top = std::max({rowFrom, 0, FloorToInt(e.cy - extent - 0.5)});
  const int bottom = std::min({rowTo, height, CeilToInt(e.cy + extent + 0.5)});
  for (int y = top; y < bottom; ++y) {
    int o0, o1;
    measure.ColumnsWithin(y, outer, o0, o1);
    o0 = std::max(o0, 0);
    o1 = std::min(o1, width - 1);
    if (o0 > o1 || !sink.BeginRow(y)) continue;
    int i0 = 1, i1 = 0;
    if (inner > 0) measure.ColumnsWithin(y, inner, i0, i1);
    i0 = std::max(i0, o0);
    i1 = std::min(i1, o1);
    if (i0 > i1) {
      EllipseRowCoverage<kBand>(e, o0, y, o1 - o0 + 1, coverage);
      sink.Covered(o0, coverage, o1 - o0 + 1);
      continue;
    }
    // Around the inside: the edge on each side, and between them nothing
    // (a band) or all (a fill).
    if (i0 > o0) {
      EllipseRowCoverage<kBand>(e, o0, y, i0 - o0, coverage);
      sink.Covered(o0, coverage, i0 - o0);
    }
    if (!kBand) sink.Run(i0, i1 - i0 + 1, 255);
    if (o1 > i1) {
      EllipseRowCoverage<kBand>(e, i1 + 1, y, o1 - i1, coverage);
      sink.Covered(i1 + 1, coverage, o1 - i1);
    }
  }
}

// Hands the sink (as ScanConvert's: BeginRow, Run, Covered) the coverage of
// every row in [rowFrom, rowTo) that the ellipse reaches, within a width x
// height buffer. `coverage` holds at least width + 4 bytes.
template <typename Sink>
void DirectEllipse(const PixelEllipse& e, int width, int height, int rowFrom, int rowTo, uint8_t* coverage,
                   Sink&& sink) {
  if (width <= 0 || height <= 0) return;
  if (e.band) {
    DirectEllipseRows<true>(e, width, height, rowFrom, rowTo, coverage, sink);
  } else {
    DirectEllipseRows<false>(e, width, height, rowFrom, rowTo, coverage, sink);
  }
}

// Coverage 0..255 of the pixels [x, x + n) of row y, for `DirectSegment`;
// `coverage` has room for n rounded up to four. A pixel's share of the
// rectangle is its share across the line times its share along it: exact
// for a line along the pixel grid, within a few hundredths at the corners
// of a slanted one.
inline void SegmentRowCoverage(const PixelSegment& l, const Footprint& f, int x, int y, int n,
                               uint8_t* coverage) {
  const float X0 = float(x) + 0.5f - l.ax, Y = float(y) + 0.5f - l.ay;
  // Across (along the normal (-ty, tx)) and along, at the first pixel.
  const float across0 = Y * l.tx - X0 * l.ty, along0 = X0 * l.tx + Y * l.ty;
#if defined(__SSE2__)
  const __m128 w1 = _mm_set1_ps(f.w1), w2 = _mm_set1_ps(f.w2), inverse = _mm_set1_ps(f.inverse);
  const __m128 halfWidth = _mm_set1_ps(l.halfWidth), length = _mm_set1_ps(l.length);
  for (int i = 0; i < n; i += 4) {
    const __m128 steps = _mm_set_ps(float(i + 3), float(i + 2), float(i + 1), float(i));
    const __m128 across = _mm_sub_ps(_mm_set1_ps(across0), _mm_mul_ps(steps, _mm_set1_ps(l.ty)));
    const __m128 along = _mm_add_ps(_mm_set1_ps(along0), _mm_mul_ps(steps, _mm_set1_ps(l.tx)));
    const __m128 wide = _mm_sub_ps(
        HalfPlaneShare4(_mm_sub_ps(halfWidth, across), w1, w2, inverse),
        HalfPlaneShare4(_mm_sub_ps(_mm_setzero_ps(), _mm_add_ps(halfWidth, across)), w1, w2, inverse));
    const __m128 lengthwise = _mm_sub_ps(HalfPlaneShare4(along, w1, w2, inverse),
                                         HalfPlaneShare4(_mm_sub_ps(along, length), w1, w2, inverse));
    StoreCoverage4(_mm_mul_ps(wide, lengthwise), coverage + i);
  }
#else
  for (int i = 0; i < n; ++i) {
    const float across = across0 - float(i) * l.ty, along = along0 + float(i) * l.tx;
    const float wide = HalfPlaneShare(l.halfWidth - across, f.w1, f.w2, f.inverse) -
                       HalfPlaneShare(-l.halfWidth - across, f.w1, f.w2, f.inverse);
    const float lengthwise = HalfPlaneShare(along, f.w1, f.w2, f.inverse) -
                             HalfPlaneShare(along - l.length, f.w1, f.w2, f.inverse);
    coverage[i] = uint8_t(int(wide * lengthwise * 255 + 0.5f));
  }
#endif
}

// Where a line's pixels lie along a row: X = x + 0.5 - ax, with the line's
// across and along both linear in X (across = Y tx - X ty, along = X tx + Y ty).
struct SegmentReach {
  double tx, ty;
  double inverseTx, inverseTy;  // 0 where the line runs along an axis

  explicit SegmentReach(const PixelSegment& l)
      : tx(l.tx),
        ty(l.ty),
        inverseTx(std::fabs(tx) < 1e-9 ? 0 : 1 / tx),
        inverseTy(std::fabs(ty) < 1e-9 ? 0 : 1 / ty) {}

  // The columns of row y whose pixel centres lie within `reachAcross` of
  // the line and `reachAlong` beyond its ends: [x0, x1], or x0 > x1 for none.
  void Columns(const PixelSegment& l, int y, double reachAcross, double reachAlong, int& x0, int& x1) const {
    const double Y = y + 0.5 - double(l.ay);
    double lo = -1e9, hi = 1e9;  // of X
    // from <= k X + c <= to, where 1 / k is `inverse` (0: k is 0).
    auto within = [&](double k, double inverse, double c, double from, double to) {
      if (inverse == 0) {
        if (c < from || c > to) lo = 1, hi = 0;
        return;
      }
      double a = (from - c) * inverse, b = (to - c) * inverse;
      if (k < 0) std::swap(a, b);
      lo = std::max(lo, a);
      hi = std::min(hi, b);
    };
    within(-ty, -inverseTy, Y * tx, -reachAcross, reachAcross);
    within(tx, inverseTx, Y * ty, -reachAlong, double(l.length) + reachAlong);
    x0 = 1;
    x1 = 0;
    if (!(lo <= hi)) return;
    x0 = CeilToInt(lo + double(l.ax) - 0.5);
    x1 = FloorToInt(hi + double(l.ax) - 0.5);
  }
};

// Hands the sink (as DirectEllipse's) the coverage of every row in
// [rowFrom, rowTo) that the line reaches, within a width x height buffer.
// `coverage` holds at least width + 4 bytes.
template <typename Sink>
void DirectSegment(const PixelSegment& l, int width, int height, int rowFrom, int rowTo, uint8_t* coverage,
                   Sink&& sink) {
  if (width <= 0 || height <= 0) return;
  const float reach = l.halfWidth + kHalfDiagonal;
  const float ey = l.ay + l.ty * l.length;
  const int top = std::max({rowFrom, 0, FloorToInt(std::min(l.ay, ey) - reach - 0.5)});
  const int bottom = std::min({rowTo, height, CeilToInt(std::max(l.ay, ey) + reach + 0.5)});
  const Footprint f = FootprintAlong(l.tx, l.ty);
  const SegmentReach columns(l);
  for (int y = top; y < bottom; ++y) {
    int x0, x1;
    columns.Columns(l, y, reach, kHalfDiagonal, x0, x1);
    x0 = std::max(x0, 0);
    x1 = std::min(x1, width - 1);
    if (x0 > x1 || !sink.BeginRow(y)) continue;
    SegmentRowCoverage(l, f, x0, y, x1 - x0 + 1, coverage);
    sink.Covered(x0, coverage, x1 - x0 + 1);
  }
}

}  // namespace draw
