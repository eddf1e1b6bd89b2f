#include "common/toolkit_expectations.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace draw;

namespace {

constexpr Color kWhite = 0xFFFFFFFF;
constexpr Color kRed = 0xFFFF0000;
constexpr Color kBlue = 0xFF0000FF;
constexpr Color kGreen = 0xFF00FF00;

// Anti-aliasing and gradient sampling differ slightly between backends;
// checks sample well inside or well outside shapes and allow this much.
constexpr int kTolerance = 16;

bool Near(uint32_t actual, uint32_t expected, int tolerance) {
  for (int shift = 0; shift < 32; shift += 8) {
    int a = int((actual >> shift) & 0xFF);
    int e = int((expected >> shift) & 0xFF);
    if (std::abs(a - e) > tolerance) return false;
  }
  return true;
}

::testing::AssertionResult PixelIs(const RenderBuffer& image, int x, int y, uint32_t expected,
                                   int tolerance = kTolerance) {
  uint32_t actual = image.At(x, y);
  if (Near(actual, expected, tolerance)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is " << ColorText(actual)
                                       << ", expected " << ColorText(expected);
}

// Grey level g as an opaque colour.
constexpr uint32_t Grey(int g) {
  return 0xFF000000u | uint32_t(g) << 16 | uint32_t(g) << 8 | uint32_t(g);
}

}  // namespace

void ExpectPrependedTransforms(const RenderFn& render) {
  RenderBuffer image = render(64, 64, [](Graphics& g) {
    Clear(g, kWhite);
    Translate(g, 40, 20);
    Rotate(g, 90);
    Scale(g, -1, 1);
    FillRectangle(g, SolidBrush(kRed), 8, -2, 4, 4);   // local (10, 0)
    FillRectangle(g, SolidBrush(kBlue), -2, 8, 4, 4);  // local (0, 10)
  });
  // p -> (40, 20) + rotate(90, (-p.x, p.y))
  EXPECT_TRUE(PixelIs(image, 40, 10, kRed));
  EXPECT_TRUE(PixelIs(image, 30, 20, kBlue));
  // Where the red mark lands with appended transforms, or without the mirror.
  EXPECT_TRUE(PixelIs(image, 20, 50, kWhite));
  EXPECT_TRUE(PixelIs(image, 40, 30, kWhite));

  // A translation issued after a rotation moves along the rotated axes.
  RenderBuffer second = render(64, 64, [](Graphics& g) {
    Clear(g, kWhite);
    Translate(g, 32, 32);
    Rotate(g, 90);
    Translate(g, 10, 0);
    Scale(g, 2, 2);
    FillRectangle(g, SolidBrush(kRed), -1, -1, 2, 2);
  });
  EXPECT_TRUE(PixelIs(second, 32, 42, kRed));
  EXPECT_TRUE(PixelIs(second, 42, 32, kWhite));
}

void ExpectNestedSaveRestore(const RenderFn& render) {
  RenderBuffer image = render(64, 64, [](Graphics& g) {
    Clear(g, kWhite);
    uint32_t t0 = SaveState(g);
    Translate(g, 10, 10);
    ClipToPath(g, PolygonPath({{0, 0}, {20, 0}, {20, 20}, {0, 20}}));  // screen 10..30
    uint32_t t1 = SaveState(g);
    Rotate(g, 30);
    Scale(g, -1, 1);
    ClipToPath(g, EllipsePath(-5, -5, 10, 10));  // replaces the square
    uint32_t t2 = SaveState(g);
    Translate(g, 100, 100);
    EXPECT_EQ(RestoreState(g, t1), kStatusOk);
    // Back to translate (10, 10) and the square clip.
    FillRectangle(g, SolidBrush(kRed), -10, -10, 60, 60);
    // t2 went with t1: restoring it changes nothing.
    RestoreState(g, t2);
    FillRectangle(g, SolidBrush(kBlue), 0, 0, 8, 8);
    EXPECT_EQ(RestoreState(g, t0), kStatusOk);
    FillRectangle(g, SolidBrush(kGreen), 50, 50, 10, 10);
  });
  EXPECT_TRUE(PixelIs(image, 25, 25, kRed));
  EXPECT_TRUE(PixelIs(image, 27, 12, kRed));  // outside the ellipse, inside the square
  EXPECT_TRUE(PixelIs(image, 5, 5, kWhite));
  EXPECT_TRUE(PixelIs(image, 35, 35, kWhite));
  EXPECT_TRUE(PixelIs(image, 14, 14, kBlue));
  EXPECT_TRUE(PixelIs(image, 55, 55, kGreen));  // identity, no clip
}

void ExpectTiledGradient(const RenderFn& render) {
  RenderBuffer image = render(80, 40, [](Graphics& g) {
    Clear(g, kWhite);
    // Black at x = 10 to white at x = 30: one period is 20 pixels.
    Brush ramp = GradientBrush({10, 0}, 0xFF000000, {30, 0}, kWhite);
    FillRectangle(g, ramp, 0, 0, 80, 10);
    // The same brush for two shapes: each is shaded by its position.
    FillRectangle(g, ramp, 0, 12, 40, 10);
    FillRectangle(g, ramp, 40, 12, 40, 10);
  });
  for (int y : {5, 17}) {
    EXPECT_TRUE(PixelIs(image, 20, y, Grey(128)));
    EXPECT_TRUE(PixelIs(image, 5, y, Grey(191)));  // before the start: tiled, not black
    EXPECT_TRUE(PixelIs(image, 35, y, Grey(64)));  // past the end: starts over (191 if mirrored)
    EXPECT_TRUE(PixelIs(image, 45, y, Grey(191)));
    EXPECT_TRUE(PixelIs(image, 65, y, Grey(191)));
  }
}

void ExpectStraightGradientInterpolation(const RenderFn& render) {
  RenderBuffer image = render(80, 10, [](Graphics& g) {
    Clear(g, kWhite);
    FillRectangle(g, GradientBrush({0, 0}, kRed, {80, 0}, 0x000000FF), 0, 0, 80, 10);
  });
  // Opaque red to transparent blue, halfway: (128, 0, 128) at alpha 128 over
  // white. Interpolating premultiplied colours would give (255, 128, 128).
  EXPECT_TRUE(PixelIs(image, 40, 5, Argb(255, 191, 128, 191)));
}

void ExpectEvenOddFill(const RenderFn& render) {
  RenderBuffer ring = render(64, 64, [](Graphics& g) {
    Clear(g, kWhite);
    Path path = MakePath();
    AddEllipse(path, 4, 4, 56, 56);
    AddEllipse(path, 20, 20, 24, 24);
    FillPath(g, SolidBrush(kRed), path);
  });
  EXPECT_TRUE(PixelIs(ring, 32, 32, kWhite));
  EXPECT_TRUE(PixelIs(ring, 10, 32, kRed));
  EXPECT_TRUE(PixelIs(ring, 2, 2, kWhite));

  // A pentagram crossing itself: the inner pentagon is outside under even-odd.
  const PointF star[5] = {{32, 4}, {48.5f, 54.7f}, {5.4f, 23.4f}, {58.6f, 23.4f}, {15.5f, 54.7f}};
  RenderBuffer drawn = render(64, 64, [&](Graphics& g) {
    Clear(g, kWhite);
    FillPolygon(g, SolidBrush(kRed), star, 5);
  });
  EXPECT_TRUE(PixelIs(drawn, 32, 34, kWhite));
  EXPECT_TRUE(PixelIs(drawn, 32, 12, kRed));  // a point of the star

  RenderBuffer clipped = render(64, 64, [&](Graphics& g) {
    Clear(g, kWhite);
    ClipToPath(g, PolygonPath(star, 5));
    FillRectangle(g, SolidBrush(kBlue), 0, 0, 64, 64);
  });
  EXPECT_TRUE(PixelIs(clipped, 32, 34, kWhite));
  EXPECT_TRUE(PixelIs(clipped, 32, 12, kBlue));
  EXPECT_TRUE(PixelIs(clipped, 2, 60, kWhite));
}

void ExpectPathFigures(const RenderFn& render) {
  RenderBuffer image = render(64, 64, [](Graphics& g) {
    Clear(g, kWhite);
    // Two strips in one open figure: joined, and closed for filling.
    Path joined = MakePath();
    const PointF top[2] = {{4, 4}, {28, 4}}, bottom[2] = {{28, 28}, {4, 28}};
    AddLines(joined, top, 2);
    AddLines(joined, bottom, 2);
    FillPath(g, SolidBrush(kRed), joined);
    // The same strips as two figures enclose nothing.
    Path apart = MakePath();
    const PointF top2[2] = {{36, 4}, {60, 4}}, bottom2[2] = {{60, 28}, {36, 28}};
    AddLines(apart, top2, 2);
    StartFigure(apart);
    AddLines(apart, bottom2, 2);
    FillPath(g, SolidBrush(kBlue), apart);
    // Closing a figure strokes the edge back to its start.
    Path corner = MakePath();
    const PointF bend[3] = {{4, 36}, {40, 36}, {40, 60}};
    AddLines(corner, bend, 3);
    CloseFigure(corner);
    DrawPath(g, MakePen(kGreen, 3), corner);
  });
  EXPECT_TRUE(PixelIs(image, 16, 16, kRed));
  EXPECT_TRUE(PixelIs(image, 48, 16, kWhite));
  EXPECT_TRUE(PixelIs(image, 22, 48, kGreen));  // on the closing edge
  EXPECT_TRUE(PixelIs(image, 30, 48, kWhite));  // inside the outline
}

void ExpectPenCapsAndWidth(const RenderFn& render) {
  constexpr Color kHalfRed = 0x80FF0000;
  RenderBuffer image = render(80, 80, [](Graphics& g) {
    Clear(g, kWhite);
    DrawLine(g, MakePen(kRed, 8), 20, 10, 50, 10);
    DrawLine(g, RoundPen(kRed, 8), 20, 30, 50, 30);
    Pen startRound = MakePen(kHalfRed, 8);
    SetRoundStartCap(startRound);
    DrawLine(g, startRound, 20, 50, 50, 50);
    Scale(g, 2, 2);
    DrawLine(g, MakePen(kRed, 4), 10, 35, 30, 35);  // screen y 66..74
  });
  // Flat: the stroke ends at the end points (a square cap would reach x = 16).
  EXPECT_TRUE(PixelIs(image, 22, 10, kRed));
  EXPECT_TRUE(PixelIs(image, 17, 10, kWhite));
  EXPECT_TRUE(PixelIs(image, 53, 10, kWhite));
  // Round: half a width beyond each end, and no further.
  EXPECT_TRUE(PixelIs(image, 17, 30, kRed));
  EXPECT_TRUE(PixelIs(image, 53, 30, kRed));
  EXPECT_TRUE(PixelIs(image, 13, 30, kWhite));
  EXPECT_TRUE(PixelIs(image, 16, 27, kWhite));  // a square cap's corner would half cover it
  // One round end; the translucent pen blends once where cap and line meet.
  const uint32_t halfRed = image.At(35, 50);
  EXPECT_TRUE(PixelIs(image, 35, 50, Argb(255, 255, 127, 127)));
  EXPECT_TRUE(PixelIs(image, 17, 50, halfRed, 4));
  EXPECT_TRUE(PixelIs(image, 21, 50, halfRed, 4));
  EXPECT_TRUE(PixelIs(image, 53, 50, kWhite));
  // Width 4 scaled by 2 covers y 66..74; a cosmetic 4-pixel pen would not reach 67.
  EXPECT_TRUE(PixelIs(image, 40, 67, kRed));
  EXPECT_TRUE(PixelIs(image, 40, 73, kRed));
  EXPECT_TRUE(PixelIs(image, 40, 63, kWhite));
}

void ExpectArcAngles(const RenderFn& render) {
  // Ellipse centred at (50, 30 + dy), radii 40 and 20. From 45 degrees (the
  // direction from the centre, at parametric angle 63.4) sweeping 90
  // clockwise, through the bottom, to 135 degrees (parametric 116.6).
  RenderBuffer image = render(100, 100, [](Graphics& g) {
    Clear(g, kWhite);
    Pen pen = MakePen(kBlue, 4);
    DrawArc(g, pen, 10, 10, 80, 40, 45, 90);
    Path path = MakePath();
    AddArcI(path, 10, 55, 80, 40, 45, 90);
    DrawPath(g, pen, path);
  });
  for (int dy : {0, 45}) {
    SCOPED_TRACE(dy == 0 ? "DrawArc" : "AddArcI");
    EXPECT_TRUE(PixelIs(image, 50, 50 + dy, kBlue));   // bottom
    EXPECT_TRUE(PixelIs(image, 64, 49 + dy, kBlue));   // parametric 70
    EXPECT_TRUE(PixelIs(image, 36, 49 + dy, kBlue));   // parametric 110
    EXPECT_TRUE(PixelIs(image, 76, 45 + dy, kWhite));  // parametric 50: before the start
    EXPECT_TRUE(PixelIs(image, 24, 45 + dy, kWhite));  // parametric 130: past the end
    EXPECT_TRUE(PixelIs(image, 50, 10 + dy, kWhite));  // top: not counter-clockwise
  }
}

void ExpectFailedObjectsIgnored(const RenderFn& render) {
  RenderBuffer image = render(40, 40, [](Graphics& g) {
    Clear(g, kWhite);
    Brush flat = GradientBrush({5, 5}, kRed, {5, 5}, kGreen);  // no direction
    EXPECT_EQ(flat.native, nullptr);
    EXPECT_NE(flat.lastStatus, kStatusOk);

    int status = FillRectangle(g, flat, 0, 0, 40, 20);
    EXPECT_NE(status, kStatusOk);
    EXPECT_EQ(g.lastStatus, status);
    // The next call draws and leaves the recorded failure alone.
    EXPECT_EQ(FillRectangle(g, SolidBrush(kBlue), 0, 10, 20, 10), kStatusOk);
    EXPECT_EQ(g.lastStatus, status);

    Pen noPen;
    EXPECT_EQ(SetRoundStartCap(noPen), kStatusInvalidParameter);
    EXPECT_EQ(noPen.lastStatus, kStatusInvalidParameter);
    EXPECT_EQ(DrawLine(g, noPen, 0, 30, 40, 30), kStatusInvalidParameter);
    Path noPath;
    EXPECT_EQ(AddEllipse(noPath, 0, 0, 40, 40), kStatusInvalidParameter);
    EXPECT_EQ(noPath.lastStatus, kStatusInvalidParameter);
    EXPECT_EQ(FillPath(g, SolidBrush(kRed), noPath), kStatusInvalidParameter);
    EXPECT_EQ(g.lastStatus, kStatusInvalidParameter);
    EXPECT_EQ(FillEllipse(g, SolidBrush(kGreen), 22, 22, 16, 16), kStatusOk);
  });
  EXPECT_TRUE(PixelIs(image, 30, 5, kWhite));  // the failed fill drew nothing
  EXPECT_TRUE(PixelIs(image, 10, 15, kBlue));
  EXPECT_TRUE(PixelIs(image, 10, 30, kWhite));
  EXPECT_TRUE(PixelIs(image, 30, 30, kGreen));

  Graphics none;
  EXPECT_EQ(Translate(none, 1, 1), kStatusInvalidParameter);
  EXPECT_EQ(none.lastStatus, kStatusInvalidParameter);
  EXPECT_EQ(SaveState(none), 0u);
}
