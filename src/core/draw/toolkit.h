// The drawing vocabulary every picture is written in: colours, points, pens,
// solid and linear-gradient brushes, paths and the graphics context. One API,
// three ways to draw it: the native backends, GDI+ on Windows (draw/gdiplus/)
// and Qt's raster QPainter natively (draw/qt/), and the toolkit's own
// rasteriser, which draws straight into a 32-bit pixel buffer
// (MakeRasterGraphics; same picture within anti-aliasing noise, a fraction of
// the cost). Pens, brushes and paths are portable descriptions; a native
// backend makes its own object from one on first use.
//
// Semantics every way keeps: float coordinates, y down, angles in degrees
// clockwise on screen, prepended transforms, even-odd filling, two-point
// gradients interpolated in all four (unpremultiplied) channels and tiled
// beyond their ends, pen widths in world units centred on the outline, flat
// caps unless round caps are asked for, anti-aliasing, and a save/restore
// stack covering transform and clip.
//
// Failures: every call returns the platform status (0 = Ok). Pens, paths and
// the graphics context keep the last non-zero status; brushes keep the status
// of their creation. A call on an object whose creation failed fails and is
// otherwise ignored.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>

namespace draw {

using Color = uint32_t;  // 0xAARRGGBB

enum DrawStatus : int {
  kStatusOk = 0,
  kStatusGenericError = 1,
  kStatusInvalidParameter = 2,
  kStatusOutOfMemory = 3,
};

// Colour constructors and channel readers.
constexpr Color Argb(uint8_t a, uint8_t r, uint8_t g, uint8_t b) {
  return uint32_t(a) << 24 | uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b);
}
constexpr Color WithAlpha(uint32_t rgb, uint8_t a) {
  return uint32_t(a) << 24 | (rgb & 0xFFFFFFu);
}
constexpr uint8_t RedOf(uint32_t v) {
  return uint8_t((v >> 16) & 0xFF);
}
constexpr uint8_t GreenOf(uint32_t v) {
  return uint8_t((v >> 8) & 0xFF);
}
constexpr uint8_t BlueOf(uint32_t v) {
  return uint8_t(v & 0xFF);
}

struct PointF {
  float x = 0;
  float y = 0;
};

// Numeric helpers: sine and cosine computed in double and rounded to float.
// A double argument keeps time-driven angles (seconds since start times a
// rate) exact however long the program runs.
float Sin(double radians);
float Cos(double radians);
float Abs(float value);

// Move-only owner of one object behind the toolkit: the portable description
// of a pen, brush or path, or a graphics context. `native` is null when
// creation failed.
struct NativeObject {
  void* native = nullptr;
  int lastStatus = kStatusOk;

  NativeObject() = default;
  NativeObject(const NativeObject&) = delete;
  NativeObject& operator=(const NativeObject&) = delete;
  NativeObject(NativeObject&& other) noexcept : native(other.native), lastStatus(other.lastStatus) {
    other.native = nullptr;
  }
};

struct Brush : NativeObject {
  Brush() = default;
  Brush(Brush&&) = default;
  ~Brush();
};

struct Pen : NativeObject {
  Pen() = default;
  Pen(Pen&&) = default;
  ~Pen();
};

struct Path : NativeObject {
  Path() = default;
  Path(Path&&) = default;
  ~Path();
};

// The graphics context. Made by a backend (MakeQtGraphics, MakeGdiplusGraphics)
// or over a pixel buffer (MakeRasterGraphics).
struct Graphics : NativeObject {
  bool raster = false;  // drawn by the toolkit's own rasteriser
  Graphics() = default;
  Graphics(Graphics&&) = default;
  ~Graphics();
};

// 32-bit pixels 0xAARRGGBB with premultiplied colour (bytes B, G, R, A: the
// layout of a 32-bit DIB section and of QImage::Format_ARGB32_Premultiplied).
// Row y starts at pixels + y * stride; a negative stride walks a bottom-up DIB.
struct PixelBuffer {
  uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;  // pixels from the start of one row to the next
};

// Direct access to the pixels `g` draws into, when its backend has them: Qt's
// QImage in ARGB32_Premultiplied, or the 32-bit DIB section selected into the
// GDI+ graphics' device context. Every native drawing issued so far is
// finished first (GdipFlush and GdiFlush on Windows), so the pixels are
// current. False when there are no such pixels; only native calls draw then.
bool AccessPixels(Graphics& g, PixelBuffer& pixels);

// A graphics drawing straight into `pixels`, which must outlive it, with the
// toolkit's own anti-aliased rasteriser. Transform at the identity, no clip,
// pixel centres on integer coordinates as in GDI+. Native drawing on the same
// pixels may come before and after it, not in between its calls.
Graphics MakeRasterGraphics(const PixelBuffer& pixels);
// Memory the rasteriser works in (outlines, contours, scan lines), lent to one
// graphics after another by a caller that makes many small ones (a sprite
// each): its buffers then grow once, not for every graphics. Lent to one
// graphics at a time.
struct RasterScratch;
struct RasterScratchDeleter {
  void operator()(RasterScratch* scratch) const;
};
using RasterScratchPtr = std::unique_ptr<RasterScratch, RasterScratchDeleter>;
RasterScratchPtr MakeRasterScratch();
Graphics MakeRasterGraphics(const PixelBuffer& pixels, RasterScratch* reuse);
// What the graphics that borrowed a scratch filled (strokes included, each
// stroke one shape), counted since it was made: for the bench.
struct RasterTally {
  long long shapes = 0;
  long long edges = 0;
};
RasterTally TallyOf(const RasterScratch& scratch);

// Brushes.
Brush SolidBrush(Color color);
// c1 at p1, c2 at p2, interpolated along p1->p2, constant across it, tiled
// beyond both ends.
Brush GradientBrush(PointF p1, Color c1, PointF p2, Color c2);
Brush GradientBrushI(int x1, int y1, Color c1, int x2, int y2, Color c2);

// Pens: width in world units, flat caps unless round ones are asked for.
Pen MakePen(Color color, float width);
int SetRoundStartCap(Pen& pen);
int SetRoundEndCap(Pen& pen);
Pen RoundPen(Color color, float width);  // both caps round

// Paths (even-odd fill mode).
Path MakePath();
int StartFigure(Path& path);
int CloseFigure(Path& path);
int AddEllipse(Path& path, float x, float y, float w, float h);
int AddEllipseI(Path& path, int x, int y, int w, int h);
int AddPolygon(Path& path, const PointF* points, int count);  // closed figure
int AddLines(Path& path, const PointF* points, int count);    // open, joins the current figure
int AddBezier(Path& path, PointF p0, PointF p1, PointF p2, PointF p3);
int AddArcI(Path& path, int x, int y, int w, int h, float startDegrees, float sweepDegrees);

// Convenience constructors for the common one-shape paths.
Path EllipsePath(float x, float y, float w, float h);
Path PolygonPath(std::initializer_list<PointF> points);
Path PolygonPath(const PointF* points, int count);
Path LinesPath(const PointF* points, int count);

// World transform (always prepended: a later call applies to coordinates first).
int Translate(Graphics& g, float dx, float dy);
int Scale(Graphics& g, float sx, float sy);
int Rotate(Graphics& g, float degrees);

// Saves transform and clip; restoring a token discards everything after it.
uint32_t SaveState(Graphics& g);
int RestoreState(Graphics& g, uint32_t token);
int ClipToPath(Graphics& g, const Path& path);  // replaces the clip

// Drawing.
int FillPath(Graphics& g, const Brush& brush, const Path& path);
int DrawPath(Graphics& g, const Pen& pen, const Path& path);
int FillEllipse(Graphics& g, const Brush& brush, float x, float y, float w, float h);
int DrawEllipse(Graphics& g, const Pen& pen, float x, float y, float w, float h);
int FillRectangle(Graphics& g, const Brush& brush, float x, float y, float w, float h);
int FillRectangleI(Graphics& g, const Brush& brush, int x, int y, int w, int h);
int DrawLine(Graphics& g, const Pen& pen, float x1, float y1, float x2, float y2);
int DrawLine(Graphics& g, const Pen& pen, PointF p1, PointF p2);
int DrawLineI(Graphics& g, const Pen& pen, int x1, int y1, int x2, int y2);
// The arc of the ellipse inscribed in the box, from startDegrees sweeping
// clockwise by sweepDegrees; angles are measured on the ellipse as GDI+ does.
int DrawArc(Graphics& g, const Pen& pen, float x, float y, float w, float h, float startDegrees,
            float sweepDegrees);
int DrawLines(Graphics& g, const Pen& pen, const PointF* points, int count);  // open polyline
int Clear(Graphics& g, Color color);

// Short forms used by the figures: build the shape and fill it in one call.
int FillPolygon(Graphics& g, const Brush& brush, std::initializer_list<PointF> points);
int FillPolygon(Graphics& g, const Brush& brush, const PointF* points, int count);

}  // namespace draw
