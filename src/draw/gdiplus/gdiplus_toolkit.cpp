// The toolkit over the GDI+ flat API: each wrapper is one flat call with the
// fixed parameters the figures rely on (UnitWorld pens, even-odd paths, tiled
// gradients, prepended transforms, replacing clips).
#include <windows.h>
// windows.h first: gdiplus.h needs its types.
#include <gdiplus.h>

#include "draw/gdiplus/gdiplus_graphics.h"
#include "draw/toolkit.h"

namespace gp = Gdiplus;
namespace flat = Gdiplus::DllExports;

static_assert(sizeof(PointF) == sizeof(gp::GpPointF), "point arrays are passed as they are");

namespace {

gp::GpBrush* BrushOf(const Brush& b) {
  return static_cast<gp::GpBrush*>(b.native);
}
gp::GpPen* PenOf(const Pen& p) {
  return static_cast<gp::GpPen*>(p.native);
}
gp::GpPath* PathOf(const Path& p) {
  return static_cast<gp::GpPath*>(p.native);
}
gp::GpGraphics* GraphicsOf(const Graphics& g) {
  return static_cast<gp::GpGraphics*>(g.native);
}

int Record(NativeObject& object, gp::GpStatus status) {
  if (status != gp::Ok) object.lastStatus = int(status);
  return int(status);
}

const gp::GpPointF* Points(const PointF* points) {
  return reinterpret_cast<const gp::GpPointF*>(points);
}

}  // namespace

// ---- objects ----

Brush::~Brush() {
  if (native) flat::GdipDeleteBrush(BrushOf(*this));
}
Pen::~Pen() {
  if (native) flat::GdipDeletePen(PenOf(*this));
}
Path::~Path() {
  if (native) flat::GdipDeletePath(PathOf(*this));
}
Graphics::~Graphics() {
  if (native) flat::GdipDeleteGraphics(GraphicsOf(*this));
}

Brush SolidBrush(Color color) {
  Brush brush;
  gp::GpSolidFill* fill = nullptr;
  brush.lastStatus = int(flat::GdipCreateSolidFill(color, &fill));
  brush.native = brush.lastStatus == gp::Ok ? fill : nullptr;
  return brush;
}

Brush GradientBrush(PointF p1, Color c1, PointF p2, Color c2) {
  Brush brush;
  gp::GpLineGradient* line = nullptr;
  const gp::GpPointF a(p1.x, p1.y), b(p2.x, p2.y);
  brush.lastStatus = int(flat::GdipCreateLineBrush(&a, &b, c1, c2, gp::WrapModeTile, &line));
  brush.native = brush.lastStatus == gp::Ok ? line : nullptr;
  return brush;
}

Pen MakePen(Color color, float width) {
  Pen pen;
  gp::GpPen* native = nullptr;
  Record(pen, flat::GdipCreatePen1(color, width, gp::UnitWorld, &native));
  pen.native = pen.lastStatus == gp::Ok ? native : nullptr;
  return pen;
}

int SetRoundStartCap(Pen& pen) {
  return Record(pen, flat::GdipSetPenStartCap(PenOf(pen), gp::LineCapRound));
}
int SetRoundEndCap(Pen& pen) {
  return Record(pen, flat::GdipSetPenEndCap(PenOf(pen), gp::LineCapRound));
}

// ---- paths ----

Path MakePath() {
  Path path;
  gp::GpPath* native = nullptr;
  Record(path, flat::GdipCreatePath(gp::FillModeAlternate, &native));
  path.native = path.lastStatus == gp::Ok ? native : nullptr;
  return path;
}

int StartFigure(Path& path) {
  return Record(path, flat::GdipStartPathFigure(PathOf(path)));
}
int CloseFigure(Path& path) {
  return Record(path, flat::GdipClosePathFigure(PathOf(path)));
}

int AddEllipse(Path& path, float x, float y, float w, float h) {
  return Record(path, flat::GdipAddPathEllipse(PathOf(path), x, y, w, h));
}

int AddPolygon(Path& path, const PointF* points, int count) {
  return Record(path, flat::GdipAddPathPolygon(PathOf(path), Points(points), count));
}

int AddLines(Path& path, const PointF* points, int count) {
  return Record(path, flat::GdipAddPathLine2(PathOf(path), Points(points), count));
}

int AddBezier(Path& path, PointF p0, PointF p1, PointF p2, PointF p3) {
  return Record(path, flat::GdipAddPathBezier(PathOf(path), p0.x, p0.y, p1.x, p1.y, p2.x, p2.y, p3.x, p3.y));
}

int AddArcI(Path& path, int x, int y, int w, int h, float startDegrees, float sweepDegrees) {
  return Record(path, flat::GdipAddPathArcI(PathOf(path), x, y, w, h, startDegrees, sweepDegrees));
}

// ---- graphics state ----

Graphics MakeGdiplusGraphics(HDC dc) {
  Graphics g;
  gp::GpGraphics* native = nullptr;
  g.lastStatus = int(flat::GdipCreateFromHDC(dc, &native));
  if (g.lastStatus != gp::Ok) return g;
  g.native = native;
  Record(g, flat::GdipSetSmoothingMode(native, gp::SmoothingModeAntiAlias));
  Record(g, flat::GdipSetInterpolationMode(native, gp::InterpolationModeHighQualityBilinear));
  return g;
}

int Translate(Graphics& g, float dx, float dy) {
  return Record(g, flat::GdipTranslateWorldTransform(GraphicsOf(g), dx, dy, gp::MatrixOrderPrepend));
}

int Scale(Graphics& g, float sx, float sy) {
  return Record(g, flat::GdipScaleWorldTransform(GraphicsOf(g), sx, sy, gp::MatrixOrderPrepend));
}

int Rotate(Graphics& g, float degrees) {
  return Record(g, flat::GdipRotateWorldTransform(GraphicsOf(g), degrees, gp::MatrixOrderPrepend));
}

uint32_t SaveState(Graphics& g) {
  gp::GraphicsState state = 0;
  if (Record(g, flat::GdipSaveGraphics(GraphicsOf(g), &state)) != gp::Ok) return 0;
  return state;
}

int RestoreState(Graphics& g, uint32_t token) {
  return Record(g, flat::GdipRestoreGraphics(GraphicsOf(g), token));
}

int ClipToPath(Graphics& g, const Path& path) {
  return Record(g, flat::GdipSetClipPath(GraphicsOf(g), PathOf(path), gp::CombineModeReplace));
}

// ---- drawing ----

int FillPath(Graphics& g, const Brush& brush, const Path& path) {
  return Record(g, flat::GdipFillPath(GraphicsOf(g), BrushOf(brush), PathOf(path)));
}

int DrawPath(Graphics& g, const Pen& pen, const Path& path) {
  return Record(g, flat::GdipDrawPath(GraphicsOf(g), PenOf(pen), PathOf(path)));
}

int FillEllipse(Graphics& g, const Brush& brush, float x, float y, float w, float h) {
  return Record(g, flat::GdipFillEllipse(GraphicsOf(g), BrushOf(brush), x, y, w, h));
}

int DrawEllipse(Graphics& g, const Pen& pen, float x, float y, float w, float h) {
  return Record(g, flat::GdipDrawEllipse(GraphicsOf(g), PenOf(pen), x, y, w, h));
}

int FillRectangle(Graphics& g, const Brush& brush, float x, float y, float w, float h) {
  return Record(g, flat::GdipFillRectangle(GraphicsOf(g), BrushOf(brush), x, y, w, h));
}

int DrawLine(Graphics& g, const Pen& pen, float x1, float y1, float x2, float y2) {
  return Record(g, flat::GdipDrawLine(GraphicsOf(g), PenOf(pen), x1, y1, x2, y2));
}

int DrawArc(Graphics& g, const Pen& pen, float x, float y, float w, float h, float startDegrees,
            float sweepDegrees) {
  return Record(g, flat::GdipDrawArc(GraphicsOf(g), PenOf(pen), x, y, w, h, startDegrees, sweepDegrees));
}

int DrawLines(Graphics& g, const Pen& pen, const PointF* points, int count) {
  return Record(g, flat::GdipDrawLines(GraphicsOf(g), PenOf(pen), Points(points), count));
}

int Clear(Graphics& g, Color color) {
  return Record(g, flat::GdipGraphicsClear(GraphicsOf(g), color));
}

// ---- off-screen surfaces ----

ULONG_PTR StartGdiplus() {
  gp::GdiplusStartupInput input;  // version 1, no callback
  ULONG_PTR token = 0;
  if (gp::GdiplusStartup(&token, &input, nullptr) != gp::Ok) return 0;
  return token;
}

void StopGdiplus(ULONG_PTR token) {
  if (token != 0) gp::GdiplusShutdown(token);
}

bool CreateDibSurface(DibSurface& surface, int width, int height) {
  surface = DibSurface{};
  if (width <= 0 || height <= 0) return false;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) return false;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap || !bits) {
    if (bitmap) DeleteObject(bitmap);
    DeleteDC(dc);
    return false;
  }
  surface.dc = dc;
  surface.bitmap = bitmap;
  surface.previous = SelectObject(dc, bitmap);
  surface.pixels = static_cast<uint32_t*>(bits);
  surface.width = width;
  surface.height = height;
  return true;
}

void DestroyDibSurface(DibSurface& surface) {
  if (surface.dc) {
    if (surface.previous) SelectObject(surface.dc, surface.previous);
    DeleteDC(surface.dc);
  }
  if (surface.bitmap) DeleteObject(surface.bitmap);
  surface = DibSurface{};
}
