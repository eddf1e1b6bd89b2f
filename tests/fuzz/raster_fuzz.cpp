// libFuzzer target: the toolkit's own rasteriser fed any float input. The
// bytes are read as drawing calls whose arguments are small numbers, numbers
// at the edges of the floats (NaN, infinities, 1e-38, 1e30, 2^31, ...) or raw
// float bits, drawn on a small raster graphics whose pixels are framed by
// guard pixels: a call that writes outside its buffer aborts, as the
// sanitizers do for anything else.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

#include "draw/toolkit.h"

using namespace draw;

namespace {

constexpr int kWidth = 37, kHeight = 23, kFrame = 4, kStride = kWidth + 2 * kFrame;
constexpr uint32_t kGuard = 0x5EA5EA5E;
constexpr int kMaxCalls = 48;
constexpr int kMaxPoints = 24;

struct Input {
  const uint8_t* data;
  size_t size;

  bool Empty() const { return size == 0; }
  uint8_t Byte() {
    if (size == 0) return 0;
    --size;
    return *data++;
  }
  float Float() {
    static const float kEdges[] = {0.0f,
                                   -0.0f,
                                   1e-38f,
                                   -1e-38f,
                                   1e-45f,
                                   1e30f,
                                   -1e30f,
                                   3.4e38f,
                                   -3.4e38f,
                                   2147483648.0f,
                                   -2147483648.0f,
                                   1e12f,
                                   65536.5f,
                                   std::numeric_limits<float>::quiet_NaN(),
                                   std::numeric_limits<float>::infinity(),
                                   -std::numeric_limits<float>::infinity()};
    const uint8_t kind = Byte();
    if (kind < 200) return (float(kind) - 100) * 0.5f;  // across the buffer and a little beyond
    if (kind < 240) return kEdges[kind % (sizeof kEdges / sizeof kEdges[0])];
    uint8_t bits[4] = {Byte(), Byte(), Byte(), Byte()};
    float value;
    std::memcpy(&value, bits, 4);
    return value;
  }
  PointF Point() { return {Float(), Float()}; }
  Color AnyColor() {
    const uint8_t argb[4] = {Byte(), Byte(), Byte(), Byte()};  // read in this order
    return Argb(argb[0], argb[1], argb[2], argb[3]);
  }
};

Brush MakeBrush(Input& in) {
  if (in.Byte() % 2 == 0) return SolidBrush(in.AnyColor());
  const PointF p1 = in.Point();
  const Color c1 = in.AnyColor();
  const PointF p2 = in.Point();
  return GradientBrush(p1, c1, p2, in.AnyColor());
}

Pen MakeAnyPen(Input& in) {
  const uint8_t caps = in.Byte();
  Pen pen = MakePen(in.AnyColor(), in.Float());
  if (caps & 1) SetRoundStartCap(pen);
  if (caps & 2) SetRoundEndCap(pen);
  return pen;
}

std::vector<PointF> Points(Input& in) {
  std::vector<PointF> points(in.Byte() % kMaxPoints);
  for (PointF& p : points) p = in.Point();
  return points;
}

Path MakeAnyPath(Input& in) {
  Path path = MakePath();
  for (int calls = 1 + in.Byte() % 4; calls > 0; --calls) {
    switch (in.Byte() % 7) {
      case 0:
        StartFigure(path);
        break;
      case 1:
        CloseFigure(path);
        break;
      case 2: {
        const float x = in.Float(), y = in.Float(), w = in.Float();
        AddEllipse(path, x, y, w, in.Float());
        break;
      }
      case 3: {
        const std::vector<PointF> points = Points(in);
        AddPolygon(path, points.data(), int(points.size()));
        break;
      }
      case 4: {
        const std::vector<PointF> points = Points(in);
        AddLines(path, points.data(), int(points.size()));
        break;
      }
      case 5: {
        const PointF p0 = in.Point(), p1 = in.Point(), p2 = in.Point();
        AddBezier(path, p0, p1, p2, in.Point());
        break;
      }
      default: {
        const int x = int(in.Byte()) - 64, y = int(in.Byte()) - 64, w = in.Byte(), h = in.Byte();
        const float start = in.Float();
        AddArcI(path, x, y, w, h, start, in.Float());
        break;
      }
    }
  }
  return path;
}

void DrawOne(Graphics& g, Input& in, std::vector<uint32_t>& tokens) {
  switch (in.Byte() % 16) {
    case 0: {
      const float dx = in.Float();
      Translate(g, dx, in.Float());
      break;
    }
    case 1: {
      const float sx = in.Float();
      Scale(g, sx, in.Float());
      break;
    }
    case 2:
      Rotate(g, in.Float());
      break;
    case 3:
      tokens.push_back(SaveState(g));
      break;
    case 4:
      if (!tokens.empty()) RestoreState(g, tokens[in.Byte() % tokens.size()]);
      break;
    case 5:
      ClipToPath(g, MakeAnyPath(in));
      break;
    case 6: {
      const Brush brush = MakeBrush(in);
      FillPath(g, brush, MakeAnyPath(in));
      break;
    }
    case 7: {
      const Pen pen = MakeAnyPen(in);
      DrawPath(g, pen, MakeAnyPath(in));
      break;
    }
    case 8: {
      const Brush brush = MakeBrush(in);
      const float x = in.Float(), y = in.Float(), w = in.Float();
      FillEllipse(g, brush, x, y, w, in.Float());
      break;
    }
    case 9: {
      const Pen pen = MakeAnyPen(in);
      const float x = in.Float(), y = in.Float(), w = in.Float();
      DrawEllipse(g, pen, x, y, w, in.Float());
      break;
    }
    case 10: {
      const Brush brush = MakeBrush(in);
      const float x = in.Float(), y = in.Float(), w = in.Float();
      FillRectangle(g, brush, x, y, w, in.Float());
      break;
    }
    case 11: {
      const Pen pen = MakeAnyPen(in);
      const PointF a = in.Point();
      DrawLine(g, pen, a, in.Point());
      break;
    }
    case 12: {
      const Pen pen = MakeAnyPen(in);
      const float x = in.Float(), y = in.Float(), w = in.Float(), h = in.Float(), start = in.Float();
      DrawArc(g, pen, x, y, w, h, start, in.Float());
      break;
    }
    case 13: {
      const Pen pen = MakeAnyPen(in);
      const std::vector<PointF> points = Points(in);
      DrawLines(g, pen, points.data(), int(points.size()));
      break;
    }
    case 14: {
      const Brush brush = MakeBrush(in);
      const std::vector<PointF> points = Points(in);
      FillPolygon(g, brush, points.data(), int(points.size()));
      break;
    }
    default:
      Clear(g, in.AnyColor());
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint32_t> canvas(size_t(kStride) * (kHeight + 2 * kFrame), kGuard);
  uint32_t* pixels = canvas.data() + kFrame * kStride + kFrame;
  for (int y = 0; y < kHeight; ++y) std::memset(pixels + y * kStride, 0, kWidth * sizeof(uint32_t));
  Input in{data, size};
  {
    Graphics g = MakeRasterGraphics({pixels, kWidth, kHeight, kStride});
    std::vector<uint32_t> tokens;
    for (int calls = 0; calls < kMaxCalls && !in.Empty(); ++calls) DrawOne(g, in, tokens);
  }
  for (int y = 0; y < kHeight + 2 * kFrame; ++y) {
    for (int x = 0; x < kStride; ++x) {
      const bool inside = x >= kFrame && x < kFrame + kWidth && y >= kFrame && y < kFrame + kHeight;
      if (!inside && canvas[size_t(y) * kStride + size_t(x)] != kGuard) std::abort();  // drawn outside
    }
  }
  return 0;
}
