// Geometry of the toolkit's own rasteriser: the world transform, figures
// (lines and cubic Beziers, as a path's calls describe them), their flattening
// into polygons in pixel space, and the outlines of strokes.
#pragma once

#include <cstdint>
#include <vector>

#include "draw/span_filler.h"
#include "draw/toolkit.h"
#include "draw/toolkit_objects.h"

namespace draw {

// A direction or offset in world units.
struct Vec {
  double x, y;
};

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

// Open or closed polylines: line k runs over points [ends[k-1], ends[k]).
struct Polylines {
  std::vector<PointF> points;
  std::vector<int> ends;
  std::vector<uint8_t> closed;

  void Clear();
};

// Every figure, mapped by `m` into pixel space and flattened there: the
// polygons a fill covers (each figure closed).
void FlattenForFill(const Outline& outline, const Affine& m, Contours& out);

// How a pen strokes: width in world units, round ends on request, mitred
// joins (bevelled beyond a miter length of 10 widths' halves).
struct StrokeStyle {
  float width = 1;
  bool roundStart = false;
  bool roundEnd = false;
};

// Memory StrokeOutline reuses from one call to the next.
struct StrokeScratch {
  Polylines lines;
  std::vector<Vec> directions;
  std::vector<double> lengths;
  std::vector<uint8_t> sharp;
  std::vector<PointF> left;
  std::vector<PointF> right;
};

// The outline of the stroke of every figure as polygons in pixel space,
// covering the stroke with winding +1 (a non-zero fill covers their union
// once). The stroke is built in world units (a scaled world scales the pen
// too) and mapped by `m`.
void StrokeOutline(const Outline& outline, const StrokeStyle& style, const Affine& m, StrokeScratch& scratch,
                   Contours& out);

}  // namespace draw
