#include "draw/raster_geometry.h"

#include <algorithm>
#include <cmath>

namespace draw {

namespace {

constexpr double kPi = 3.14159265358979323846;
// Beziers of a quarter ellipse: the control points' distance, in radii.
constexpr float kKappa = 0.5522847498f;

// Straight segments that keep a cubic within kFlatness of its polygon
// (Wang's bound on the second differences), in the units of the points.
int CubicSegments(PointF p0, PointF p1, PointF p2, PointF p3, double flatness) {
  const double ax = p0.x - 2 * p1.x + p2.x, ay = p0.y - 2 * p1.y + p2.y;
  const double bx = p1.x - 2 * p2.x + p3.x, by = p1.y - 2 * p2.y + p3.y;
  const double dd = std::sqrt(std::max(ax * ax + ay * ay, bx * bx + by * by));
  const double root = std::sqrt(0.75 * dd / flatness);
  if (!(root > 1)) return 1;  // also NaN
  return root > 500 ? 500 : CeilToInt(root);
}

// GDI+ measures an arc angle as the direction from the centre to the point on
// the ellipse; the Bezier construction below uses the parametric angle.
double ParametricRadians(double degrees, double rx, double ry) {
  const double t = degrees * kPi / 180;
  if (rx <= 0 || ry <= 0 || rx == ry) return t;
  const double u = std::atan2(rx * std::sin(t), ry * std::cos(t));
  // u lies in t's quadrant; keep the whole turns of t.
  return u + std::round((t - u) / (2 * kPi)) * 2 * kPi;
}

}  // namespace

void AppendCubic(std::vector<PointF>& out, PointF p0, PointF p1, PointF p2, PointF p3, double flatness) {
  const int n = CubicSegments(p0, p1, p2, p3, flatness);
  for (int i = 1; i < n; ++i) {
    const float t = float(i) / float(n), u = 1 - t;
    const float b0 = u * u * u, b1 = 3 * u * u * t, b2 = 3 * u * t * t, b3 = t * t * t;
    out.push_back(
        {b0 * p0.x + b1 * p1.x + b2 * p2.x + b3 * p3.x, b0 * p0.y + b1 * p1.y + b2 * p2.y + b3 * p3.y});
  }
  out.push_back(p3);
}

Affine Translation(double dx, double dy) {
  return {1, 0, 0, 1, dx, dy};
}

Affine Scaling(double sx, double sy) {
  return {sx, 0, 0, sy, 0, 0};
}

Affine Rotation(double degrees) {
  const double r = degrees * kPi / 180, c = std::cos(r), s = std::sin(r);
  return {c, s, -s, c, 0, 0};
}

Affine Prepend(const Affine& m, const Affine& t) {
  return {m.a * t.a + m.c * t.b, m.b * t.a + m.d * t.b,       m.a * t.c + m.c * t.d,
          m.b * t.c + m.d * t.d, m.a * t.e + m.c * t.f + m.e, m.b * t.e + m.d * t.f + m.f};
}

bool Invert(const Affine& m, Affine& inverse) {
  const double det = m.a * m.d - m.b * m.c;
  if (det == 0 || !std::isfinite(det)) return false;
  inverse.a = m.d / det;
  inverse.b = -m.b / det;
  inverse.c = -m.c / det;
  inverse.d = m.a / det;
  inverse.e = -(inverse.a * m.e + inverse.c * m.f);
  inverse.f = -(inverse.b * m.e + inverse.d * m.f);
  return true;
}

double LargestScale(const Affine& m) {
  return std::max(std::hypot(m.a, m.b), std::hypot(m.c, m.d));
}

void Outline::Clear() {
  verbs.clear();
  points.clear();
}
void Outline::MoveTo(PointF p) {
  verbs.push_back(kMove);
  points.push_back(p);
}
void Outline::LineTo(PointF p) {
  verbs.push_back(kLine);
  points.push_back(p);
}
void Outline::CubicTo(PointF c1, PointF c2, PointF end) {
  verbs.push_back(kCubic);
  points.push_back(c1);
  points.push_back(c2);
  points.push_back(end);
}
void Outline::Close() {
  verbs.push_back(kClose);
}

void AppendEllipse(Outline& out, float x, float y, float w, float h) {
  const float rx = w / 2, ry = h / 2, cx = x + rx, cy = y + ry;
  const float kx = kKappa * rx, ky = kKappa * ry;
  // Clockwise on screen from the rightmost point, as GDI+ adds it.
  out.MoveTo({cx + rx, cy});
  out.CubicTo({cx + rx, cy + ky}, {cx + kx, cy + ry}, {cx, cy + ry});
  out.CubicTo({cx - kx, cy + ry}, {cx - rx, cy + ky}, {cx - rx, cy});
  out.CubicTo({cx - rx, cy - ky}, {cx - kx, cy - ry}, {cx, cy - ry});
  out.CubicTo({cx + kx, cy - ry}, {cx + rx, cy - ky}, {cx + rx, cy});
  out.Close();
}

void AppendArc(Outline& out, bool join, float x, float y, float w, float h, float startDegrees,
               float sweepDegrees) {
  const double rx = w / 2.0, ry = h / 2.0, cx = x + rx, cy = y + ry;
  const double sweep = std::clamp(double(sweepDegrees), -360.0, 360.0);
  const double a0 = ParametricRadians(startDegrees, rx, ry);
  const double a1 = ParametricRadians(startDegrees + sweep, rx, ry);
  auto at = [&](double a) { return PointF{float(cx + rx * std::cos(a)), float(cy + ry * std::sin(a))}; };
  if (join) {
    out.LineTo(at(a0));
  } else {
    out.MoveTo(at(a0));
  }
  if (!std::isfinite(a1 - a0)) return;
  const int n = std::max(1, int(std::ceil(std::fabs(a1 - a0) / (kPi / 2) - 1e-9)));
  const double step = (a1 - a0) / n, k = 4.0 / 3.0 * std::tan(step / 4);
  for (int i = 0; i < n; ++i) {
    const double t0 = a0 + step * i, t1 = t0 + step;
    const PointF p0 = at(t0), p1 = at(t1);
    out.CubicTo({float(p0.x - k * rx * std::sin(t0)), float(p0.y + k * ry * std::cos(t0))},
                {float(p1.x + k * rx * std::sin(t1)), float(p1.y - k * ry * std::cos(t1))}, p1);
  }
}

void AppendPathCalls(const PathData& path, Outline& out) {
  bool open = false;  // the next line strip, Bezier or arc joins the figure
  for (const PathCall& call : path.calls) {
    const PointF* p = path.points.data() + call.first;
    const float* a = call.args;
    switch (call.kind) {
      case PathCallKind::kStartFigure:
        open = false;
        break;
      case PathCallKind::kCloseFigure:
        if (open) out.Close();
        open = false;
        break;
      case PathCallKind::kEllipse:
        AppendEllipse(out, a[0], a[1], a[2], a[3]);
        open = false;
        break;
      case PathCallKind::kPolygon:
        out.MoveTo(p[0]);
        for (int i = 1; i < call.count; ++i) out.LineTo(p[i]);
        out.Close();
        open = false;
        break;
      case PathCallKind::kLines:
        if (open) {
          out.LineTo(p[0]);
        } else {
          out.MoveTo(p[0]);
        }
        for (int i = 1; i < call.count; ++i) out.LineTo(p[i]);
        open = true;
        break;
      case PathCallKind::kBezier: {
        if (!open) {
          out.MoveTo(p[0]);
        } else {
          const PointF last = out.points.back();
          if (last.x != p[0].x || last.y != p[0].y) out.LineTo(p[0]);
        }
        out.CubicTo(p[1], p[2], p[3]);
        open = true;
        break;
      }
      case PathCallKind::kArc:
        AppendArc(out, open, a[0], a[1], a[2], a[3], a[4], a[5]);
        open = true;
        break;
    }
  }
}

void FlattenForFill(const Outline& outline, const Affine& m, Contours& out) {
  size_t next = 0;
  bool figure = false;
  for (uint8_t verb : outline.verbs) {
    switch (verb) {
      case Outline::kMove:
        if (figure) out.Close();
        out.points.push_back(m.Map(outline.points[next++]));
        figure = true;
        break;
      case Outline::kLine:
        out.points.push_back(m.Map(outline.points[next++]));
        break;
      case Outline::kCubic: {
        const PointF p0 = out.points.back();
        const PointF p1 = m.Map(outline.points[next]), p2 = m.Map(outline.points[next + 1]),
                     p3 = m.Map(outline.points[next + 2]);
        next += 3;
        AppendCubic(out.points, p0, p1, p2, p3, kFlatness);
        break;
      }
      case Outline::kClose:
        break;  // a fill closes every figure anyway
    }
  }
  if (figure) out.Close();
}

}  // namespace draw
