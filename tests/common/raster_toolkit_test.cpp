// The toolkit's semantics through its own rasteriser: the pictures every
// backend must draw.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

#include "common/raster_render.h"
#include "common/toolkit_expectations.h"

using namespace draw;

TEST(RasterToolkit, TransformsArePrepended) {
  ExpectPrependedTransforms(RenderWithRaster);
}
TEST(RasterToolkit, SaveAndRestoreNest) {
  ExpectNestedSaveRestore(RenderWithRaster);
}
TEST(RasterToolkit, GradientsTile) {
  ExpectTiledGradient(RenderWithRaster);
}
TEST(RasterToolkit, GradientsInterpolateStraightChannels) {
  ExpectStraightGradientInterpolation(RenderWithRaster);
}
TEST(RasterToolkit, PathsAndClipsFillEvenOdd) {
  ExpectEvenOddFill(RenderWithRaster);
}
TEST(RasterToolkit, PathFiguresJoinStartAndClose) {
  ExpectPathFigures(RenderWithRaster);
}
TEST(RasterToolkit, PenCapsAndWorldWidth) {
  ExpectPenCapsAndWidth(RenderWithRaster);
}
TEST(RasterToolkit, ArcAnglesOnTheEllipseClockwise) {
  ExpectArcAngles(RenderWithRaster);
}
TEST(RasterToolkit, FailedObjectsAreIgnored) {
  ExpectFailedObjectsIgnored(RenderWithRaster);
}

TEST(RasterToolkit, BufferWithoutPixelsGivesFailedGraphics) {
  for (PixelBuffer bad : {PixelBuffer{}, PixelBuffer{nullptr, 4, 4, 4}}) {
    Graphics g = MakeRasterGraphics(bad);
    EXPECT_EQ(g.native, nullptr);
    EXPECT_NE(g.lastStatus, kStatusOk);
    EXPECT_EQ(FillRectangle(g, SolidBrush(0xFF000000), 0, 0, 1, 1), kStatusInvalidParameter);
  }
  uint32_t pixels[4] = {};
  Graphics narrow = MakeRasterGraphics({pixels, 4, 1, 2});  // rows overlap
  EXPECT_EQ(narrow.native, nullptr);
}

// Any float input: what is not a number is refused (nothing drawn, the status
// says so), the rest is drawn inside the buffer or not at all. The buffer is
// framed by guard pixels that no drawing may touch.
// Ellipses (filled and thinly stroked) and thin lines are drawn from the
// distance to the curve or line, not through polygons. Each is drawn both
// ways (a stretch of 1e-5 leaves only the polygons to draw it) and must cover
// the same pixels, within the polygons' flattening (which cuts 0.2 pixel off
// a curve); and it covers its true area, where the case gives one: pi a b
// for a disc, the length times the pen's width for a ring or a line.
TEST(RasterToolkit, ShapesDrawnDirectlyCoverWhatTheirPolygonsCover) {
  constexpr Color kRed = 0xFFFF0000;
  constexpr double kPi = 3.14159265358979;
  // Ramanujan's length of an ellipse, good to 1e-5 here.
  auto length = [&](double a, double b) {
    return kPi * (3 * (a + b) - std::sqrt((3 * a + b) * (a + 3 * b)));
  };
  struct Case {
    const char* name;
    double area;  // 0: not known
    std::function<void(Graphics&)> drawing;
  };
  const Case cases[] = {
      {"a disc", kPi * 11.5 * 11.5,
       [](Graphics& g) { FillEllipse(g, SolidBrush(kRed), 10.3f, 8.6f, 23, 23); }},
      {"a turned ellipse, mirrored", kPi * 18 * 10.5,
       [](Graphics& g) {
         Translate(g, 30, 25);
         Rotate(g, 33);
         Scale(g, -1.5f, 1.5f);
         FillPath(g, SolidBrush(kRed), EllipsePath(-12, -7, 24, 14));
       }},
      {"a ring one pixel wide", length(20, 15),
       [](Graphics& g) { DrawEllipse(g, MakePen(kRed, 1), 8.2f, 6.7f, 40, 30); }},
      {"a pen of no width", length(15, 10),
       [](Graphics& g) { DrawEllipse(g, MakePen(kRed, 0), 8.5f, 6.5f, 30, 20); }},
      {"a pen just under the widest drawn directly", 2.9 * length(20, 14),
       [](Graphics& g) {
         Scale(g, 2, 2);
         DrawPath(g, MakePen(kRed, 1.45f), EllipsePath(4.1f, 3.3f, 20, 14));
       }},
      {"a pen just over it", 0, [](Graphics& g) { DrawEllipse(g, MakePen(kRed, 3.1f), 8, 6, 40, 30); }},
      {"a ring a little larger than its pen", 1.2 * length(2.2, 2.2),
       [](Graphics& g) { DrawEllipse(g, MakePen(kRed, 1.2f), 20, 20, 4.4f, 4.4f); }},
      {"an ellipse too flat for its pen", 0,
       [](Graphics& g) { DrawEllipse(g, MakePen(kRed, 1), 5, 20, 50, 3); }},
      {"a ring past the buffer's corner", 0,
       [](Graphics& g) { DrawEllipse(g, MakePen(kRed, 2), -20, -15, 45, 40); }},
      {"a slanted line", std::hypot(37.0, 21.0),
       [](Graphics& g) { DrawLine(g, MakePen(kRed, 1), 9.3f, 40.2f, 46.3f, 19.2f); }},
      {"a line down a pixel column, of no width", 30,
       [](Graphics& g) { DrawLine(g, MakePen(kRed, 0), 20.5f, 10, 20.5f, 40); }},
      {"a line just under the widest drawn directly, turned", 2.9 * 25,
       [](Graphics& g) {
         Translate(g, 30, 25);
         Rotate(g, -70);
         Scale(g, -1, 1);
         DrawLine(g, MakePen(kRed, 2.9f), -12.5f, 0, 12.5f, 0);
       }},
      {"a line past the buffer's side", 0,
       [](Graphics& g) { DrawLine(g, MakePen(kRed, 1.5f), -10, 5, 30, 45); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const RenderBuffer direct = RenderWithRaster(60, 50, c.drawing);
    const RenderBuffer polygons = RenderWithRaster(60, 50, [&](Graphics& g) {
      Scale(g, 1, 1.00001f);
      c.drawing(g);
    });
    double covered = 0;
    int worst = 0;
    for (size_t i = 0; i < direct.pixels.size(); ++i) {
      const int a = int(direct.pixels[i] >> 24), b = int(polygons.pixels[i] >> 24);
      covered += a / 255.0;
      worst = std::max(worst, std::abs(a - b));
    }
    EXPECT_GT(covered, 10);
    if (c.area > 0) {
      EXPECT_NEAR(covered, c.area, 0.01 * c.area);
    }
    EXPECT_LE(worst, 64);
  }
}

TEST(RasterToolkit, HostileGeometryDrawsInsideTheBufferOrNothing) {
  constexpr int kWidth = 40, kHeight = 30, kFrame = 8, kStride = kWidth + 2 * kFrame;
  constexpr uint32_t kGuard = 0x5EA5EA5E;
  constexpr Color kRed = 0xFFFF0000, kBlue = 0xFF0000FF;
  const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
  // Whether pixel (x, y) must be painted red (1), must stay clear (0), or
  // may be either (-1: partly covered).
  using Painted = int (*)(int x, int y);
  const Painted kNone = [](int, int) { return 0; };
  const Painted kAll = [](int, int) { return 1; };
  const Painted kAny = [](int, int) { return -1; };
  // The stroke of (10, 10) - (20, 20) with flat ends, as wide as can be: the
  // band 21 <= X + Y <= 41 of pixel space, where pixel (x, y) spans
  // [x, x + 1) x [y, y + 1).
  const Painted kBand = [](int x, int y) {
    return x + y >= 21 && x + y <= 39 ? 1 : x + y > 19 && x + y < 41 ? -1 : 0;
  };
  struct Case {
    const char* name;
    int status;
    Painted painted;
    std::function<void(Graphics&)> drawing;
  };
  const Case cases[] = {
      {"an edge 1e-38 pixel high", kStatusOk, kNone,
       [](Graphics& g) {
         Translate(g, 0, -0.5f);
         Scale(g, 1, 1e-38f);
         FillPolygon(g, SolidBrush(kRed), {{0, 0}, {50, 1}, {0, 1}});
       }},
      {"a gradient with a NaN end", kStatusInvalidParameter, kNone,
       [&](Graphics& g) {
         FillRectangle(g, GradientBrush({nan, 0}, kRed, {10, 0}, kBlue), 0, 0, 40, 30);
       }},
      {"a NaN point", kStatusInvalidParameter, kNone,
       [&](Graphics& g) {
         FillPolygon(g, SolidBrush(kRed), {{nan, 1}, {5, 1}, {5, 5}});
       }},
      {"infinite points", kStatusInvalidParameter, kNone,
       [&](Graphics& g) {
         const PointF line[] = {{1, 1}, {inf, 1}, {5, -inf}};
         DrawLines(g, MakePen(kRed, 2), line, 3);
         FillEllipse(g, SolidBrush(kRed), 0, 0, inf, 10);
       }},
      {"a NaN transform and pen width", kStatusInvalidParameter, kNone,
       [&](Graphics& g) {
         DrawLine(g, MakePen(kRed, nan), 0, 0, 40, 30);
         Rotate(g, nan);
         FillRectangle(g, SolidBrush(kRed), 0, 0, 40, 30);
       }},
      {"a 1e-38 scale", kStatusOk, kNone,
       [](Graphics& g) {
         Scale(g, 1e-38f, 1e-38f);
         FillEllipse(g, SolidBrush(kRed), 0, 0, 1e30f, 1e30f);
         DrawArc(g, MakePen(kRed, 0), 0, 0, 1e30f, 1e30f, 1e30f, 90);
       }},
      {"a 1e30 scale", kStatusOk, kAll,
       [](Graphics& g) {
         Scale(g, 1e30f, 1e30f);
         FillRectangle(g, GradientBrush({-1, 0}, kRed, {1, 0}, kRed), -1, -1, 2, 2);
         DrawEllipse(g, MakePen(kRed, 1), -1, -1, 2, 2);
       }},
      {"a gradient 1e-30 pixel long", kStatusOk, kAll,
       [](Graphics& g) {
         FillRectangle(g, GradientBrush({0, 0}, kRed, {1e-30f, 0}, kRed), -1, -1, 42, 32);
       }},
      {"a clip past 2^31", kStatusOk, kAll,
       [](Graphics& g) {
         ClipToPath(g, PolygonPath({{-3e9f, -3e9f}, {3e9f, -3e9f}, {3e9f, 3e9f}, {-3e9f, 3e9f}}));
         FillRectangle(g, SolidBrush(kRed), -1, -1, 42, 32);
       }},
      {"a pen 1e12 wide", kStatusOk, kBand,
       [](Graphics& g) { DrawLine(g, MakePen(kRed, 1e12f), 10, 10, 20, 20); }},
      {"an outline 1e12 wide", kStatusOk, kAll,
       [](Graphics& g) { DrawEllipse(g, MakePen(kRed, 1e12f), 10, 10, 20, 10); }},
      {"ellipses past every side, and far off", kStatusOk, kAny,
       [](Graphics& g) {
         DrawEllipse(g, MakePen(kRed, 1), -10, -10, 60, 50);
         FillEllipse(g, SolidBrush(kRed), 25, 15, 30, 30);
         FillEllipse(g, SolidBrush(kRed), -1e5f, 5, 2e5f, 2e5f);
         DrawEllipse(g, MakePen(kRed, 2), 9e5f, 9e5f, 5e3f, 5e3f);
       }},
      {"ellipses 1e-30, 1e-40 and 1e-45 pixel across", kStatusOk, kAny,
       [](Graphics& g) {
         FillEllipse(g, SolidBrush(kRed), 10, 10, 1e-30f, 1e-30f);
         FillEllipse(g, SolidBrush(kRed), 20, 10, 1e-45f, 1e-45f);
         DrawEllipse(g, MakePen(kRed, 0), 30, 10, 1e-40f, 1e-40f);
         DrawEllipse(g, MakePen(kRed, 0), 30, 20, 1e-45f, 1e-45f);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint32_t> canvas(size_t(kStride) * (kHeight + 2 * kFrame), kGuard);
    uint32_t* pixels = canvas.data() + kFrame * kStride + kFrame;
    for (int y = 0; y < kHeight; ++y) std::fill_n(pixels + y * kStride, kWidth, 0u);
    {
      Graphics g = MakeRasterGraphics({pixels, kWidth, kHeight, kStride});
      c.drawing(g);
      EXPECT_EQ(g.lastStatus, c.status);
    }
    for (int y = 0; y < kHeight + 2 * kFrame; ++y) {
      for (int x = 0; x < kStride; ++x) {
        const bool inside = x >= kFrame && x < kFrame + kWidth && y >= kFrame && y < kFrame + kHeight;
        const uint32_t p = canvas[size_t(y) * kStride + size_t(x)];
        if (!inside) {
          ASSERT_EQ(p, kGuard) << "guard pixel " << x << ", " << y << " drawn over";
          continue;
        }
        const int painted = c.painted(x - kFrame, y - kFrame);
        if (painted < 0) continue;
        EXPECT_EQ(p, painted ? kRed : 0u) << "pixel " << x - kFrame << ", " << y - kFrame;
      }
    }
  }
}
