// The toolkit's semantics through the Qt backend.
#include <gtest/gtest.h>

#include "common/toolkit_expectations.h"
#include "native/qt_render.h"

using namespace draw;

TEST(QtToolkit, TransformsArePrepended) {
  ExpectPrependedTransforms(RenderWithQt);
}
TEST(QtToolkit, SaveAndRestoreNest) {
  ExpectNestedSaveRestore(RenderWithQt);
}
TEST(QtToolkit, GradientsTile) {
  ExpectTiledGradient(RenderWithQt);
}
TEST(QtToolkit, GradientsInterpolateStraightChannels) {
  ExpectStraightGradientInterpolation(RenderWithQt);
}
TEST(QtToolkit, PathsAndClipsFillEvenOdd) {
  ExpectEvenOddFill(RenderWithQt);
}
TEST(QtToolkit, PathFiguresJoinStartAndClose) {
  ExpectPathFigures(RenderWithQt);
}
TEST(QtToolkit, PenCapsAndWorldWidth) {
  ExpectPenCapsAndWidth(RenderWithQt);
}
TEST(QtToolkit, ArcAnglesOnTheEllipseClockwise) {
  ExpectArcAngles(RenderWithQt);
}
TEST(QtToolkit, FailedObjectsAreIgnored) {
  ExpectFailedObjectsIgnored(RenderWithQt);
}

TEST(QtToolkit, NullImageGivesFailedGraphics) {
  QImage none;
  Graphics g = MakeQtGraphics(none);
  EXPECT_EQ(g.native, nullptr);
  EXPECT_NE(g.lastStatus, kStatusOk);
  EXPECT_EQ(FillRectangle(g, SolidBrush(0xFF000000), 0, 0, 1, 1), kStatusInvalidParameter);
}
