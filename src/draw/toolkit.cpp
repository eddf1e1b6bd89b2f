// The backend-independent part of the toolkit: numeric helpers and the short
// forms, all written over the primitive calls a backend provides.
#include "draw/toolkit.h"

#include <cmath>

float Sin(double radians) {
  return float(std::sin(radians));
}
float Cos(double radians) {
  return float(std::cos(radians));
}
float Abs(float value) {
  return std::fabs(value);
}

Brush GradientBrushI(int x1, int y1, Color c1, int x2, int y2, Color c2) {
  return GradientBrush({float(x1), float(y1)}, c1, {float(x2), float(y2)}, c2);
}

Pen RoundPen(Color color, float width) {
  Pen pen = MakePen(color, width);
  SetRoundStartCap(pen);
  SetRoundEndCap(pen);
  return pen;
}

Path EllipsePath(float x, float y, float w, float h) {
  Path path = MakePath();
  AddEllipse(path, x, y, w, h);
  return path;
}

int AddEllipseI(Path& path, int x, int y, int w, int h) {
  return AddEllipse(path, float(x), float(y), float(w), float(h));
}

Path PolygonPath(const PointF* points, int count) {
  Path path = MakePath();
  AddPolygon(path, points, count);
  return path;
}

Path PolygonPath(std::initializer_list<PointF> points) {
  return PolygonPath(points.begin(), int(points.size()));
}

Path LinesPath(const PointF* points, int count) {
  Path path = MakePath();
  AddLines(path, points, count);
  return path;
}

int FillPolygon(Graphics& g, const Brush& brush, const PointF* points, int count) {
  Path path = PolygonPath(points, count);
  int status = FillPath(g, brush, path);
  // A polygon the path refused (too few points) is this call's failure too.
  if (status == kStatusOk && path.lastStatus != kStatusOk) {
    status = path.lastStatus;
    g.lastStatus = status;
  }
  return status;
}

int FillPolygon(Graphics& g, const Brush& brush, std::initializer_list<PointF> points) {
  return FillPolygon(g, brush, points.begin(), int(points.size()));
}

int FillRectangleI(Graphics& g, const Brush& brush, int x, int y, int w, int h) {
  return FillRectangle(g, brush, float(x), float(y), float(w), float(h));
}

int DrawLine(Graphics& g, const Pen& pen, PointF p1, PointF p2) {
  return DrawLine(g, pen, p1.x, p1.y, p2.x, p2.y);
}

int DrawLineI(Graphics& g, const Pen& pen, int x1, int y1, int x2, int y2) {
  return DrawLine(g, pen, float(x1), float(y1), float(x2), float(y2));
}
