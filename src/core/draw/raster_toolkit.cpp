// The toolkit drawn by its own rasteriser: each call becomes polygons in
// pixel space (raster_geometry, raster_stroke), scan-converted (raster_scan)
// and blended straight into the pixel buffer (raster_blend). Same semantics
// as the native backends: prepended transforms, even-odd fills, non-zero
// stroke outlines blended once, clips replaced by a path's coverage, GDI+'s
// status codes.
#include <cmath>
#include <memory>
#include <vector>

#include "draw/raster_blend.h"
#include "draw/raster_direct.h"
#include "draw/raster_geometry.h"
#include "draw/raster_scan.h"
#include "draw/raster_stroke.h"
#include "draw/toolkit.h"
#include "draw/toolkit_backends.h"
#include "draw/toolkit_objects.h"

namespace draw {

namespace {

struct SavedRasterState {
  uint32_t token;
  Affine transform;
  std::shared_ptr<const CoverageMask> clip;
};

}  // namespace

// Reused from call to call, and by a caller's graphics one after another.
struct RasterScratch {
  Outline outline;
  StrokeScratch stroke;
  Contours contours;
  SpanScratch scratch;
};

namespace {

struct RasterGraphics {
  PixelBuffer target;
  Affine transform;                          // world to pixel space
  std::shared_ptr<const CoverageMask> clip;  // null: no clip
  std::vector<SavedRasterState> saved;       // open saves, oldest first
  uint32_t nextToken = 1;
  std::unique_ptr<RasterScratch> own;  // when the caller lends none
  RasterScratch* work = nullptr;
};

// GDI+ puts pixel centres on integer coordinates; pixel x covers [x, x + 1)
// of the pixel space, centred at x + 0.5.
constexpr double kPixelCentre = 0.5;

RasterGraphics* RasterOf(const Graphics& g) {
  return static_cast<RasterGraphics*>(g.native);
}

int Fail(Graphics& g) {
  return RecordStatus(g, kStatusInvalidParameter);
}

// The brush as a paint in pixel space: a gradient's position along its ramp
// follows the pixel through the inverse of the world transform.
Paint PaintOf(const BrushData& brush, const Affine& m) {
  Paint paint;
  paint.c1 = brush.c1;
  paint.c2 = brush.c2;
  if (!brush.gradient) return paint;
  const double gx = double(brush.p2.x) - brush.p1.x, gy = double(brush.p2.y) - brush.p1.y;
  const double length2 = gx * gx + gy * gy;
  Affine world;                                         // pixel point to world point
  if (!Invert(m, world) || length2 == 0) return paint;  // nothing of it is visible
  // t = ((world point - p1) . g) / |g|^2, linear in the pixel point.
  const double ux = gx / length2, uy = gy / length2;
  paint.gradient = true;
  paint.tx = float(ux * world.a + uy * world.b);
  paint.ty = float(ux * world.c + uy * world.d);
  paint.t0 = float(ux * (world.e - brush.p1.x) + uy * (world.f - brush.p1.y));
  return paint;
}

bool Finite(PointF p) {
  return std::isfinite(p.x) && std::isfinite(p.y);
}

// A shape is drawn only where everything that places it is a number: the
// transform and the outline's points (a NaN or an infinity is refused as an
// invalid parameter, as GDI+ refuses other arguments it cannot use).
bool Placeable(const RasterGraphics& r) {
  const Affine& m = r.transform;
  for (double v : {m.a, m.b, m.c, m.d, m.e, m.f}) {
    if (!std::isfinite(v)) return false;
  }
  for (PointF p : r.work->outline.points) {
    if (!Finite(p)) return false;
  }
  return true;
}

int Fill(Graphics& g, const Brush& brush, FillRule rule) {
  RasterGraphics& r = *RasterOf(g);
  const BrushData& data = *BrushDataOf(brush);
  if (!Placeable(r) || !Finite(data.p1) || !Finite(data.p2)) return Fail(g);
  const Paint paint = PaintOf(data, r.transform);
  // A ramp too short to place in floats (its period under some 1e-38 pixel).
  if (!(std::isfinite(paint.tx) && std::isfinite(paint.ty) && std::isfinite(paint.t0))) return Fail(g);
  r.work->contours.Clear();
  FlattenForFill(r.work->outline, r.transform, r.work->contours);
  FillContours(r.target, r.work->contours, rule, paint, r.clip.get(), r.work->scratch);
  return kStatusOk;
}

int Stroke(Graphics& g, const Pen& pen) {
  RasterGraphics& r = *RasterOf(g);
  const PenData& data = *PenDataOf(pen);
  if (!Placeable(r) || !std::isfinite(data.width)) return Fail(g);
  r.work->contours.Clear();
  StrokeOutline(r.work->outline, {data.width, data.roundStart, data.roundEnd},
                {r.transform, double(r.target.width), double(r.target.height), r.work->contours},
                r.work->stroke);
  Paint paint;
  paint.c1 = data.color;
  FillContours(r.target, r.work->contours, FillRule::kNonZero, paint, r.clip.get(), r.work->scratch);
  return kStatusOk;
}

// Fills (with `brush`) or strokes (with `pen`) the ellipse in (x, y, w, h)
// without its polygon, where that draws it as well; false where the polygon
// must (the caller then goes on as for any figure).
bool DrawnDirectly(Graphics& g, const Brush* brush, const Pen* pen, float x, float y, float w, float h) {
  RasterGraphics& r = *RasterOf(g);
  PixelEllipse ellipse;
  Paint paint;
  if (pen) {
    const PenData& data = *PenDataOf(*pen);
    if (!MapEllipse(r.transform, x, y, w, h, true, data.width, ellipse)) return false;
    paint.c1 = data.color;
  } else {
    const BrushData& data = *BrushDataOf(*brush);
    if (!Finite(data.p1) || !Finite(data.p2)) return false;
    paint = PaintOf(data, r.transform);
    if (!(std::isfinite(paint.tx) && std::isfinite(paint.ty) && std::isfinite(paint.t0))) return false;
    if (!MapEllipse(r.transform, x, y, w, h, false, 0, ellipse)) return false;
  }
  PaintEllipse(r.target, ellipse, paint, r.clip.get(), r.work->scratch);
  return true;
}

// A null graphics, brush, pen or path fails the call, as GDI+ does.
bool Ready(const Graphics& g, const NativeObject& object) {
  return g.native && object.native;
}

Outline& FreshOutline(Graphics& g) {
  Outline& outline = RasterOf(g)->work->outline;
  outline.Clear();
  return outline;
}

}  // namespace

Graphics MakeRasterGraphics(const PixelBuffer& pixels) {
  return MakeRasterGraphics(pixels, nullptr);
}

Graphics MakeRasterGraphics(const PixelBuffer& pixels, RasterScratch* reuse) {
  Graphics g;
  g.raster = true;
  if (!pixels.pixels || pixels.width <= 0 || pixels.height <= 0 ||
      (pixels.stride < 0 ? -pixels.stride : pixels.stride) < pixels.width) {
    g.lastStatus = kStatusInvalidParameter;
    return g;
  }
  auto* r = new RasterGraphics;
  if (reuse == nullptr) r->own = std::make_unique<RasterScratch>();
  r->work = reuse != nullptr ? reuse : r->own.get();
  r->target = pixels;
  r->transform = Translation(kPixelCentre, kPixelCentre);
  g.native = r;
  return g;
}

void RasterScratchDeleter::operator()(RasterScratch* scratch) const {
  delete scratch;
}

RasterTally TallyOf(const RasterScratch& scratch) {
  return {scratch.scratch.shapesSwept, scratch.scratch.edgesSwept};
}

RasterScratchPtr MakeRasterScratch() {
  return RasterScratchPtr(new RasterScratch);
}

void FreeRasterGraphics(void* graphics) {
  delete static_cast<RasterGraphics*>(graphics);
}

bool RasterAccessPixels(Graphics& g, PixelBuffer& pixels) {
  if (!g.native) return false;
  pixels = RasterOf(g)->target;
  return true;
}

// ---- state ----

int RasterTranslate(Graphics& g, float dx, float dy) {
  if (!g.native) return Fail(g);
  RasterOf(g)->transform = Prepend(RasterOf(g)->transform, Translation(dx, dy));
  return kStatusOk;
}

int RasterScale(Graphics& g, float sx, float sy) {
  if (!g.native) return Fail(g);
  RasterOf(g)->transform = Prepend(RasterOf(g)->transform, Scaling(sx, sy));
  return kStatusOk;
}

int RasterRotate(Graphics& g, float degrees) {
  if (!g.native) return Fail(g);
  RasterOf(g)->transform = Prepend(RasterOf(g)->transform, Rotation(degrees));
  return kStatusOk;
}

uint32_t RasterSaveState(Graphics& g) {
  if (!g.native) {
    Fail(g);
    return 0;
  }
  RasterGraphics& r = *RasterOf(g);
  r.saved.push_back({r.nextToken, r.transform, r.clip});
  return r.nextToken++;
}

int RasterRestoreState(Graphics& g, uint32_t token) {
  if (!g.native) return Fail(g);
  RasterGraphics& r = *RasterOf(g);
  for (size_t i = r.saved.size(); i-- > 0;) {
    if (r.saved[i].token != token) continue;
    // Restoring an earlier save also drops every later one.
    r.transform = r.saved[i].transform;
    r.clip = r.saved[i].clip;
    r.saved.resize(i);
    break;
  }
  return kStatusOk;  // GDI+ ignores unknown tokens
}

int RasterClipToPath(Graphics& g, const Path& path) {
  if (!Ready(g, path)) return Fail(g);
  RasterGraphics& r = *RasterOf(g);
  AppendPathCalls(*PathDataOf(path), FreshOutline(g));
  if (!Placeable(r)) return Fail(g);  // the clip stays as it was
  r.work->contours.Clear();
  FlattenForFill(r.work->outline, r.transform, r.work->contours);
  auto mask = std::make_shared<CoverageMask>();
  MaskContours(r.target.width, r.target.height, r.work->contours, FillRule::kEvenOdd, *mask, r.work->scratch);
  r.clip = std::move(mask);
  return kStatusOk;
}

// ---- drawing ----

// The box of a path that holds one ellipse and nothing else (EllipsePath's).
const float* LoneEllipse(const Path& path) {
  const PathData& data = *PathDataOf(path);
  if (data.calls.size() != 1 || data.calls[0].kind != PathCallKind::kEllipse) return nullptr;
  return data.calls[0].args;
}

int RasterFillPath(Graphics& g, const Brush& brush, const Path& path) {
  if (!Ready(g, brush) || !path.native) return Fail(g);
  if (const float* box = LoneEllipse(path);
      box && DrawnDirectly(g, &brush, nullptr, box[0], box[1], box[2], box[3]))
    return kStatusOk;
  AppendPathCalls(*PathDataOf(path), FreshOutline(g));
  return Fill(g, brush, FillRule::kEvenOdd);
}

int RasterDrawPath(Graphics& g, const Pen& pen, const Path& path) {
  if (!Ready(g, pen) || !path.native) return Fail(g);
  if (const float* box = LoneEllipse(path);
      box && DrawnDirectly(g, nullptr, &pen, box[0], box[1], box[2], box[3]))
    return kStatusOk;
  AppendPathCalls(*PathDataOf(path), FreshOutline(g));
  return Stroke(g, pen);
}

int RasterFillEllipse(Graphics& g, const Brush& brush, float x, float y, float w, float h) {
  if (!Ready(g, brush)) return Fail(g);
  if (DrawnDirectly(g, &brush, nullptr, x, y, w, h)) return kStatusOk;
  AppendEllipse(FreshOutline(g), x, y, w, h);
  return Fill(g, brush, FillRule::kEvenOdd);
}

int RasterDrawEllipse(Graphics& g, const Pen& pen, float x, float y, float w, float h) {
  if (!Ready(g, pen)) return Fail(g);
  if (DrawnDirectly(g, nullptr, &pen, x, y, w, h)) return kStatusOk;
  AppendEllipse(FreshOutline(g), x, y, w, h);
  return Stroke(g, pen);
}

int RasterFillRectangle(Graphics& g, const Brush& brush, float x, float y, float w, float h) {
  if (!Ready(g, brush)) return Fail(g);
  Outline& outline = FreshOutline(g);
  outline.MoveTo({x, y});
  outline.LineTo({x + w, y});
  outline.LineTo({x + w, y + h});
  outline.LineTo({x, y + h});
  outline.Close();
  return Fill(g, brush, FillRule::kEvenOdd);
}

int RasterDrawLine(Graphics& g, const Pen& pen, float x1, float y1, float x2, float y2) {
  if (!Ready(g, pen)) return Fail(g);
  // A thin line with flat ends is drawn without its polygon.
  RasterGraphics& r = *RasterOf(g);
  const PenData& data = *PenDataOf(pen);
  PixelSegment segment;
  if (!data.roundStart && !data.roundEnd &&
      MapSegment(r.transform, {x1, y1}, {x2, y2}, data.width, segment)) {
    Paint paint;
    paint.c1 = data.color;
    PaintSegment(r.target, segment, paint, r.clip.get(), r.work->scratch);
    return kStatusOk;
  }
  Outline& outline = FreshOutline(g);
  outline.MoveTo({x1, y1});
  outline.LineTo({x2, y2});
  return Stroke(g, pen);
}

int RasterDrawArc(Graphics& g, const Pen& pen, float x, float y, float w, float h, float startDegrees,
                  float sweepDegrees) {
  if (!Ready(g, pen)) return Fail(g);
  AppendArc(FreshOutline(g), false, x, y, w, h, startDegrees, sweepDegrees);
  return Stroke(g, pen);
}

int RasterDrawLines(Graphics& g, const Pen& pen, const PointF* points, int count) {
  if (!Ready(g, pen) || !points || count < 2) return Fail(g);
  Outline& outline = FreshOutline(g);
  outline.MoveTo(points[0]);
  for (int i = 1; i < count; ++i) outline.LineTo(points[i]);
  return Stroke(g, pen);
}

int RasterClear(Graphics& g, Color color) {
  if (!g.native) return Fail(g);
  ClearPixels(RasterOf(g)->target, color, RasterOf(g)->clip.get());
  return kStatusOk;
}

}  // namespace draw
