#include "draw/raster_direct.h"

#include <cmath>

namespace draw {

namespace {

// How many pixels a world unit spans under `m` when it only turns, mirrors
// and scales (which keeps an ellipse an ellipse and a pen as wide all
// round), else 0: a shear or a stretch is the polygons' to draw.
double SimilarityScale(const Affine& m) {
  const double scale = std::sqrt(m.a * m.a + m.b * m.b), other = std::sqrt(m.c * m.c + m.d * m.d);
  if (!(scale > 0 && std::isfinite(scale)) || std::fabs(scale - other) > 1e-6 * scale ||
      std::fabs(m.a * m.c + m.b * m.d) > 1e-6 * scale * scale)
    return 0;
  return scale;
}

// A pen's half width in pixels: one of no width draws one pixel wide, as the
// polygons' stroke does.
float PenHalfWidth(float penWidth, double scale) {
  return float(penWidth > 0 ? penWidth / 2.0 * scale : 0.5);
}

}  // namespace

bool MapEllipse(const Affine& m, float x, float y, float w, float h, bool band, float penWidth,
                PixelEllipse& out) {
  for (double v :
       {m.a, m.b, m.c, m.d, m.e, m.f, double(x), double(y), double(w), double(h), double(penWidth)}) {
    if (!std::isfinite(v)) return false;
  }
  if (!(w > 0 && h > 0)) return false;
  const double scale = SimilarityScale(m);
  if (scale == 0) return false;
  const double cx = x + w / 2.0, cy = y + h / 2.0;
  out.cx = float(m.a * cx + m.c * cy + m.e);
  out.cy = float(m.b * cx + m.d * cy + m.f);
  out.a = float(w / 2.0 * scale);
  out.b = float(h / 2.0 * scale);
  out.cosine = float(m.a / scale);
  out.sine = float(m.b / scale);
  out.band = band;
  out.halfWidth = band ? PenHalfWidth(penWidth, scale) : 0;
  const float low = std::min(out.a, out.b), high = std::max(out.a, out.b);
  if (!(std::fabs(out.cx) < 1e6f && std::fabs(out.cy) < 1e6f && high < 16384)) return false;
  if (band && out.halfWidth * 2 > kWidestDirectPen) return false;
  // At least a pixel across (semi-axes that round to 0 in floats leave the
  // measure no finite terms), and the tightest bend (radius low^2 / high at
  // the ends of the long axis) holds the pen's half width and a pixel more:
  // the distance's first order is good there, and the band's inner edge
  // does not fold over.
  return low >= 1 && low * low >= (out.halfWidth + 1) * high;
}

bool MapSegment(const Affine& m, PointF a, PointF b, float penWidth, PixelSegment& out) {
  for (double v :
       {m.a, m.b, m.c, m.d, m.e, m.f, double(a.x), double(a.y), double(b.x), double(b.y), double(penWidth)}) {
    if (!std::isfinite(v)) return false;
  }
  const double scale = SimilarityScale(m);
  if (scale == 0) return false;
  const double ax = m.a * a.x + m.c * a.y + m.e, ay = m.b * a.x + m.d * a.y + m.f;
  const double bx = m.a * b.x + m.c * b.y + m.e, by = m.b * b.x + m.d * b.y + m.f;
  const double length = std::sqrt((bx - ax) * (bx - ax) + (by - ay) * (by - ay));
  // A line shorter than this is the polygons' (which draw nothing for one
  // of no length); one far off or huge too.
  if (!(length >= 1.0 / 64 && length < 16384 && std::fabs(ax) < 1e6 && std::fabs(ay) < 1e6)) return false;
  out.ax = float(ax);
  out.ay = float(ay);
  out.tx = float((bx - ax) / length);
  out.ty = float((by - ay) / length);
  out.length = float(length);
  out.halfWidth = PenHalfWidth(penWidth, scale);
  return out.halfWidth * 2 <= kWidestDirectPen;
}

}  // namespace draw
