// The toolkit over Qt's raster QPainter, set up to give the GDI+ picture:
// component-wise gradient interpolation, tiled gradients, even-odd paths,
// flat caps and mitred joins, clockwise geometric arc angles, integer
// coordinates at pixel centres, and GDI+'s status codes for failed calls.
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QtMath>
#include <algorithm>
#include <cmath>
#include <vector>

#include "draw/qt/qt_graphics.h"
#include "draw/toolkit.h"

namespace {

struct QtBrush {
  QBrush brush;
};

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

QtBrush* BrushOf(const Brush& b) {
  return static_cast<QtBrush*>(b.native);
}
QtPen* PenOf(const Pen& p) {
  return static_cast<QtPen*>(p.native);
}
QtPath* PathOf(const Path& p) {
  return static_cast<QtPath*>(p.native);
}
QtGraphics* GraphicsOf(const Graphics& g) {
  return static_cast<QtGraphics*>(g.native);
}

int Record(NativeObject& object, int status) {
  if (status != kStatusOk) object.lastStatus = status;
  return status;
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

// The common prologue of every drawing call: a null native object fails the
// call with InvalidParameter, recorded in the graphics as GDI+'s wrapper does.
int CheckDraw(Graphics& g, const NativeObject& object) {
  if (!g.native || !object.native) return Record(g, kStatusInvalidParameter);
  return kStatusOk;
}

QPainterPath EllipseShape(float x, float y, float w, float h) {
  QPainterPath shape;
  shape.setFillRule(Qt::OddEvenFill);
  shape.addEllipse(QRectF(x, y, w, h));
  return shape;
}

int FillShape(Graphics& g, const Brush& brush, const QPainterPath& shape) {
  if (int status = CheckDraw(g, brush)) return status;
  GraphicsOf(g)->painter.fillPath(shape, BrushOf(brush)->brush);
  return kStatusOk;
}

int StrokeShape(Graphics& g, const Pen& pen, const QPainterPath& shape) {
  if (int status = CheckDraw(g, pen)) return status;
  StrokeWithCaps(GraphicsOf(g)->painter, *PenOf(pen), shape);
  return kStatusOk;
}

}  // namespace

// ---- objects ----

Brush::~Brush() {
  delete BrushOf(*this);
}
Pen::~Pen() {
  delete PenOf(*this);
}
Path::~Path() {
  delete PathOf(*this);
}
Graphics::~Graphics() {
  delete GraphicsOf(*this);
}

Brush SolidBrush(Color color) {
  Brush brush;
  brush.native = new QtBrush{QBrush(ToQColor(color))};
  return brush;
}

Brush GradientBrush(PointF p1, Color c1, PointF p2, Color c2) {
  Brush brush;
  if (p1.x == p2.x && p1.y == p2.y) {
    // GDI+ cannot make a gradient without a direction.
    brush.lastStatus = kStatusOutOfMemory;
    return brush;
  }
  QLinearGradient gradient(QPointF(p1.x, p1.y), QPointF(p2.x, p2.y));
  gradient.setColorAt(0, ToQColor(c1));
  gradient.setColorAt(1, ToQColor(c2));
  gradient.setSpread(QGradient::RepeatSpread);
  gradient.setInterpolationMode(QGradient::ComponentInterpolation);
  brush.native = new QtBrush{QBrush(gradient)};
  return brush;
}

Pen MakePen(Color color, float width) {
  Pen pen;
  pen.native = new QtPen{MakeQPen(color, width)};
  return pen;
}

int SetRoundStartCap(Pen& pen) {
  if (!pen.native) return Record(pen, kStatusInvalidParameter);
  PenOf(pen)->roundStart = true;
  return kStatusOk;
}

int SetRoundEndCap(Pen& pen) {
  if (!pen.native) return Record(pen, kStatusInvalidParameter);
  PenOf(pen)->roundEnd = true;
  return kStatusOk;
}

// ---- paths ----

Path MakePath() {
  Path path;
  auto* data = new QtPath;
  data->path.setFillRule(Qt::OddEvenFill);
  path.native = data;
  return path;
}

int StartFigure(Path& path) {
  if (!path.native) return Record(path, kStatusInvalidParameter);
  PathOf(path)->figureOpen = false;
  return kStatusOk;
}

int CloseFigure(Path& path) {
  QtPath* data = PathOf(path);
  if (!data) return Record(path, kStatusInvalidParameter);
  if (data->figureOpen) data->path.closeSubpath();
  data->figureOpen = false;
  return kStatusOk;
}

int AddEllipse(Path& path, float x, float y, float w, float h) {
  QtPath* data = PathOf(path);
  if (!data) return Record(path, kStatusInvalidParameter);
  data->path.addEllipse(QRectF(x, y, w, h));
  data->figureOpen = false;
  return kStatusOk;
}

int AddPolygon(Path& path, const PointF* points, int count) {
  QtPath* data = PathOf(path);
  if (!data || !points || count < 3) return Record(path, kStatusInvalidParameter);
  data->path.moveTo(points[0].x, points[0].y);
  for (int i = 1; i < count; ++i) data->path.lineTo(points[i].x, points[i].y);
  data->path.closeSubpath();
  data->figureOpen = false;
  return kStatusOk;
}

int AddLines(Path& path, const PointF* points, int count) {
  QtPath* data = PathOf(path);
  if (!data || !points || count < 1) return Record(path, kStatusInvalidParameter);
  if (data->figureOpen) {
    data->path.lineTo(points[0].x, points[0].y);
  } else {
    data->path.moveTo(points[0].x, points[0].y);
  }
  for (int i = 1; i < count; ++i) data->path.lineTo(points[i].x, points[i].y);
  data->figureOpen = true;
  return kStatusOk;
}

int AddBezier(Path& path, PointF p0, PointF p1, PointF p2, PointF p3) {
  QtPath* data = PathOf(path);
  if (!data) return Record(path, kStatusInvalidParameter);
  const QPointF start(p0.x, p0.y);
  if (!data->figureOpen) {
    data->path.moveTo(start);
  } else if (data->path.currentPosition() != start) {
    data->path.lineTo(start);
  }
  data->path.cubicTo(p1.x, p1.y, p2.x, p2.y, p3.x, p3.y);
  data->figureOpen = true;
  return kStatusOk;
}

int AddArcI(Path& path, int x, int y, int w, int h, float startDegrees, float sweepDegrees) {
  QtPath* data = PathOf(path);
  if (!data) return Record(path, kStatusInvalidParameter);
  AppendArc(data->path, data->figureOpen, x, y, w, h, startDegrees, sweepDegrees);
  data->figureOpen = true;
  return kStatusOk;
}

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

bool SavePng(const QImage& image, const std::string& path) {
  return image.save(QString::fromStdString(path), "PNG");
}

int Translate(Graphics& g, float dx, float dy) {
  if (!g.native) return Record(g, kStatusInvalidParameter);
  GraphicsOf(g)->painter.translate(dx, dy);  // QPainter prepends
  return kStatusOk;
}

int Scale(Graphics& g, float sx, float sy) {
  if (!g.native) return Record(g, kStatusInvalidParameter);
  GraphicsOf(g)->painter.scale(sx, sy);
  return kStatusOk;
}

int Rotate(Graphics& g, float degrees) {
  if (!g.native) return Record(g, kStatusInvalidParameter);
  GraphicsOf(g)->painter.rotate(degrees);  // clockwise on screen, y down
  return kStatusOk;
}

uint32_t SaveState(Graphics& g) {
  QtGraphics* data = GraphicsOf(g);
  if (!data) {
    Record(g, kStatusInvalidParameter);
    return 0;
  }
  data->painter.save();
  data->saved.push_back(data->nextToken);
  return data->nextToken++;
}

int RestoreState(Graphics& g, uint32_t token) {
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

int ClipToPath(Graphics& g, const Path& path) {
  if (!g.native || !path.native) return Record(g, kStatusInvalidParameter);
  GraphicsOf(g)->painter.setClipPath(PathOf(path)->path, Qt::ReplaceClip);
  return kStatusOk;
}

// ---- drawing ----

int FillPath(Graphics& g, const Brush& brush, const Path& path) {
  if (!path.native) return Record(g, kStatusInvalidParameter);
  return FillShape(g, brush, PathOf(path)->path);
}

int DrawPath(Graphics& g, const Pen& pen, const Path& path) {
  if (!path.native) return Record(g, kStatusInvalidParameter);
  return StrokeShape(g, pen, PathOf(path)->path);
}

int FillEllipse(Graphics& g, const Brush& brush, float x, float y, float w, float h) {
  return FillShape(g, brush, EllipseShape(x, y, w, h));
}

int DrawEllipse(Graphics& g, const Pen& pen, float x, float y, float w, float h) {
  return StrokeShape(g, pen, EllipseShape(x, y, w, h));
}

int FillRectangle(Graphics& g, const Brush& brush, float x, float y, float w, float h) {
  QPainterPath shape;
  shape.addRect(QRectF(x, y, w, h));
  return FillShape(g, brush, shape);
}

int DrawLine(Graphics& g, const Pen& pen, float x1, float y1, float x2, float y2) {
  QPainterPath shape;
  shape.moveTo(x1, y1);
  shape.lineTo(x2, y2);
  return StrokeShape(g, pen, shape);
}

int DrawArc(Graphics& g, const Pen& pen, float x, float y, float w, float h, float startDegrees,
            float sweepDegrees) {
  QPainterPath shape;
  AppendArc(shape, false, x, y, w, h, startDegrees, sweepDegrees);
  return StrokeShape(g, pen, shape);
}

int DrawLines(Graphics& g, const Pen& pen, const PointF* points, int count) {
  if (!points || count < 2) return Record(g, kStatusInvalidParameter);
  QPainterPath shape;
  shape.moveTo(points[0].x, points[0].y);
  for (int i = 1; i < count; ++i) shape.lineTo(points[i].x, points[i].y);
  return StrokeShape(g, pen, shape);
}

int Clear(Graphics& g, Color color) {
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
