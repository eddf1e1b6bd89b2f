// Strokes of the toolkit's own rasteriser: the outline of a pen's stroke
// along every figure, as polygons in pixel space that a non-zero fill covers.
#pragma once

#include <cstdint>
#include <vector>

#include "draw/raster_geometry.h"
#include "draw/raster_scan.h"
#include "draw/toolkit.h"

namespace draw {

// A direction or offset in world units.
struct Vec {
  double x, y;
};

// A point of a stroke's outline, in double: a pen far wider than its line
// would leave the line's own position to the last bits of a float.
struct PointD {
  double x, y;
};

// Open or closed polylines: line k runs over points [ends[k-1], ends[k]).
struct Polylines {
  std::vector<PointF> points;
  std::vector<int> ends;
  std::vector<uint8_t> closed;

  void Clear();
};

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
  std::vector<PointD> left;
  std::vector<PointD> right;
  std::vector<PointD> mapped;
  std::vector<PointD> clipped;
  std::vector<PointF> curve;
};

// Where a stroke goes: the world transform into pixel space, the buffer's
// size there (pieces reaching far outside it are clipped to it), and the
// contours that receive its outline.
struct StrokeTarget {
  const Affine& transform;
  double width;
  double height;
  Contours& contours;
};

// The outline of the stroke of every figure as polygons in pixel space,
// covering the stroke with winding +1 (a non-zero fill covers their union
// once). The stroke is built in world units (a scaled world scales the pen
// too) and mapped into the target.
void StrokeOutline(const Outline& outline, const StrokeStyle& style, const StrokeTarget& target,
                   StrokeScratch& scratch);

}  // namespace draw
