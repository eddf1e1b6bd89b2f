// What the toolkit's pens, brushes and paths hold (toolkit-internal): a
// portable description that the rasteriser draws from directly, and the
// native object a backend makes from it on first use and keeps until the
// toolkit object goes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "draw/toolkit.h"

namespace draw {

struct BrushData {
  bool gradient = false;
  Color c1 = 0;  // the solid colour, or the gradient's colour at p1
  Color c2 = 0;
  PointF p1;
  PointF p2;
  void* backend = nullptr;
};

struct PenData {
  Color color = 0;
  float width = 0;
  bool roundStart = false;
  bool roundEnd = false;
  void* backend = nullptr;
};

// A path is kept as the calls that built it, in order. A backend replays them
// on its native path, so the native picture is made by the very calls the
// figure issued; the rasteriser reads them as figures.
enum class PathCallKind : uint8_t { kStartFigure, kCloseFigure, kEllipse, kPolygon, kLines, kBezier, kArc };

struct PathCall {
  PathCallKind kind = PathCallKind::kStartFigure;
  float args[6] = {};  // ellipse: x y w h; arc: x y w h start sweep
  int first = 0;       // polygon, lines, Bezier: their points in PathData::points
  int count = 0;
};

struct PathData {
  std::vector<PathCall> calls;
  std::vector<PointF> points;
  void* backend = nullptr;
  size_t replayed = 0;  // calls already replayed on `backend`
};

inline BrushData* BrushDataOf(const Brush& brush) {
  return static_cast<BrushData*>(brush.native);
}
inline PenData* PenDataOf(const Pen& pen) {
  return static_cast<PenData*>(pen.native);
}
inline PathData* PathDataOf(const Path& path) {
  return static_cast<PathData*>(path.native);
}

// Records a non-zero status as the object's last status; returns it.
inline int RecordStatus(NativeObject& object, int status) {
  if (status != kStatusOk) object.lastStatus = status;
  return status;
}

}  // namespace draw
