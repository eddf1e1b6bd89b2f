// The application icon and the species tiles drawn through the Qt backend:
// transparent corners, the fixed badge inset, which way the fish faces, the
// tile's colours, and where the species figures land.
#include "draw/icons.h"

#include <QImage>
#include <cstdlib>

#include "draw/qt/qt_graphics.h"
#include "gtest/gtest.h"

using namespace draw;

namespace {

QImage AppIcon(int n) {
  QImage image = MakeQtImage(n, n);
  image.fill(0xFF808080);  // the figure clears whatever was there
  {
    Graphics g = MakeQtGraphics(image);
    DrawAppIconFigure(g, n);
  }
  return image;
}

QImage Tile(int species, int w = 82, int h = 54) {
  QImage image = MakeQtImage(w, h);
  {
    Graphics g = MakeQtGraphics(image);
    DrawSpeciesTile(g, species, w, h);
  }
  return image;
}

bool Near(QRgb actual, QRgb expected, int tolerance) {
  return std::abs(qRed(actual) - qRed(expected)) <= tolerance &&
         std::abs(qGreen(actual) - qGreen(expected)) <= tolerance &&
         std::abs(qBlue(actual) - qBlue(expected)) <= tolerance &&
         std::abs(qAlpha(actual) - qAlpha(expected)) <= tolerance;
}

TEST(AppIcon, TransparentOutsideABadgeInsetByTwoPixels) {
  for (int n : {16, 32, 96, 256}) {
    const QImage icon = AppIcon(n);
    for (QPoint corner : {QPoint(0, 0), QPoint(n - 1, 0), QPoint(0, n - 1), QPoint(n - 1, n - 1)})
      EXPECT_EQ(icon.pixel(corner), 0u) << n << " px at " << corner.x() << "," << corner.y();
    // Pixel centres sit on whole coordinates: the badge's edge, 2 pixels in at every size,
    // halves the pixel it runs through. The tail alone reaches past the left edge.
    struct Probe {
      QPoint outside, edge, inside;
    };
    const Probe probes[] = {{{n / 2, 1}, {n / 2, 2}, {n / 2, 3}},
                            {{n - 1, n / 2}, {n - 2, n / 2}, {n - 3, n / 2}},
                            {{n / 2, n - 1}, {n / 2, n - 2}, {n / 2, n - 3}}};
    for (const Probe& p : probes) {
      EXPECT_EQ(qAlpha(icon.pixel(p.outside)), 0) << n << " px at " << p.outside.x() << "," << p.outside.y();
      EXPECT_NEAR(qAlpha(icon.pixel(p.edge)), 128, 12) << n << " px at " << p.edge.x() << "," << p.edge.y();
      EXPECT_EQ(qAlpha(icon.pixel(p.inside)), 255) << n << " px at " << p.inside.x() << "," << p.inside.y();
    }
    const QRgb badge = icon.pixel(int(0.35f * n), int(0.2f * n));
    EXPECT_GT(qBlue(badge), qRed(badge) + 100) << n;
  }
}

TEST(AppIcon, OrangeFishFacesRightWithBubblesAhead) {
  const int n = 256;
  const float cx = 0.5f * n, cy = 0.52f * n, R = 0.32f * n;
  const QImage icon = AppIcon(n);
  const auto at = [&](float x, float y) { return icon.pixel(int(cx + x * R), int(cy + y * R)); };
  const QRgb body = at(-0.5f, 0.2f);
  EXPECT_GT(qRed(body), 240);
  EXPECT_LT(qBlue(body), 40);
  EXPECT_TRUE(Near(at(-1.4f, 0), 0xFFFFC800, 2)) << "tail on the left";
  EXPECT_TRUE(Near(at(0.54f, -0.05f), 0xFF000000, 2)) << "eye on the right";
  EXPECT_TRUE(Near(at(0.535f, -0.135f), 0xFFFFFFFF, 2)) << "eye highlight";
  const QRgb bubble = at(0.81f, -0.99f);  // over the blue badge: white at 180/255
  EXPECT_GT(qRed(bubble), 170);
  EXPECT_GT(qGreen(bubble), 170);
}

TEST(SpeciesTile, RoundedPaleBlueTileWithoutFigureOutOfRange) {
  const QImage empty = Tile(20);
  // Rounded corners: the corner pixels stay clear, three pixels in along the diagonal is tile.
  for (QPoint corner : {QPoint(0, 0), QPoint(81, 0), QPoint(0, 53), QPoint(81, 53)}) {
    EXPECT_EQ(empty.pixel(corner), 0u) << corner.x() << "," << corner.y();
    const QPoint inside(corner.x() == 0 ? 3 : 78, corner.y() == 0 ? 3 : 50);
    EXPECT_EQ(qAlpha(empty.pixel(inside)), 255) << inside.x() << "," << inside.y();
  }
  EXPECT_TRUE(Near(empty.pixel(41, 3), 0xFFDCEBFA, 6)) << "pale blue at the top";
  EXPECT_TRUE(Near(empty.pixel(41, 51), 0xFFFFFFFF, 6)) << "white at the bottom";
  EXPECT_TRUE(Near(empty.pixel(0, 27), 0xFF96BEDC, 90)) << "outline on the edge";
  EXPECT_EQ(Tile(-1), empty);
  EXPECT_EQ(Tile(255), empty);
  for (int species = 0; species < 20; ++species) EXPECT_NE(Tile(species), empty) << species;
}

TEST(SpeciesTile, FigureCentredInTheInsetRectangle) {
  // 82 x 54 gives a 74 x 46 drawing rectangle: centre (41, 27), s = 18.4.
  const QImage shark = Tile(5);
  EXPECT_TRUE(Near(shark.pixel(57, 27), 0xFF4682B4, 2)) << "nose reaches cx + s = 59.4";
  EXPECT_FALSE(Near(shark.pixel(61, 27), 0xFF4682B4, 40));
  EXPECT_TRUE(Near(Tile(0).pixel(35, 30), 0xFFFF6B35, 2)) << "tropical fish body";
  EXPECT_TRUE(Near(Tile(2).pixel(37, 27), 0xFFFFFFFF, 2)) << "clownfish bar";

  // The figure follows the rectangle it is given.
  QImage here = MakeQtImage(200, 60), there = MakeQtImage(200, 60);
  {
    Graphics g = MakeQtGraphics(here);
    DrawSpeciesIcon(g, 17, 4, 4, 74, 46);
  }
  {
    Graphics g = MakeQtGraphics(there);
    DrawSpeciesIcon(g, 17, 104, 4, 74, 46);
  }
  EXPECT_EQ(here.copy(0, 0, 100, 60), there.copy(100, 0, 100, 60));
  EXPECT_EQ(qAlpha(there.pixel(41, 27)), 0);

  // A tile too small for its 4-pixel inset gets no figure rather than one turned inside out.
  QImage tiny = MakeQtImage(40, 40);
  {
    Graphics g = MakeQtGraphics(tiny);
    Translate(g, 20, 20);
    DrawSpeciesIcon(g, 0, 4, 4, -2, 10);
  }
  EXPECT_EQ(tiny, MakeQtImage(40, 40));
}

}  // namespace
