// Species 0 to 5 drawn alone on Qt renders: tails at rest and in the beat,
// the Guppy's fan, markings clipped to each species' own body, the Shark.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <tuple>
#include <utility>

#include "draw/figures.h"
#include "draw/qt/qt_graphics.h"

using namespace draw;

namespace {

using Figure = void (*)(Graphics&, const Creature&, const CreatureUnits&);

constexpr int kW = 640, kH = 480;
constexpr float kCx = 320, kCy = 240;  // pixel centres lie on whole coordinates
constexpr float kS = 80, kL = 2.2f * kS, kHt = 1.1f * kS, kK = 0.9f * kS;

// The figure alone, right-facing at the image centre, in pure red, green, blue.
QImage Render(Figure figure, float phase = 0, int pattern = 0, float tilt = 0) {
  Creature c;
  c.size = kS, c.depth = 1, c.swimPhase = phase, c.pattern = uint8_t(pattern), c.tilt = tilt;
  c.color1 = 0xFF0000, c.color2 = 0x00FF00, c.color3 = 0x0000FF;
  QImage image = MakeQtImage(kW, kH);
  {
    Graphics g = MakeQtGraphics(image);
    Translate(g, kCx, kCy);
    figure(g, c, MakeCreatureUnits(c));
  }
  return image;
}

// The pixel whose square contains the local point (x, y).
QColor At(const QImage& image, float x, float y) {
  return image.pixelColor(int(std::floor(kCx + x + 0.5f)), int(std::floor(kCy + y + 0.5f)));
}

// The columns left of local x `behind`: their alpha-weighted mean local y and
// the largest channel difference from their reflection in the axis y = 0.
struct TailView {
  double meanY = 0;
  int asymmetry = 0;
};

TailView ViewBehind(const QImage& image, float behind) {
  TailView view;
  double weight = 0;
  for (int x = 0; x < int(kCx + behind); ++x)
    for (int d = 1 - int(kCy); d < int(kCy); ++d) {
      const QRgb p = image.pixel(x, int(kCy) + d), q = image.pixel(x, int(kCy) - d);
      view.meanY += qAlpha(p) * d, weight += qAlpha(p);
      view.asymmetry = std::max({view.asymmetry, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                 std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
    }
  view.meanY /= weight;
  return view;
}

TEST(SwimmerFiguresTest, TailsAreSymmetricAtRestAndSwingWithTheBeat) {
  const std::pair<Figure, float> tails[] = {// figure, local x behind which only the tail paints
                                            {DrawGenericFishBody, -0.46f * kL},
                                            {DrawAngelfish, -0.46f * kL},
                                            {DrawGoldfish, -0.44f * kL},
                                            {DrawShark, -0.73f * kL}};
  for (const auto& [figure, behind] : tails) {
    const TailView rest = ViewBehind(Render(figure, 0), behind);
    EXPECT_LE(rest.asymmetry, 4);
    EXPECT_NEAR(rest.meanY, 0, 0.5);
    EXPECT_GT(ViewBehind(Render(figure, float(M_PI / 2)), behind).meanY, 0.1 * kS);
    EXPECT_LT(ViewBehind(Render(figure, float(-M_PI / 2)), behind).meanY, -0.1 * kS);
  }
  // At w = 0.35 the Angelfish tail's back edge spans w T +- 0.4 T: -0.05 T to 0.75 T.
  const float T = 1.6f * kHt, edge = -0.4f * kL - 0.8f * kK + 1;
  const QImage swung = Render(DrawAngelfish, float(M_PI / 2));
  EXPECT_GT(At(swung, edge, -0.05f * T + 3).alpha(), 100);
  EXPECT_EQ(At(swung, edge, -0.05f * T - 3).alpha(), 0);
  EXPECT_GT(At(swung, edge, 0.75f * T - 3).alpha(), 100);
  EXPECT_EQ(At(swung, edge, 0.75f * T + 3).alpha(), 0);
  // The Goldfish's lobes leave a gap on the axis behind their inner corners.
  EXPECT_EQ(At(Render(DrawGoldfish), -0.34f * kL - 0.9f * kK, 0).alpha(), 0);
  // The generic body's tail end drops with the tilt (t0 = 0.25 tilt H).
  EXPECT_EQ(At(Render(DrawGenericFishBody, 0, 0, 0), -0.41f * kL, 0.45f * kHt).alpha(), 0);
  EXPECT_EQ(At(Render(DrawGenericFishBody, 0, 0, 0.5f), -0.41f * kL, 0.45f * kHt).alpha(), 255);
}

TEST(SwimmerFiguresTest, GuppyFanEndsAtItsOutermostPoint) {
  const float P = 0.6f * kL, Q = 0.7f * kHt;
  for (float phase : {0.0f, float(M_PI / 2), 2.5f}) {
    const QImage image = Render(DrawGuppy, phase);
    // Point i = 6 lies on the axis, raised by the beat: x = -0.3 P - rho(6), y = 0.5 w Q.
    const float rho = (0.85f + 0.15f * std::sin(phase + 1.7f * 6)) * 1.5f * kK;
    const float tipX = -0.3f * P - rho, tipY = 0.5f * 0.35f * std::sin(phase) * Q;
    EXPECT_GT(At(image, tipX + 2, tipY).alpha(), 100) << "phase " << phase;
    EXPECT_EQ(At(image, tipX - 2, tipY).alpha(), 0) << "phase " << phase;
    const QColor root = At(image, -0.3f * P - 0.5f * kK, tipY), rim = At(image, tipX + 3, tipY);
    EXPECT_TRUE(root.green() > root.blue() && rim.blue() > rim.green()) << "colour 2 fading to colour 3";
  }
}

TEST(SwimmerFiguresTest, MarkingsStayInsideEachSpeciesBody) {
  const std::tuple<Figure, float, float> bodies[] = {{DrawAngelfish, 0.9f * kL, 1.6f * kHt},
                                                     {DrawGoldfish, 0.85f * kL, 1.3f * kHt},
                                                     {DrawGuppy, 0.6f * kL, 0.7f * kHt}};
  for (const auto& [figure, length, height] : bodies) {
    const QImage plain = Render(figure), banded = Render(figure, 0, 1), spotted = Render(figure, 0, 2);
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        const float dx = (x - kCx) / (0.5f * length + 1.5f), dy = (y - kCy) / (0.5f * height + 1.5f);
        if (dx * dx + dy * dy <= 1) continue;
        ASSERT_EQ(banded.pixel(x, y), plain.pixel(x, y)) << "band outside the body at " << x << "," << y;
        ASSERT_EQ(spotted.pixel(x, y), plain.pixel(x, y)) << "spot outside the body at " << x << "," << y;
      }
    for (int i = 0; i < 4; ++i) {  // bands of this body's length, plain body between them
      const float x = (-0.31f + i * 0.175f) * length, y = -0.1f * height;
      EXPECT_GT(At(banded, x, y).blue(), At(plain, x, y).blue() + 60) << "band " << i;
      EXPECT_EQ(At(banded, x + 0.085f * length, y).rgba(), At(plain, x + 0.085f * length, y).rgba());
    }
  }
  // The Angelfish's bands reach up into its tall disc, above the nominal height.
  const float x = -0.31f * 0.9f * kL, y = -0.33f * 1.6f * kHt;
  EXPECT_GT(At(Render(DrawAngelfish, 0, 1), x, y).blue(), At(Render(DrawAngelfish), x, y).blue() + 60);
}

TEST(SwimmerFiguresTest, SharkIgnoresPatternAndHasFiveGillSlits) {
  const QImage plain = Render(DrawShark);
  EXPECT_EQ(Render(DrawShark, 0, 1), plain);
  EXPECT_EQ(Render(DrawShark, 0, 2), plain);
  // Slits from ((0.18 + 0.04 i) M, -0.25 N) slanting 0.02 M forward to 0.2 N: on the axis,
  // each is darker than the body halfway to its neighbours.
  const float M = 1.6f * kL;
  auto luminance = [&](float x) {
    const QColor c = At(plain, x, 0);
    return c.red() + c.green() + c.blue();
  };
  for (int i = 0; i < 5; ++i) {
    const float x = (0.18f + 0.04f * i) * M + 0.02f * M * 0.25f / 0.45f;
    const int slit = std::min({luminance(x - 1), luminance(x), luminance(x + 1)});
    EXPECT_LT(slit + 25, std::min(luminance(x - 0.02f * M), luminance(x + 0.02f * M))) << "slit " << i;
  }
}

}  // namespace
