// The toolkit over the GDI+ flat API: each wrapper is one flat call with the
// fixed parameters the figures rely on (UnitWorld pens, even-odd paths, tiled
// gradients, prepended transforms, replacing clips). Native brushes, pens and
// paths are made from the portable ones on first use; a path replays the
// calls that built it.
#include <windows.h>
// windows.h first: gdiplus.h needs its types.
#include <gdiplus.h>

#include "draw/gdiplus/gdiplus_graphics.h"
#include "draw/toolkit.h"
#include "draw/toolkit_backends.h"
#include "draw/toolkit_objects.h"

namespace draw {

namespace gp = Gdiplus;
namespace flat = Gdiplus::DllExports;

static_assert(sizeof(PointF) == sizeof(gp::GpPointF), "point arrays are passed as they are");

namespace {

// A GDI+ graphics and the device context it draws on: the DC leads to the
// pixels for AccessPixels.
struct GdiplusContext {
  gp::GpGraphics* graphics = nullptr;
  HDC dc = nullptr;
};

gp::GpGraphics* GraphicsOf(const Graphics& g) {
  return g.native ? static_cast<GdiplusContext*>(g.native)->graphics : nullptr;
}

int Record(NativeObject& object, gp::GpStatus status) {
  return RecordStatus(object, int(status));
}

const gp::GpPointF* Points(const PointF* points) {
  return reinterpret_cast<const gp::GpPointF*>(points);
}

// ---- native objects, made from the portable ones on first use ----
// A creation that fails leaves a null handle; the call using it then fails
// with GDI+'s own status, recorded as before.

gp::GpBrush* BrushOf(const Brush& brush) {
  BrushData* data = BrushDataOf(brush);
  if (!data) return nullptr;
  if (!data->backend) {
    if (data->gradient) {
      gp::GpLineGradient* line = nullptr;
      const gp::GpPointF a(data->p1.x, data->p1.y), b(data->p2.x, data->p2.y);
      if (flat::GdipCreateLineBrush(&a, &b, data->c1, data->c2, gp::WrapModeTile, &line) == gp::Ok) {
        data->backend = line;
      }
    } else {
      gp::GpSolidFill* fill = nullptr;
      if (flat::GdipCreateSolidFill(data->c1, &fill) == gp::Ok) data->backend = fill;
    }
  }
  return static_cast<gp::GpBrush*>(data->backend);
}

gp::GpPen* PenOf(const Pen& pen) {
  PenData* data = PenDataOf(pen);
  if (!data) return nullptr;
  if (!data->backend) {
    gp::GpPen* native = nullptr;
    if (flat::GdipCreatePen1(data->color, data->width, gp::UnitWorld, &native) != gp::Ok) return nullptr;
    if (data->roundStart) flat::GdipSetPenStartCap(native, gp::LineCapRound);
    if (data->roundEnd) flat::GdipSetPenEndCap(native, gp::LineCapRound);
    data->backend = native;
  }
  return static_cast<gp::GpPen*>(data->backend);
}

// The path's calls replayed, in order, on its native path.
void Replay(gp::GpPath* native, const PathData& data, const PathCall& call) {
  const PointF* p = data.points.data() + call.first;
  const float* a = call.args;
  switch (call.kind) {
    case PathCallKind::kStartFigure:
      flat::GdipStartPathFigure(native);
      break;
    case PathCallKind::kCloseFigure:
      flat::GdipClosePathFigure(native);
      break;
    case PathCallKind::kEllipse:
      flat::GdipAddPathEllipse(native, a[0], a[1], a[2], a[3]);
      break;
    case PathCallKind::kPolygon:
      flat::GdipAddPathPolygon(native, Points(p), call.count);
      break;
    case PathCallKind::kLines:
      flat::GdipAddPathLine2(native, Points(p), call.count);
      break;
    case PathCallKind::kBezier:
      flat::GdipAddPathBezier(native, p[0].x, p[0].y, p[1].x, p[1].y, p[2].x, p[2].y, p[3].x, p[3].y);
      break;
    case PathCallKind::kArc:
      flat::GdipAddPathArcI(native, int(a[0]), int(a[1]), int(a[2]), int(a[3]), a[4], a[5]);
      break;
  }
}

gp::GpPath* PathOf(const Path& path) {
  PathData* data = PathDataOf(path);
  if (!data) return nullptr;
  if (!data->backend) {
    gp::GpPath* native = nullptr;
    if (flat::GdipCreatePath(gp::FillModeAlternate, &native) != gp::Ok) return nullptr;
    data->backend = native;
  }
  auto* native = static_cast<gp::GpPath*>(data->backend);
  for (; data->replayed < data->calls.size(); ++data->replayed)
    Replay(native, *data, data->calls[data->replayed]);
  return native;
}

}  // namespace

Gdiplus::GpGraphics* GdiplusGraphicsOf(const Graphics& g) {
  return g.raster ? nullptr : GraphicsOf(g);
}

void FreeNativeBrush(void* brush) {
  flat::GdipDeleteBrush(static_cast<gp::GpBrush*>(brush));
}
void FreeNativePen(void* pen) {
  flat::GdipDeletePen(static_cast<gp::GpPen*>(pen));
}
void FreeNativePath(void* path) {
  flat::GdipDeletePath(static_cast<gp::GpPath*>(path));
}
void FreeNativeGraphics(void* graphics) {
  auto* context = static_cast<GdiplusContext*>(graphics);
  flat::GdipDeleteGraphics(context->graphics);
  delete context;
}

// ---- graphics state ----

Graphics MakeGdiplusGraphics(HDC dc) {
  Graphics g;
  gp::GpGraphics* native = nullptr;
  g.lastStatus = int(flat::GdipCreateFromHDC(dc, &native));
  if (g.lastStatus != gp::Ok) return g;
  g.native = new GdiplusContext{native, dc};
  Record(g, flat::GdipSetSmoothingMode(native, gp::SmoothingModeAntiAlias));
  Record(g, flat::GdipSetInterpolationMode(native, gp::InterpolationModeHighQualityBilinear));
  return g;
}

int NativeTranslate(Graphics& g, float dx, float dy) {
  return Record(g, flat::GdipTranslateWorldTransform(GraphicsOf(g), dx, dy, gp::MatrixOrderPrepend));
}

int NativeScale(Graphics& g, float sx, float sy) {
  return Record(g, flat::GdipScaleWorldTransform(GraphicsOf(g), sx, sy, gp::MatrixOrderPrepend));
}

int NativeRotate(Graphics& g, float degrees) {
  return Record(g, flat::GdipRotateWorldTransform(GraphicsOf(g), degrees, gp::MatrixOrderPrepend));
}

uint32_t NativeSaveState(Graphics& g) {
  gp::GraphicsState state = 0;
  if (Record(g, flat::GdipSaveGraphics(GraphicsOf(g), &state)) != gp::Ok) return 0;
  return state;
}

int NativeRestoreState(Graphics& g, uint32_t token) {
  return Record(g, flat::GdipRestoreGraphics(GraphicsOf(g), token));
}

int NativeClipToPath(Graphics& g, const Path& path) {
  return Record(g, flat::GdipSetClipPath(GraphicsOf(g), PathOf(path), gp::CombineModeReplace));
}

// ---- drawing ----

int NativeFillPath(Graphics& g, const Brush& brush, const Path& path) {
  return Record(g, flat::GdipFillPath(GraphicsOf(g), BrushOf(brush), PathOf(path)));
}

int NativeDrawPath(Graphics& g, const Pen& pen, const Path& path) {
  return Record(g, flat::GdipDrawPath(GraphicsOf(g), PenOf(pen), PathOf(path)));
}

int NativeFillEllipse(Graphics& g, const Brush& brush, float x, float y, float w, float h) {
  return Record(g, flat::GdipFillEllipse(GraphicsOf(g), BrushOf(brush), x, y, w, h));
}

int NativeDrawEllipse(Graphics& g, const Pen& pen, float x, float y, float w, float h) {
  return Record(g, flat::GdipDrawEllipse(GraphicsOf(g), PenOf(pen), x, y, w, h));
}

int NativeFillRectangle(Graphics& g, const Brush& brush, float x, float y, float w, float h) {
  return Record(g, flat::GdipFillRectangle(GraphicsOf(g), BrushOf(brush), x, y, w, h));
}

int NativeDrawLine(Graphics& g, const Pen& pen, float x1, float y1, float x2, float y2) {
  return Record(g, flat::GdipDrawLine(GraphicsOf(g), PenOf(pen), x1, y1, x2, y2));
}

int NativeDrawArc(Graphics& g, const Pen& pen, float x, float y, float w, float h, float startDegrees,
                  float sweepDegrees) {
  return Record(g, flat::GdipDrawArc(GraphicsOf(g), PenOf(pen), x, y, w, h, startDegrees, sweepDegrees));
}

int NativeDrawLines(Graphics& g, const Pen& pen, const PointF* points, int count) {
  return Record(g, flat::GdipDrawLines(GraphicsOf(g), PenOf(pen), Points(points), count));
}

int NativeClear(Graphics& g, Color color) {
  return Record(g, flat::GdipGraphicsClear(GraphicsOf(g), color));
}

namespace {

// Whether the first row in memory is the top row of the picture. GetObject
// reports a DIB section's height without its sign (Wine does, and so does
// Windows for top-down sections), so GDI itself is asked: a pixel set at
// (0, 0) through the DC shows which end of the memory holds row 0, and both
// ends get their old values back. False in `known` when neither end changed
// (a DC whose origin or clip moves (0, 0) elsewhere).
bool TopRowFirst(HDC dc, uint32_t* bits, int height, int stride, bool& known) {
  known = true;
  if (height == 1) return true;
  uint32_t* first = bits;
  uint32_t* last = bits + ptrdiff_t(height - 1) * stride;
  const uint32_t savedFirst = *first, savedLast = *last;
  // A colour that neither end holds (GDI writes B, G, R and leaves no alpha).
  COLORREF probe = RGB(0x12, 0x34, 0x56);
  for (int k = 0; k < 3; ++k) {
    const uint32_t asPixel =
        uint32_t(GetRValue(probe)) << 16 | uint32_t(GetGValue(probe)) << 8 | GetBValue(probe);
    if ((savedFirst & 0xFFFFFF) != asPixel && (savedLast & 0xFFFFFF) != asPixel) break;
    probe = RGB(GetRValue(probe) + 0x41, GetGValue(probe) + 0x29, GetBValue(probe) + 0x17);
  }
  SetPixelV(dc, 0, 0, probe);
  GdiFlush();
  const bool top = *first != savedFirst, bottom = *last != savedLast;
  *first = savedFirst;
  *last = savedLast;
  known = top != bottom;
  return top;
}

}  // namespace

bool NativeAccessPixels(Graphics& g, PixelBuffer& pixels) {
  auto* context = static_cast<GdiplusContext*>(g.native);
  if (!context) return false;
  // GDI+ and GDI may still hold drawing back in their batches; finish it
  // before the pixels are read or written directly.
  flat::GdipFlush(context->graphics, gp::FlushIntentionSync);
  GdiFlush();
  DIBSECTION dib = {};
  HGDIOBJ bitmap = GetCurrentObject(context->dc, OBJ_BITMAP);
  // Only a DIB section fills the whole DIBSECTION; other bitmaps have no bits to reach.
  if (!bitmap || GetObjectW(bitmap, sizeof dib, &dib) != int(sizeof dib)) return false;
  if (dib.dsBm.bmBitsPixel != 32 || !dib.dsBm.bmBits || dib.dsBm.bmWidthBytes % 4 != 0) return false;
  if (dib.dsBmih.biCompression != BI_RGB) return false;
  const int width = dib.dsBm.bmWidth, height = dib.dsBm.bmHeight < 0 ? -dib.dsBm.bmHeight : dib.dsBm.bmHeight;
  const int stride = dib.dsBm.bmWidthBytes / 4;
  if (width <= 0 || height <= 0) return false;
  auto* bits = static_cast<uint32_t*>(dib.dsBm.bmBits);
  bool known = false;
  const bool topDown = TopRowFirst(context->dc, bits, height, stride, known);
  if (!known) return false;
  pixels.width = width;
  pixels.height = height;
  // A bottom-up section keeps the picture's first row last in memory.
  pixels.pixels = topDown ? bits : bits + ptrdiff_t(height - 1) * stride;
  pixels.stride = topDown ? stride : -stride;
  return true;
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

}  // namespace draw
