// Strokes as polygons: each figure of an outline flattened in world units,
// offset by half the pen's width on both sides, with mitred joins, flat or
// round ends, mapped into pixel space for a non-zero fill.
#include "draw/raster_stroke.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace draw {

namespace {

constexpr double kPi = 3.14159265358979323846;
// A mitred join longer than this many half widths is bevelled, as GDI+ and Qt
// do with their default miter limit.
constexpr double kMiterLimit = 10;

// Mapped pieces whose points reach further than this many pixels from the
// origin are clipped to the buffer before they become floats: a float there
// could no longer place their edges within a pixel (a pen 1e12 wide around a
// line of a few pixels).
constexpr double kFar = 65536;

// Twice the signed area of a closed polygon.
double TwiceArea(const PointD* p, int n) {
  double sum = 0;
  for (int i = 0, j = n - 1; i < n; j = i++) sum += p[j].x * p[i].y - p[i].x * p[j].y;
  return sum;
}

// The part of a polygon on one side of a line x = bound (axis 0) or y =
// bound (axis 1), as Sutherland and Hodgman clip: the winding of every point
// on that side stays as it was.
void ClipSide(const std::vector<PointD>& in, std::vector<PointD>& out, int axis, double bound, bool below) {
  out.clear();
  auto coordinate = [axis](PointD p) { return axis == 0 ? p.x : p.y; };
  auto inside = [&](PointD p) { return below ? coordinate(p) <= bound : coordinate(p) >= bound; };
  for (size_t i = 0; i < in.size(); ++i) {
    const PointD a = in[i], b = in[(i + 1) % in.size()];
    if (inside(a)) out.push_back(a);
    if (inside(a) != inside(b)) {
      const double t = (bound - coordinate(a)) / (coordinate(b) - coordinate(a));
      out.push_back(axis == 0 ? PointD{bound, a.y + (b.y - a.y) * t} : PointD{a.x + (b.x - a.x) * t, bound});
    }
  }
}

// Adds a polygon given in world units to the contours, mapped into pixel
// space. One that reaches far is mapped in double and clipped there to the
// buffer (and a pixel around it) before its points become floats.
void AddMapped(const StrokeTarget& target, const PointD* p, int n, StrokeScratch& scratch) {
  const Affine& m = target.transform;
  std::vector<PointD>& mapped = scratch.mapped;
  mapped.resize(size_t(n));
  bool far = false;
  for (int i = 0; i < n; ++i) {
    const PointD q{m.a * p[i].x + m.c * p[i].y + m.e, m.b * p[i].x + m.d * p[i].y + m.f};
    far = far || !(std::fabs(q.x) <= kFar && std::fabs(q.y) <= kFar);
    mapped[size_t(i)] = q;
  }
  if (!far) {
    for (int i = 0; i < n; ++i) target.contours.points.push_back(m.Map({float(p[i].x), float(p[i].y)}));
  } else {
    std::vector<PointD>& other = scratch.clipped;
    ClipSide(mapped, other, 0, -1, false);
    ClipSide(other, mapped, 0, target.width + 1, true);
    ClipSide(mapped, other, 1, -1, false);
    ClipSide(other, mapped, 1, target.height + 1, true);
    for (const PointD q : mapped) target.contours.points.push_back({float(q.x), float(q.y)});
  }
  target.contours.Close();
}

// Adds one piece of a stroke, mapped to pixel space. Every piece turns the
// same way in world units (a mirroring transform turns them all together), so
// that a non-zero fill covers their union once.
void AddPiece(const StrokeTarget& target, PointD* piece, int n, StrokeScratch& scratch) {
  const double area = TwiceArea(piece, n);
  if (area == 0) return;
  if (area < 0) std::reverse(piece, piece + n);
  AddMapped(target, piece, n, scratch);
}

// Adds the two sides of a closed stroke: the outer one turning the way every
// piece does, the inner one against it, so that only the band between them
// is covered.
void AddRing(const StrokeTarget& target, std::vector<PointD>& a, std::vector<PointD>& b,
             StrokeScratch& scratch) {
  const int n = int(a.size());
  double areaA = TwiceArea(a.data(), n), areaB = TwiceArea(b.data(), n);
  if (std::fabs(areaA) < std::fabs(areaB)) {
    std::swap(a, b);
    std::swap(areaA, areaB);
  }
  if (areaA < 0) std::reverse(a.begin(), a.end());
  if (areaB > 0) std::reverse(b.begin(), b.end());
  for (const std::vector<PointD>* side : {&a, &b}) AddMapped(target, side->data(), n, scratch);
}

// The stroke of one polyline in world units. Where the line bends gently
// (a turn under 90 degrees whose corner is short against its segments), the
// stroke is one band between the line's two mitred offsets; at sharper
// corners bands end flat and a mitred (or bevelled) wedge fills the corner.
// Either way the union is the stroke with mitred joins, in few edges.
void StrokeLine(const PointF* p, int n, bool closed, const StrokeStyle& style, double halfWidth,
                double flatness, const StrokeTarget& target, StrokeScratch& scratch) {
  if (n < 2) return;
  const int segments = closed ? n : n - 1;
  std::vector<Vec>& directions = scratch.directions;
  std::vector<double>& lengths = scratch.lengths;
  directions.resize(size_t(segments));
  lengths.resize(size_t(segments));
  for (int i = 0; i < segments; ++i) {
    const PointF a = p[i], b = p[(i + 1) % n];
    const double dx = double(b.x) - a.x, dy = double(b.y) - a.y;
    const double length = std::sqrt(dx * dx + dy * dy);
    directions[size_t(i)] = {dx / length, dy / length};
    lengths[size_t(i)] = length;
  }
  auto offset = [](PointF q, Vec normal, double k) { return PointD{q.x + normal.x * k, q.y + normal.y * k}; };
  auto incoming = [&](int i) { return size_t((i - 1 + segments) % segments); };
  auto isJoin = [&](int i) { return closed || (i > 0 && i < n - 1); };

  std::vector<uint8_t>& sharp = scratch.sharp;
  sharp.assign(size_t(n), 0);
  int firstSharp = -1;
  for (int i = 0; i < n; ++i) {
    if (!isJoin(i)) continue;
    const Vec u = directions[incoming(i)], v = directions[size_t(i)];
    const double cross = u.x * v.y - u.y * v.x, dot = u.x * v.x + u.y * v.y;
    const bool gentle = dot > 0 && halfWidth * std::fabs(cross) / (1 + dot) <=
                                       0.5 * std::min(lengths[incoming(i)], lengths[size_t(i)]);
    if (!gentle) {
      sharp[size_t(i)] = 1;
      if (firstSharp < 0) firstSharp = i;
    }
  }

  std::vector<PointD>& left = scratch.left;
  std::vector<PointD>& right = scratch.right;
  // The offsets of vertex i within a band: the miter where the band goes on,
  // the segment's own normal where it ends flat.
  auto addOffsets = [&](int i, bool bandEnd, size_t segment) {
    Vec normal;
    if (bandEnd) {
      const Vec u = directions[segment];
      normal = {-u.y, u.x};
    } else {
      const Vec u = directions[incoming(i)], v = directions[size_t(i)];
      const double k = 1 / (1 + u.x * v.x + u.y * v.y);
      normal = {-(u.y + v.y) * k, (u.x + v.x) * k};
    }
    left.push_back(offset(p[i], normal, halfWidth));
    right.push_back(offset(p[i], normal, -halfWidth));
  };

  if (closed && firstSharp < 0) {
    left.clear();
    right.clear();
    for (int i = 0; i < n; ++i) addOffsets(i, false, 0);
    AddRing(target, left, right, scratch);
    return;
  }

  // Bands from break to break: open ends and sharp corners.
  const int start = closed ? firstSharp : 0;
  int vertex = start;
  for (int done = 0; done < segments;) {
    left.clear();
    right.clear();
    addOffsets(vertex, true, size_t(vertex % segments));
    int k = vertex;
    do {
      ++done;
      k = (k + 1) % n;
      const bool end = sharp[size_t(k)] || !isJoin(k) || done == segments;
      addOffsets(k, end, incoming(k));
      if (end) break;
    } while (true);
    left.insert(left.end(), right.rbegin(), right.rend());
    AddPiece(target, left.data(), int(left.size()), scratch);
    vertex = k;
  }

  // Wedges at the sharp corners.
  for (int i = 0; i < n; ++i) {
    if (!sharp[size_t(i)]) continue;
    const Vec u = directions[incoming(i)], v = directions[size_t(i)];
    const double cross = u.x * v.y - u.y * v.x, dot = u.x * v.x + u.y * v.y;
    if (std::fabs(cross) < 1e-9 && dot > 0) continue;  // straight on
    const double side = cross > 0 ? -1 : 1;
    const Vec nu{-u.y * side, u.x * side}, nv{-v.y * side, v.x * side};
    const PointF c = p[i];
    const double cosHalf = std::sqrt(std::max(0.0, (1 + nu.x * nv.x + nu.y * nv.y) / 2));
    if (cosHalf * kMiterLimit >= 1) {
      const double k = halfWidth / (2 * cosHalf * cosHalf);  // along nu + nv, to the miter's tip
      PointD miter[4] = {{c.x, c.y},
                         offset(c, nu, halfWidth),
                         offset(c, {nu.x + nv.x, nu.y + nv.y}, k),
                         offset(c, nv, halfWidth)};
      AddPiece(target, miter, 4, scratch);
    } else {
      PointD bevel[3] = {{c.x, c.y}, offset(c, nu, halfWidth), offset(c, nv, halfWidth)};
      AddPiece(target, bevel, 3, scratch);
    }
  }
  if (closed) return;
  // Round ends: a disc at each, its polygon as fine as the flatness asks.
  const double step = 2 * std::acos(std::max(-1.0, 1 - flatness / halfWidth));
  const int sides = std::clamp(int(std::ceil(2 * kPi / std::max(step, 1e-3))), 8, 256);
  std::vector<PointD>& disc = scratch.left;
  disc.resize(size_t(sides));
  for (const auto& [cap, at] : {std::pair{style.roundStart, p[0]}, std::pair{style.roundEnd, p[n - 1]}}) {
    if (!cap) continue;
    for (int k = 0; k < sides; ++k) {
      const double angle = 2 * kPi * k / sides;
      disc[size_t(k)] = {at.x + halfWidth * std::cos(angle), at.y + halfWidth * std::sin(angle)};
    }
    AddPiece(target, disc.data(), sides, scratch);
  }
}

}  // namespace

void Polylines::Clear() {
  points.clear();
  ends.clear();
  closed.clear();
}

void StrokeOutline(const Outline& outline, const StrokeStyle& style, const StrokeTarget& target,
                   StrokeScratch& scratch) {
  Polylines& lines = scratch.lines;
  const double scale = LargestScale(target.transform);
  if (!(scale > 0) || !std::isfinite(scale)) return;
  // A pen of no width draws one pixel wide, as both native backends do.
  const double halfWidth = style.width > 0 ? style.width / 2.0 : 0.5 / scale;
  const double flatness = kFlatness / scale;

  // The figures flattened in world units, repeated points dropped.
  lines.Clear();
  size_t next = 0;
  auto endLine = [&](bool closed) {
    const int first = lines.ends.empty() ? 0 : lines.ends.back();
    if (int(lines.points.size()) == first) return;
    if (closed && int(lines.points.size()) - first > 1) {
      const PointF a = lines.points[size_t(first)], b = lines.points.back();
      if (a.x == b.x && a.y == b.y) lines.points.pop_back();
    }
    lines.ends.push_back(int(lines.points.size()));
    lines.closed.push_back(closed);
  };
  auto add = [&](PointF p) {
    const int first = lines.ends.empty() ? 0 : lines.ends.back();
    if (int(lines.points.size()) > first) {
      const PointF last = lines.points.back();
      if (last.x == p.x && last.y == p.y) return;
    }
    lines.points.push_back(p);
  };
  bool figure = false;
  std::vector<PointF>& curve = scratch.curve;
  for (uint8_t verb : outline.verbs) {
    switch (verb) {
      case Outline::kMove:
        if (figure) endLine(false);
        add(outline.points[next++]);
        figure = true;
        break;
      case Outline::kLine:
        add(outline.points[next++]);
        break;
      case Outline::kCubic: {
        curve.clear();
        AppendCubic(curve, lines.points.back(), outline.points[next], outline.points[next + 1],
                    outline.points[next + 2], flatness);
        next += 3;
        for (PointF p : curve) add(p);
        break;
      }
      case Outline::kClose:
        if (figure) endLine(true);
        figure = false;
        break;
    }
  }
  if (figure) endLine(false);

  int first = 0;
  for (size_t k = 0; k < lines.ends.size(); ++k) {
    StrokeLine(lines.points.data() + first, lines.ends[k] - first, lines.closed[k] != 0, style, halfWidth,
               flatness, target, scratch);
    first = lines.ends[k];
  }
}

}  // namespace draw
