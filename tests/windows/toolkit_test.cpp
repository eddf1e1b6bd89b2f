// The toolkit's semantics through the GDI+ backend.
#include <gtest/gtest.h>

#include "common/toolkit_expectations.h"
#include "windows/gdiplus_render.h"

using namespace draw;

namespace {

RenderBuffer Render(int width, int height, const DrawFn& drawing) {
  RenderBuffer buffer = RenderWithGdiplus(width, height, drawing);
  if (buffer.pixels.empty()) {
    // Fail loudly, and give the checks a blank picture rather than no picture.
    ADD_FAILURE() << "no GDI+ surface";
    buffer = RenderBuffer{width, height, std::vector<uint32_t>(size_t(width) * size_t(height))};
  }
  return buffer;
}

}  // namespace

TEST(GdiplusToolkit, TransformsArePrepended) {
  ExpectPrependedTransforms(Render);
}
TEST(GdiplusToolkit, SaveAndRestoreNest) {
  ExpectNestedSaveRestore(Render);
}
TEST(GdiplusToolkit, GradientsTile) {
  ExpectTiledGradient(Render);
}
TEST(GdiplusToolkit, GradientsInterpolateStraightChannels) {
  if (RunningUnderWine()) GTEST_SKIP() << "Wine's GDI+ weights gradient colours by alpha";
  ExpectStraightGradientInterpolation(Render);
}
TEST(GdiplusToolkit, PathsAndClipsFillEvenOdd) {
  ExpectEvenOddFill(Render);
}
TEST(GdiplusToolkit, PathFiguresJoinStartAndClose) {
  ExpectPathFigures(Render);
}
TEST(GdiplusToolkit, PenCapsAndWorldWidth) {
  ExpectPenCapsAndWidth(Render);
}
TEST(GdiplusToolkit, ArcAnglesOnTheEllipseClockwise) {
  ExpectArcAngles(Render);
}
TEST(GdiplusToolkit, FailedObjectsAreIgnored) {
  ExpectFailedObjectsIgnored(Render);
}

TEST(GdiplusToolkit, GraphicsOnNoDeviceContextFails) {
  ASSERT_TRUE(EnsureGdiplus());
  Graphics g = MakeGdiplusGraphics(nullptr);
  EXPECT_EQ(g.native, nullptr);
  EXPECT_NE(g.lastStatus, kStatusOk);
  EXPECT_EQ(FillRectangle(g, SolidBrush(0xFF000000), 0, 0, 1, 1), kStatusInvalidParameter);
}
