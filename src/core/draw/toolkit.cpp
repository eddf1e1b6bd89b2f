// The portable part of the toolkit: numeric helpers, the pens, brushes and
// paths as portable descriptions, the short forms, and the dispatch of every
// graphics call to the native backend or to the rasteriser.
#include "draw/toolkit.h"

#include <cmath>

#include "draw/toolkit_backends.h"
#include "draw/toolkit_objects.h"

namespace draw {

float Sin(double radians) {
  return float(std::sin(radians));
}
float Cos(double radians) {
  return float(std::cos(radians));
}
float Abs(float value) {
  return std::fabs(value);
}

// ---- objects ----

Brush::~Brush() {
  if (BrushData* data = BrushDataOf(*this)) {
    if (data->backend) FreeNativeBrush(data->backend);
    delete data;
  }
}

Pen::~Pen() {
  if (PenData* data = PenDataOf(*this)) {
    if (data->backend) FreeNativePen(data->backend);
    delete data;
  }
}

Path::~Path() {
  if (PathData* data = PathDataOf(*this)) {
    if (data->backend) FreeNativePath(data->backend);
    delete data;
  }
}

Graphics::~Graphics() {
  if (!native) return;
  if (raster) {
    FreeRasterGraphics(native);
  } else {
    FreeNativeGraphics(native);
  }
}

Brush SolidBrush(Color color) {
  Brush brush;
  brush.native = new BrushData{false, color, color, {}, {}, nullptr};
  return brush;
}

Brush GradientBrush(PointF p1, Color c1, PointF p2, Color c2) {
  Brush brush;
  if (p1.x == p2.x && p1.y == p2.y) {
    // GDI+ cannot make a gradient without a direction, and says so this way.
    brush.lastStatus = kStatusOutOfMemory;
    return brush;
  }
  brush.native = new BrushData{true, c1, c2, p1, p2, nullptr};
  return brush;
}

Brush GradientBrushI(int x1, int y1, Color c1, int x2, int y2, Color c2) {
  return GradientBrush({float(x1), float(y1)}, c1, {float(x2), float(y2)}, c2);
}

namespace {

// A native pen made before a change of caps is made again on its next use.
void ForgetNativePen(PenData& data) {
  if (data.backend) FreeNativePen(data.backend);
  data.backend = nullptr;
}

}  // namespace

Pen MakePen(Color color, float width) {
  Pen pen;
  pen.native = new PenData{color, width, false, false, nullptr};
  return pen;
}

int SetRoundStartCap(Pen& pen) {
  PenData* data = PenDataOf(pen);
  if (!data) return RecordStatus(pen, kStatusInvalidParameter);
  data->roundStart = true;
  ForgetNativePen(*data);
  return kStatusOk;
}

int SetRoundEndCap(Pen& pen) {
  PenData* data = PenDataOf(pen);
  if (!data) return RecordStatus(pen, kStatusInvalidParameter);
  data->roundEnd = true;
  ForgetNativePen(*data);
  return kStatusOk;
}

Pen RoundPen(Color color, float width) {
  Pen pen = MakePen(color, width);
  SetRoundStartCap(pen);
  SetRoundEndCap(pen);
  return pen;
}

// ---- paths: every call recorded as issued ----

namespace {

int Record(Path& path, PathCall call, const PointF* points = nullptr, int count = 0) {
  PathData* data = PathDataOf(path);
  if (!data) return RecordStatus(path, kStatusInvalidParameter);
  call.first = int(data->points.size());
  call.count = count;
  data->points.insert(data->points.end(), points, points + count);
  data->calls.push_back(call);
  return kStatusOk;
}

PathCall Call(PathCallKind kind, float a = 0, float b = 0, float c = 0, float d = 0, float e = 0,
              float f = 0) {
  PathCall call;
  call.kind = kind;
  const float args[6] = {a, b, c, d, e, f};
  for (int i = 0; i < 6; ++i) call.args[i] = args[i];
  return call;
}

}  // namespace

Path MakePath() {
  Path path;
  path.native = new PathData;
  return path;
}

int StartFigure(Path& path) {
  return Record(path, Call(PathCallKind::kStartFigure));
}

int CloseFigure(Path& path) {
  return Record(path, Call(PathCallKind::kCloseFigure));
}

int AddEllipse(Path& path, float x, float y, float w, float h) {
  return Record(path, Call(PathCallKind::kEllipse, x, y, w, h));
}

int AddEllipseI(Path& path, int x, int y, int w, int h) {
  return AddEllipse(path, float(x), float(y), float(w), float(h));
}

int AddPolygon(Path& path, const PointF* points, int count) {
  if (!points || count < 3) return RecordStatus(path, kStatusInvalidParameter);
  return Record(path, Call(PathCallKind::kPolygon), points, count);
}

int AddLines(Path& path, const PointF* points, int count) {
  if (!points || count < 1) return RecordStatus(path, kStatusInvalidParameter);
  return Record(path, Call(PathCallKind::kLines), points, count);
}

int AddBezier(Path& path, PointF p0, PointF p1, PointF p2, PointF p3) {
  const PointF points[4] = {p0, p1, p2, p3};
  return Record(path, Call(PathCallKind::kBezier), points, 4);
}

int AddArcI(Path& path, int x, int y, int w, int h, float startDegrees, float sweepDegrees) {
  return Record(path,
                Call(PathCallKind::kArc, float(x), float(y), float(w), float(h), startDegrees, sweepDegrees));
}

Path EllipsePath(float x, float y, float w, float h) {
  Path path = MakePath();
  AddEllipse(path, x, y, w, h);
  return path;
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

// ---- graphics calls: the native backend, or the rasteriser ----

int Translate(Graphics& g, float dx, float dy) {
  return g.raster ? RasterTranslate(g, dx, dy) : NativeTranslate(g, dx, dy);
}

int Scale(Graphics& g, float sx, float sy) {
  return g.raster ? RasterScale(g, sx, sy) : NativeScale(g, sx, sy);
}

int Rotate(Graphics& g, float degrees) {
  return g.raster ? RasterRotate(g, degrees) : NativeRotate(g, degrees);
}

uint32_t SaveState(Graphics& g) {
  return g.raster ? RasterSaveState(g) : NativeSaveState(g);
}

int RestoreState(Graphics& g, uint32_t token) {
  return g.raster ? RasterRestoreState(g, token) : NativeRestoreState(g, token);
}

int ClipToPath(Graphics& g, const Path& path) {
  return g.raster ? RasterClipToPath(g, path) : NativeClipToPath(g, path);
}

int FillPath(Graphics& g, const Brush& brush, const Path& path) {
  return g.raster ? RasterFillPath(g, brush, path) : NativeFillPath(g, brush, path);
}

int DrawPath(Graphics& g, const Pen& pen, const Path& path) {
  return g.raster ? RasterDrawPath(g, pen, path) : NativeDrawPath(g, pen, path);
}

int FillEllipse(Graphics& g, const Brush& brush, float x, float y, float w, float h) {
  return g.raster ? RasterFillEllipse(g, brush, x, y, w, h) : NativeFillEllipse(g, brush, x, y, w, h);
}

int DrawEllipse(Graphics& g, const Pen& pen, float x, float y, float w, float h) {
  return g.raster ? RasterDrawEllipse(g, pen, x, y, w, h) : NativeDrawEllipse(g, pen, x, y, w, h);
}

int FillRectangle(Graphics& g, const Brush& brush, float x, float y, float w, float h) {
  return g.raster ? RasterFillRectangle(g, brush, x, y, w, h) : NativeFillRectangle(g, brush, x, y, w, h);
}

int DrawLine(Graphics& g, const Pen& pen, float x1, float y1, float x2, float y2) {
  return g.raster ? RasterDrawLine(g, pen, x1, y1, x2, y2) : NativeDrawLine(g, pen, x1, y1, x2, y2);
}

int DrawArc(Graphics& g, const Pen& pen, float x, float y, float w, float h, float startDegrees,
            float sweepDegrees) {
  return g.raster ? RasterDrawArc(g, pen, x, y, w, h, startDegrees, sweepDegrees)
                  : NativeDrawArc(g, pen, x, y, w, h, startDegrees, sweepDegrees);
}

int DrawLines(Graphics& g, const Pen& pen, const PointF* points, int count) {
  return g.raster ? RasterDrawLines(g, pen, points, count) : NativeDrawLines(g, pen, points, count);
}

int Clear(Graphics& g, Color color) {
  return g.raster ? RasterClear(g, color) : NativeClear(g, color);
}

bool AccessPixels(Graphics& g, PixelBuffer& pixels) {
  return g.raster ? RasterAccessPixels(g, pixels) : NativeAccessPixels(g, pixels);
}

// ---- short forms ----

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

}  // namespace draw
