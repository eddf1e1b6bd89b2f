// Filled contours (scan conversion and blending), pixel by pixel, where the
// coverage can be worked out by hand: each pixel covered by the share of its
// square inside the shape. Pixel (x, y) is the square [x, x + 1) x
// [y, y + 1) here (no half-pixel shift: that belongs to the toolkit's
// graphics).
#include "draw/raster_blend.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "common/render_buffer.h"
#include "draw/static_layer.h"

using namespace draw;

namespace {

constexpr Color kWhite = 0xFFFFFFFF;

struct Canvas {
  int width, height;
  std::vector<uint32_t> pixels;

  Canvas(int w, int h, uint32_t fill = 0) : width(w), height(h), pixels(size_t(w) * size_t(h), fill) {}
  PixelBuffer Buffer() { return {pixels.data(), width, height, width}; }
  uint32_t At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
  // Alpha of a white fill over transparent black: the coverage as 0..255.
  int Coverage(int x, int y) const { return int(At(x, y) >> 24); }
};

Contours Polygon(std::initializer_list<PointF> points) {
  Contours contours;
  contours.points.assign(points.begin(), points.end());
  contours.Close();
  return contours;
}

Contours Box(float x0, float y0, float x1, float y1) {
  return Polygon({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}});
}

void Fill(Canvas& canvas, const Contours& contours, FillRule rule = FillRule::kEvenOdd,
          Color color = kWhite) {
  SpanScratch scratch;
  Paint paint;
  paint.c1 = color;
  FillContours(canvas.Buffer(), contours, rule, paint, nullptr, scratch);
}

int Expected(double share) {
  return int(share * 255 + 0.5);
}

}  // namespace

TEST(RasterFill, EdgesAtSubPixelPositionsCoverTheirShare) {
  Canvas canvas(32, 16);
  Fill(canvas, Box(10.25f, 5.5f, 20.75f, 8.25f));
  for (int y : {5, 6, 7, 8}) {
    const double rowShare = y == 5 ? 0.5 : y == 8 ? 0.25 : 1;
    EXPECT_EQ(canvas.Coverage(9, y), 0) << "y " << y;
    EXPECT_EQ(canvas.Coverage(10, y), Expected(0.75 * rowShare)) << "y " << y;
    for (int x = 11; x < 20; ++x) EXPECT_EQ(canvas.Coverage(x, y), Expected(rowShare)) << x << ", " << y;
    EXPECT_EQ(canvas.Coverage(20, y), Expected(0.75 * rowShare)) << "y " << y;
    EXPECT_EQ(canvas.Coverage(21, y), 0) << "y " << y;
  }
  EXPECT_EQ(canvas.Coverage(15, 4), 0);
  EXPECT_EQ(canvas.Coverage(15, 9), 0);

  // A slanted edge: the triangle below the line x + y = 10 cuts each pixel on
  // the diagonal in half, and a pixel it crosses at a third of its height
  // keeps the trapezoid left of it.
  Canvas slanted(16, 16);
  Fill(slanted, Polygon({{0, 0}, {10, 0}, {0, 10}}));
  EXPECT_EQ(slanted.Coverage(4, 5), Expected(0.5));
  EXPECT_EQ(slanted.Coverage(0, 9), Expected(0.5));
  EXPECT_EQ(slanted.Coverage(3, 5), 255);
  EXPECT_EQ(slanted.Coverage(5, 5), 0);
  Canvas steep(16, 16);
  Fill(steep, Polygon({{2, 0}, {2.5f, 1}, {2, 1}}));  // a thin triangle inside pixel (2, 0)
  EXPECT_EQ(steep.Coverage(2, 0), Expected(0.25));
  EXPECT_EQ(steep.Coverage(3, 0), 0);
  // A nearly flat edge that crosses four words of cells within one row: each
  // pixel keeps the share under it, and nothing right of the edge's end.
  Canvas flat(256, 4);
  Fill(flat, Polygon({{0, 0}, {200, 0}, {0, 1}}));
  for (int x : {0, 63, 64, 127, 128, 191, 192, 199})
    EXPECT_NEAR(flat.Coverage(x, 0), Expected(1 - (x + 0.5) / 200), 1) << "x " << x;
  for (int x : {200, 201, 255}) EXPECT_EQ(flat.Coverage(x, 0), 0) << "x " << x;
}

TEST(RasterFill, ShapesClippedByTheBufferEdges) {
  // Past the left and top edges: what lies inside the buffer keeps its share.
  Canvas canvas(10, 10);
  Fill(canvas, Box(-5.5f, -3, 4.5f, 2));
  EXPECT_EQ(canvas.Coverage(0, 0), 255);
  EXPECT_EQ(canvas.Coverage(3, 1), 255);
  EXPECT_EQ(canvas.Coverage(4, 1), Expected(0.5));
  EXPECT_EQ(canvas.Coverage(5, 1), 0);
  EXPECT_EQ(canvas.Coverage(0, 2), 0);
  // Past the right and bottom edges.
  Fill(canvas, Box(7.5f, 8, 15, 20));
  EXPECT_EQ(canvas.Coverage(7, 9), Expected(0.5));
  EXPECT_EQ(canvas.Coverage(9, 9), 255);
  EXPECT_EQ(canvas.Coverage(9, 7), 0);
  // A slanted edge that crosses the left side: column 0 keeps the area of the
  // triangle x + y < 10 inside it, not the triangle's part left of it.
  Canvas slanted(16, 16);
  Fill(slanted, Polygon({{-10, 0}, {10, 0}, {-10, 20}}));
  EXPECT_EQ(slanted.Coverage(0, 9), Expected(0.5));
  EXPECT_EQ(slanted.Coverage(0, 8), 255);
  EXPECT_EQ(slanted.Coverage(0, 10), 0);
  EXPECT_EQ(slanted.Coverage(9, 0), Expected(0.5));
  // Wholly outside, far away, or not a number: nothing, and no harm.
  Canvas clean(8, 8);
  Fill(clean, Box(20, 20, 30, 30));
  Fill(clean, Box(-30, -30, -20, -20));
  Fill(clean, Box(1e30f, 1, 2e30f, 5));
  const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
  Fill(clean, Polygon({{nan, 1}, {5, 1}, {5, 5}}));
  Fill(clean, Polygon({{1, 1}, {inf, 1}, {5, inf}}));
  for (uint32_t p : clean.pixels) EXPECT_EQ(p, 0u);
  // Finite but as far as floats go: whatever it covers, it is drawn without harm.
  Fill(clean, Polygon({{-3e38f, -3e38f}, {3e38f, 1}, {1, 3e38f}}));
  Fill(clean, Polygon({{-3e38f, 2}, {3e38f, 2.5f}, {3e38f, 6}}));
  // A box far larger than the buffer covers all of it.
  Fill(clean, Box(-1e7f, -1e7f, 1e7f, 1e7f));
  for (uint32_t p : clean.pixels) EXPECT_EQ(p, kWhite);
}

TEST(RasterFill, ZeroWidthAndOnePixelHighShapes) {
  Canvas canvas(16, 8);
  Fill(canvas, Box(4, 1, 4, 6));                    // no width
  Fill(canvas, Box(2, 3, 12, 3));                   // no height
  Fill(canvas, Polygon({{1, 1}, {5, 5}, {9, 9}}));  // a line, no area
  for (uint32_t p : canvas.pixels) EXPECT_EQ(p, 0u);

  Fill(canvas, Box(2, 3, 12, 4));  // exactly row 3
  for (int x = 0; x < 16; ++x) {
    EXPECT_EQ(canvas.Coverage(x, 3), x >= 2 && x < 12 ? 255 : 0) << "x " << x;
    EXPECT_EQ(canvas.Coverage(x, 2), 0);
    EXPECT_EQ(canvas.Coverage(x, 4), 0);
  }
  Canvas straddling(16, 8);
  Fill(straddling, Box(2, 3.5f, 12, 4.5f));  // one pixel high across two rows
  EXPECT_EQ(straddling.Coverage(5, 3), Expected(0.5));
  EXPECT_EQ(straddling.Coverage(5, 4), Expected(0.5));
}

TEST(RasterFill, WidthsAndHeightsOf1And16384) {
  Canvas single(1, 1);
  Fill(single, Box(0.25f, 0, 1, 1));
  EXPECT_EQ(single.Coverage(0, 0), Expected(0.75));

  for (const auto& [w, h] : {std::pair{16384, 1}, std::pair{1, 16384}}) {
    SCOPED_TRACE(w == 1 ? "1 x 16384" : "16384 x 1");
    Canvas canvas(w, h);
    Fill(canvas, Box(-1, -1, float(w) + 1, float(h) + 1));
    EXPECT_EQ(canvas.Coverage(0, 0), 255);
    EXPECT_EQ(canvas.Coverage(w - 1, h - 1), 255);
    Canvas edge(w, h);
    // The last half pixel only.
    if (w > 1) {
      Fill(edge, Box(float(w) - 0.5f, 0, float(w), 1));
      EXPECT_EQ(edge.Coverage(w - 1, 0), Expected(0.5));
      EXPECT_EQ(edge.Coverage(w - 2, 0), 0);
    } else {
      Fill(edge, Box(0, float(h) - 0.5f, 1, float(h)));
      EXPECT_EQ(edge.Coverage(0, h - 1), Expected(0.5));
      EXPECT_EQ(edge.Coverage(0, h - 2), 0);
    }
  }
  // A shape 16384 pixels wide in a wider buffer, slanted end to end.
  Canvas wide(16386, 2);
  Fill(wide, Polygon({{1, 0}, {16385, 0}, {16385, 2}}));
  EXPECT_EQ(wide.Coverage(0, 0), 0);
  EXPECT_EQ(wide.Coverage(16384, 1), 255);
  EXPECT_NEAR(wide.Coverage(8193, 0), Expected(1 - 0.5 / 8192), 1);
  EXPECT_EQ(wide.Coverage(16385, 0), 0);
}

TEST(RasterFill, FillRulesWhereContoursOverlap) {
  Contours two = Box(2, 2, 10, 10);
  const Contours second = Box(6, 6, 14, 14);
  two.points.insert(two.points.end(), second.points.begin(), second.points.end());
  two.Close();
  Canvas evenOdd(16, 16), nonZero(16, 16);
  Fill(evenOdd, two, FillRule::kEvenOdd);
  Fill(nonZero, two, FillRule::kNonZero);
  EXPECT_EQ(evenOdd.Coverage(8, 8), 0);
  EXPECT_EQ(nonZero.Coverage(8, 8), 255);
  EXPECT_EQ(evenOdd.Coverage(3, 3), 255);
  EXPECT_EQ(nonZero.Coverage(12, 12), 255);
}

TEST(RasterFill, PaintsBlendSourceOverWithExactRounding) {
  // Half-transparent red over opaque blue, full and half covered.
  Canvas canvas(8, 2, 0xFF0000FF);
  Fill(canvas, Box(0, 0, 8, 1), FillRule::kEvenOdd, 0x80FF0000);
  Fill(canvas, Box(0, 1, 8, 1.5f), FillRule::kEvenOdd, 0x80FF0000);
  EXPECT_EQ(canvas.At(3, 0), 0xFF80007Fu);  // red 128, blue 255 * 127 / 255
  EXPECT_EQ(canvas.At(3, 1), 0xFF4000BFu);  // a quarter of red, three quarters of blue

  // A vertical gradient has one colour per row; a horizontal one tiles.
  SpanScratch scratch;
  Canvas ramp(20, 10);
  Paint down;
  down.gradient = true;
  down.c1 = 0xFF000000;
  down.c2 = 0xFFFFFFFF;
  down.ty = 0.1f;  // t = (y + 0.5) / 10
  FillContours(ramp.Buffer(), Box(0, 0, 20, 10), FillRule::kEvenOdd, down, nullptr, scratch);
  for (int y = 0; y < 10; ++y) {
    EXPECT_EQ(ramp.At(0, y), ramp.At(19, y));
    EXPECT_NEAR(int(ramp.At(7, y) & 0xFF), (y + 0.5) * 25.5, 1.5) << "y " << y;
  }
  Canvas across(40, 1);
  Paint right = down;
  right.tx = 0.05f;  // one ramp every 20 pixels
  right.ty = 0;
  FillContours(across.Buffer(), Box(0, 0, 40, 1), FillRule::kEvenOdd, right, nullptr, scratch);
  // Read off a ramp of two steps a pixel: within a quarter pixel's change (3.2).
  EXPECT_NEAR(int(across.At(10, 0) & 0xFF), 134, 4);
  EXPECT_NEAR(int(across.At(30, 0) & 0xFF), 134, 4);  // tiled, not held at white
  EXPECT_NEAR(int(across.At(20, 0) & 0xFF), 6, 4);

  // A gradient nearly straight down, its ramp entries painted a stretch at a
  // time, gives the colours read pixel by pixel (as a clip that lets all
  // through reads them). A ramp 64 pixels long has 128 entries: a slant of
  // 1/1024 makes each last exactly 8 pixels of a row, the shortest painted
  // in stretches; a little more, and the reading is pixel by pixel anyway.
  CoverageMask all;
  MaskContours(96, 6, Box(-1, -1, 97, 7), FillRule::kEvenOdd, all, scratch);
  for (const float slant : {1.0f / 1024, -1.0f / 1024, 1.001f / 1024, 0.3f / 1024}) {
    SCOPED_TRACE(slant);
    Paint nearlyDown = down;
    nearlyDown.ty = 1.0f / 64;
    nearlyDown.tx = slant;
    nearlyDown.t0 = 0.96f;  // crosses the end of the ramp into the next period
    const Contours slanted = Polygon({{0.3f, 0}, {90, 0.6f}, {95.5f, 6}, {2, 5.2f}});
    Canvas stretches(96, 6, 0xFF204060), pixels(96, 6, 0xFF204060);
    FillContours(stretches.Buffer(), slanted, FillRule::kEvenOdd, nearlyDown, nullptr, scratch);
    FillContours(pixels.Buffer(), slanted, FillRule::kEvenOdd, nearlyDown, &all, scratch);
    EXPECT_EQ(stretches.pixels, pixels.pixels);
  }
}

TEST(RasterFill, ClipMaskLimitsTheFill) {
  SpanScratch scratch;
  CoverageMask mask;
  MaskContours(16, 16, Box(4, 4, 8.5f, 12), FillRule::kEvenOdd, mask, scratch);
  Canvas canvas(16, 16);
  Paint paint;
  paint.c1 = kWhite;
  FillContours(canvas.Buffer(), Box(0, 0, 16, 8), FillRule::kEvenOdd, paint, &mask, scratch);
  EXPECT_EQ(canvas.Coverage(5, 5), 255);
  EXPECT_EQ(canvas.Coverage(8, 5), Expected(0.5));
  EXPECT_EQ(canvas.Coverage(3, 5), 0);
  EXPECT_EQ(canvas.Coverage(5, 9), 0);  // inside the clip, outside the fill
  // An empty clip lets nothing through.
  CoverageMask empty;
  MaskContours(16, 16, Box(40, 40, 50, 50), FillRule::kEvenOdd, empty, scratch);
  Canvas none(16, 16);
  FillContours(none.Buffer(), Box(0, 0, 16, 16), FillRule::kEvenOdd, paint, &empty, scratch);
  for (uint32_t p : none.pixels) EXPECT_EQ(p, 0u);
}

TEST(StaticLayer, PutDownItMatchesDrawingItThere) {
  // Two translucent layers over an opaque one, with edges half a pixel in.
  auto drawing = [](Graphics& g) {
    FillRectangle(g, GradientBrush({0, 0}, 0xFF204080, {0, 30}, 0xFF103060), 0, 0, 40, 30);
    FillRectangle(g, SolidBrush(0x80FFFFFF), 10, 5, 20, 10);
    FillEllipse(g, SolidBrush(0x40FF8000), 5, 12, 30, 14);
  };
  StaticLayer layer;
  ASSERT_TRUE(RecordStaticLayer(layer, 41, 31, drawing));
  for (uint32_t background : {0x00000000u, 0xFF336699u}) {
    std::vector<uint32_t> direct(48 * 36, background), kept(48 * 36, background);
    {
      Graphics g = MakeRasterGraphics({direct.data(), 48, 36, 48});
      drawing(g);
    }
    {
      Graphics g = MakeRasterGraphics({kept.data(), 48, 36, 48});
      EXPECT_EQ(DrawStaticLayer(g, layer), kStatusOk);
    }
    for (size_t i = 0; i < direct.size(); ++i) {
      for (int shift = 0; shift < 32; shift += 8) {
        EXPECT_NEAR(int((direct[i] >> shift) & 0xFF), int((kept[i] >> shift) & 0xFF), 1)
            << "pixel " << i % 48 << ", " << i / 48 << ": " << ColorText(direct[i]) << " kept "
            << ColorText(kept[i]);
      }
    }
  }
  EXPECT_FALSE(RecordStaticLayer(layer, 0, 10, drawing));
  EXPECT_TRUE(layer.runs.empty());
}
