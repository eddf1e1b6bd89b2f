// The toolkit's semantics through its own rasteriser: the pictures every
// backend must draw.
#include <gtest/gtest.h>

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
