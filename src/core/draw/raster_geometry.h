// Geometry of the toolkit's own rasteriser: the world transform, figures
// (lines and cubic Beziers, as a path's calls describe them) and their
// flattening into polygons in pixel space. Strokes: raster_stroke.
#pragma once

#include <cstdint>
#include <vector>

#include "draw/raster_scan.h"
#include "draw/toolkit.h"
#include "draw/toolkit_objects.h"

namespace draw {

// x' = a x + c y + e, y' = b x + d y + f.
struct Affine {
  double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;

  PointF Map(PointF p) const { return {float(a * p.x + c * p.y + e), float(b * p.x + d * p.y + f)}; }
};

Affine Translation(double dx, double dy);
Affine Scaling(double sx, double sy);
Affine Rotation(double degrees);  // clockwise on screen (y down)
// `t` applied first, then `m`: the toolkit's prepended order.
Affine Prepend(const Affine& m, const Affine& t);
// The transform undoing `m`; false when `m` flattens the plane.
bool Invert(const Affine& m, Affine& inverse);
// How many pixels one world unit spans at most.
double LargestScale(const Affine& m);

// Figures made of straight lines and cubic Beziers. Each figure starts with
// kMove; kCubic takes three points (two controls and the end); kClose closes
// the figure it ends.
struct Outline {
  enum Verb : uint8_t { kMove, kLine, kCubic, kClose };
  std::vector<uint8_t> verbs;
  std::vector<PointF> points;

  void Clear();
  void MoveTo(PointF p);
  void LineTo(PointF p);
  void CubicTo(PointF c1, PointF c2, PointF end);
  void Close();
};

// The figures of a path, made from its calls as GDI+ makes them: polygons and
// ellipses are closed figures of their own, line strips, Beziers and arcs
// extend the open figure with a straight joint.
void AppendPathCalls(const PathData& path, Outline& out);
// An ellipse in its box as a closed figure of four Beziers.
void AppendEllipse(Outline& out, float x, float y, float w, float h);
// The arc of the ellipse in the box from startDegrees sweeping clockwise by
// sweepDegrees, both measured on the ellipse as GDI+ does; joined to the open
// figure by a straight line when `join`, otherwise a figure of its own.
void AppendArc(Outline& out, bool join, float x, float y, float w, float h, float startDegrees,
               float sweepDegrees);

// Largest distance, in pixels, between a curve and the polygon drawn for it.
constexpr double kFlatness = 0.2;

// Appends the cubic p0 p1 p2 p3 as straight segments that keep within
// `flatness` of it (in the units of the points): the points after p0.
void AppendCubic(std::vector<PointF>& out, PointF p0, PointF p1, PointF p2, PointF p3, double flatness);

// Every figure, mapped by `m` into pixel space and flattened there: the
// polygons a fill covers (each figure closed).
void FlattenForFill(const Outline& outline, const Affine& m, Contours& out);

}  // namespace draw
