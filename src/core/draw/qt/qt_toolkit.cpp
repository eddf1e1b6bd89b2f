// The toolkit over Qt's raster QPainter, set up to give the GDI+ picture:
// component-wise gradient interpolation, tiled gradients, even-odd paths,
// flat caps and mitred joins, clockwise geometric arc angles, integer
// coordinates at pixel centres, and GDI+'s status codes for failed calls.
#include <QBuffer>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QtMath>
#include <algorithm>
#include <cmath>
#include <vector>

#include "draw/qt/qt_graphics.h"
#include "draw/toolkit.h"
#include "draw/toolkit_backends.h"
#include "draw/toolkit_objects.h"

namespace draw {

namespace {

struct QtPen {
  QPen pen;
  bool roundStart = false;
  bool roundEnd = false;
};

struct QtPath {
  QPainterPath path;
  bool figureOpen = false;  // the next line strip, Bezier or arc joins it
};

struct QtGraphics {
  QPainter painter;
  std::vector<uint32_t> saved;  // tokens of the open saves, oldest first
  uint32_t nextToken = 1;
};

// GDI+'s default pixel offset mode puts pixel centres on integer
// coordinates; Qt puts them at +0.5. This device-side shift lines them up.
constexpr qreal kPixelCentre = 0.5;

// GDI+ keeps the default miter limit of 10 (miter length over pen width).
constexpr qreal kMiterLimit = 10.0;

QtGraphics* GraphicsOf(const Graphics& g) {
  return static_cast<QtGraphics*>(g.native);
}

int Record(NativeObject& object, int status) {
  return RecordStatus(object, status);
}

QColor ToQColor(Color c) {
  return QColor::fromRgba(c);
}

// GDI+ measures an arc angle as the direction from the centre to the point on
// the ellipse; Qt uses the parametric angle. Both clockwise here (y down).
double ParametricDegrees(double degrees, double rx, double ry) {
  if (rx <= 0 || ry <= 0 || rx == ry) return degrees;
  const double t = qDegreesToRadians(degrees);
  const double u = std::atan2(rx * std::sin(t), ry * std::cos(t));
  // u lies in t's quadrant; keep the whole turns of t.
  const double turns = std::round((t - u) / (2 * M_PI));
  return qRadiansToDegrees(u + turns * 2 * M_PI);
}

// Appends the arc to `path`, joined to the current point when `join` is set.
void AppendArc(QPainterPath& path, bool join, double x, double y, double w, double h, double start,
               double sweep) {
  sweep = std::clamp(sweep, -360.0, 360.0);
  const double a0 = ParametricDegrees(start, w / 2, h / 2);
  const double a1 = ParametricDegrees(start + sweep, w / 2, h / 2);
  const QRectF box(x, y, w, h);
  // Qt counts counter-clockwise on screen.
  if (!join) path.arcMoveTo(box, -a0);
  path.arcTo(box, -a0, -(a1 - a0));
}

QPen MakeQPen(Color color, float width) {
  QPen pen(QBrush(ToQColor(color)), width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
  pen.setCosmetic(false);
  pen.setMiterLimit(kMiterLimit);
  return pen;
}

// Strokes `path` with GDI+ caps: flat unless round, set per end.
void StrokeWithCaps(QPainter& painter, const QtPen& pen, const QPainterPath& path) {
  if (pen.roundStart == pen.roundEnd || pen.pen.widthF() <= 0) {
    QPen q = pen.pen;
    q.setCapStyle(pen.roundStart ? Qt::RoundCap : Qt::FlatCap);
    painter.strokePath(path, q);
    return;
  }
  // One round end: the flat-capped outline united with a disc at that end
  // of every open figure, filled once so a translucent pen blends once.
  QPainterPathStroker stroker(pen.pen);
  stroker.setCapStyle(Qt::FlatCap);
  QPainterPath caps;
  const qreal r = pen.pen.widthF() / 2;
  auto capFigure = [&](int first, int last) {
    if (first < 0 || last <= first) return;
    const QPointF a = path.elementAt(first);
    const QPointF b = path.elementAt(last);
    if (a == b) return;  // closed figures have no caps
    caps.addEllipse(pen.roundStart ? a : b, r, r);
  };
  int first = -1;
  for (int i = 0; i < path.elementCount(); ++i) {
    if (path.elementAt(i).isMoveTo()) {
      capFigure(first, i - 1);
      first = i;
    }
  }
  capFigure(first, path.elementCount() - 1);
  QPainterPath outline = stroker.createStroke(path);
  if (!caps.isEmpty()) outline = outline.united(caps);
  painter.fillPath(outline, pen.pen.brush());
}

}  // namespace

// ---- native objects, made from the portable ones on first use ----

void FreeNativeBrush(void* brush) {
  delete static_cast<QBrush*>(brush);
}
void FreeNativePen(void* pen) {
  delete static_cast<QtPen*>(pen);
}
void FreeNativePath(void* path) {
  delete static_cast<QtPath*>(path);
}
void FreeNativeGraphics(void* graphics) {
  delete static_cast<QtGraphics*>(graphics);
}

namespace {

const QBrush* NativeBrush(const Brush& brush) {
  BrushData* data = BrushDataOf(brush);
  if (!data) return nullptr;
  if (!data->backend) {
    if (data->gradient) {
      QLinearGradient gradient(QPointF(data->p1.x, data->p1.y), QPointF(data->p2.x, data->p2.y));
      gradient.setColorAt(0, ToQColor(data->c1));
      gradient.setColorAt(1, ToQColor(data->c2));
      gradient.setSpread(QGradient::RepeatSpread);
      gradient.setInterpolationMode(QGradient::ComponentInterpolation);
      data->backend = new QBrush(gradient);
    } else {
      data->backend = new QBrush(ToQColor(data->c1));
    }
  }
  return static_cast<QBrush*>(data->backend);
}

const QtPen* NativePen(const Pen& pen) {
  PenData* data = PenDataOf(pen);
  if (!data) return nullptr;
  if (!data->backend)
    data->backend = new QtPen{MakeQPen(data->color, data->width), data->roundStart, data->roundEnd};
  return static_cast<QtPen*>(data->backend);
}

// The path calls as GDI+ makes figures of them: polygons and ellipses are
// closed figures of their own; line strips, Beziers and arcs extend the open
// figure, joined to it by a straight line.
void Replay(QtPath& native, const PathData& data, const PathCall& call) {
  QPainterPath& path = native.path;
  const PointF* p = data.points.data() + call.first;
  const float* a = call.args;
  switch (call.kind) {
    case PathCallKind::kStartFigure:
      native.figureOpen = false;
      break;
    case PathCallKind::kCloseFigure:
      if (native.figureOpen) path.closeSubpath();
      native.figureOpen = false;
      break;
    case PathCallKind::kEllipse:
      path.addEllipse(QRectF(a[0], a[1], a[2], a[3]));
      native.figureOpen = false;
      break;
    case PathCallKind::kPolygon:
      path.moveTo(p[0].x, p[0].y);
      for (int i = 1; i < call.count; ++i) path.lineTo(p[i].x, p[i].y);
      path.closeSubpath();
      native.figureOpen = false;
      break;
    case PathCallKind::kLines:
      if (native.figureOpen) {
        path.lineTo(p[0].x, p[0].y);
      } else {
        path.moveTo(p[0].x, p[0].y);
      }
      for (int i = 1; i < call.count; ++i) path.lineTo(p[i].x, p[i].y);
      native.figureOpen = true;
      break;
    case PathCallKind::kBezier: {
      const QPointF start(p[0].x, p[0].y);
      if (!native.figureOpen) {
        path.moveTo(start);
      } else if (path.currentPosition() != start) {
        path.lineTo(start);
      }
      path.cubicTo(p[1].x, p[1].y, p[2].x, p[2].y, p[3].x, p[3].y);
      native.figureOpen = true;
      break;
    }
    case PathCallKind::kArc:
      AppendArc(path, native.figureOpen, a[0], a[1], a[2], a[3], a[4], a[5]);
      native.figureOpen = true;
      break;
  }
}

const QtPath* NativePath(const Path& path) {
  PathData* data = PathDataOf(path);
  if (!data) return nullptr;
  if (!data->backend) {
    auto* native = new QtPath;
    native->path.setFillRule(Qt::OddEvenFill);
    data->backend = native;
  }
  auto* native = static_cast<QtPath*>(data->backend);
  for (; data->replayed < data->calls.size(); ++data->replayed)
    Replay(*native, *data, data->calls[data->replayed]);
  return native;
}

QPainterPath EllipseShape(float x, float y, float w, float h) {
  QPainterPath shape;
  shape.setFillRule(Qt::OddEvenFill);
  shape.addEllipse(QRectF(x, y, w, h));
  return shape;
}

// A null graphics or object fails the call with InvalidParameter, recorded
// in the graphics as GDI+'s wrapper does.
int FillShape(Graphics& g, const Brush& brush, const QPainterPath& shape) {
  const QBrush* native = NativeBrush(brush);
  if (!g.native || !native) return Record(g, kStatusInvalidParameter);
  GraphicsOf(g)->painter.fillPath(shape, *native);
  return kStatusOk;
}

int StrokeShape(Graphics& g, const Pen& pen, const QPainterPath& shape) {
  const QtPen* native = NativePen(pen);
  if (!g.native || !native) return Record(g, kStatusInvalidParameter);
  StrokeWithCaps(GraphicsOf(g)->painter, *native, shape);
  return kStatusOk;
}

}  // namespace

// ---- graphics state ----

QImage MakeQtImage(int width, int height) {
  QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

Graphics MakeQtGraphics(QImage& image) {
  Graphics g;
  if (image.isNull()) {
    g.lastStatus = kStatusInvalidParameter;
    return g;
  }
  auto* data = new QtGraphics;
  if (!data->painter.begin(&image)) {
    delete data;
    g.lastStatus = kStatusGenericError;
    return g;
  }
  data->painter.setRenderHint(QPainter::Antialiasing, true);
  data->painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
  data->painter.setTransform(QTransform::fromTranslate(kPixelCentre, kPixelCentre));
  g.native = data;
  return g;
}

bool EncodePng(const QImage& image, std::string& bytes) {
  QByteArray data;
  QBuffer buffer(&data);
  if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) return false;
  bytes.assign(data.constData(), size_t(data.size()));
  return true;
}

int NativeTranslate(Graphics& g, float dx, float dy) {
  if (!g.native) return Record(g, kStatusInvalidParameter);
  GraphicsOf(g)->painter.translate(dx, dy);  // QPainter prepends
  return kStatusOk;
}

int NativeScale(Graphics& g, float sx, float sy) {
  if (!g.native) return Record(g, kStatusInvalidParameter);
  GraphicsOf(g)->painter.scale(sx, sy);
  return kStatusOk;
}

int NativeRotate(Graphics& g, float degrees) {
  if (!g.native) return Record(g, kStatusInvalidParameter);
  GraphicsOf(g)->painter.rotate(degrees);  // clockwise on screen, y down
  return kStatusOk;
}

uint32_t NativeSaveState(Graphics& g) {
  QtGraphics* data = GraphicsOf(g);
  if (!data) {
    Record(g, kStatusInvalidParameter);
    return 0;
  }
  data->painter.save();
  data->saved.push_back(data->nextToken);
  return data->nextToken++;
}

int NativeRestoreState(Graphics& g, uint32_t token) {
  QtGraphics* data = GraphicsOf(g);
  if (!data) return Record(g, kStatusInvalidParameter);
  for (size_t i = data->saved.size(); i-- > 0;) {
    if (data->saved[i] != token) continue;
    // Restoring an earlier save also drops every later one.
    while (data->saved.size() > i) {
      data->painter.restore();
      data->saved.pop_back();
    }
    break;
  }
  return kStatusOk;  // GDI+ ignores unknown tokens
}

int NativeClipToPath(Graphics& g, const Path& path) {
  const QtPath* native = NativePath(path);
  if (!g.native || !native) return Record(g, kStatusInvalidParameter);
  GraphicsOf(g)->painter.setClipPath(native->path, Qt::ReplaceClip);
  return kStatusOk;
}

// ---- drawing ----

int NativeFillPath(Graphics& g, const Brush& brush, const Path& path) {
  const QtPath* native = NativePath(path);
  if (!native) return Record(g, kStatusInvalidParameter);
  return FillShape(g, brush, native->path);
}

int NativeDrawPath(Graphics& g, const Pen& pen, const Path& path) {
  const QtPath* native = NativePath(path);
  if (!native) return Record(g, kStatusInvalidParameter);
  return StrokeShape(g, pen, native->path);
}

int NativeFillEllipse(Graphics& g, const Brush& brush, float x, float y, float w, float h) {
  return FillShape(g, brush, EllipseShape(x, y, w, h));
}

int NativeDrawEllipse(Graphics& g, const Pen& pen, float x, float y, float w, float h) {
  return StrokeShape(g, pen, EllipseShape(x, y, w, h));
}

int NativeFillRectangle(Graphics& g, const Brush& brush, float x, float y, float w, float h) {
  QPainterPath shape;
  shape.addRect(QRectF(x, y, w, h));
  return FillShape(g, brush, shape);
}

int NativeDrawLine(Graphics& g, const Pen& pen, float x1, float y1, float x2, float y2) {
  QPainterPath shape;
  shape.moveTo(x1, y1);
  shape.lineTo(x2, y2);
  return StrokeShape(g, pen, shape);
}

int NativeDrawArc(Graphics& g, const Pen& pen, float x, float y, float w, float h, float startDegrees,
                  float sweepDegrees) {
  QPainterPath shape;
  AppendArc(shape, false, x, y, w, h, startDegrees, sweepDegrees);
  return StrokeShape(g, pen, shape);
}

int NativeDrawLines(Graphics& g, const Pen& pen, const PointF* points, int count) {
  if (!points || count < 2) return Record(g, kStatusInvalidParameter);
  QPainterPath shape;
  shape.moveTo(points[0].x, points[0].y);
  for (int i = 1; i < count; ++i) shape.lineTo(points[i].x, points[i].y);
  return StrokeShape(g, pen, shape);
}

int NativeClear(Graphics& g, Color color) {
  QtGraphics* data = GraphicsOf(g);
  if (!data) return Record(g, kStatusInvalidParameter);
  // Every pixel inside the clip takes the colour, alpha included.
  QPainter& painter = data->painter;
  painter.save();
  painter.resetTransform();
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.fillRect(QRect(0, 0, painter.device()->width(), painter.device()->height()), ToQColor(color));
  painter.restore();
  return kStatusOk;
}

bool NativeAccessPixels(Graphics& g, PixelBuffer& pixels) {
  QtGraphics* data = GraphicsOf(g);
  if (!data || !data->painter.isActive()) return false;
  QPaintDevice* device = data->painter.device();
  if (device->devType() != QInternal::Image) return false;
  auto* image = static_cast<QImage*>(device);
  if (image->format() != QImage::Format_ARGB32_Premultiplied || image->bytesPerLine() % 4 != 0) return false;
  // The painter detached the image when it began, so bits() copies nothing.
  pixels.pixels = reinterpret_cast<uint32_t*>(image->bits());
  pixels.width = image->width();
  pixels.height = image->height();
  pixels.stride = int(image->bytesPerLine() / 4);
  return true;
}

}  // namespace draw
