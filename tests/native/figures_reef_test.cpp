// Ray, Betta, Butterflyfish, Blue Tang and Lionfish: each figure paints its
// parts where they belong, the Ray's spots follow the pattern, and the
// clipped markings never leave the body.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <algorithm>
#include <cmath>

#include "draw/figures.h"
#include "draw/qt/qt_graphics.h"

using namespace draw;

namespace {

using Figure = void (*)(Graphics&, const Creature&, const CreatureUnits&);

constexpr int kSide = 400;
constexpr float kCentre = 200;
constexpr float S = 40, L = 2.2f * S, H = 1.1f * S, K = 0.9f * S;
enum Channel { kR, kG, kB };

// The figure alone, right-facing, centred on the image. Pure channels as
// colours show which colour painted each part.
QImage Render(Figure figure, int pattern = 0) {
  Creature c;
  c.size = S;
  c.color1 = 0xFF0000;
  c.color2 = 0x00FF00;
  c.color3 = 0x0000FF;
  c.pattern = uint8_t(pattern);
  QImage image = MakeQtImage(kSide, kSide);
  Graphics g = MakeQtGraphics(image);
  Translate(g, kCentre, kCentre);
  figure(g, c, MakeCreatureUnits(c));
  return image;
}

// The pixel covering the figure point (x, y); pixel centres lie on whole coordinates.
QColor Pixel(const QImage& image, float x, float y) {
  return image.pixelColor(int(std::floor(kCentre + x + 0.5f)), int(std::floor(kCentre + y + 0.5f)));
}

// Painted with clearly more of one channel than of the other two.
bool Dominates(QColor c, Channel ch) {
  const int v[] = {c.red(), c.green(), c.blue()};
  return c.alpha() >= 40 && v[ch] >= 80 && v[ch] >= 1.5 * std::max(v[(ch + 1) % 3], v[(ch + 2) % 3]);
}

TEST(ReefFiguresTest, PartsAppearInTheirColoursWhereDescribed) {
  // Ray: red back, green belly, green whip (its 4th point) behind the diamond, black pupil.
  const float E = 1.4f * L, F = 1.8f * H, t = 3 / 7.0f;
  const QImage ray = Render(DrawRay);
  EXPECT_TRUE(Dominates(Pixel(ray, 0, -0.45f * F), kR));
  EXPECT_TRUE(Dominates(Pixel(ray, 0, 0.45f * F), kG));
  EXPECT_TRUE(Dominates(Pixel(ray, -0.3f * E - 2.5f * K * t, 0.15f * t * F * std::sin(4 * t)), kG));
  EXPECT_LT(Pixel(ray, 0.12f * E, -0.12f * F + 0.025f * S).value(), 60);

  // Betta: red back, green root of the fan behind the body, green dorsal fin.
  const float B = 0.7f * L, D = 0.8f * H;
  const QImage betta = Render(DrawBetta);
  EXPECT_TRUE(Dominates(Pixel(betta, -0.3f * B, -0.3f * D), kR));
  EXPECT_TRUE(Dominates(Pixel(betta, -0.35f * B - 0.5f * K, 0), kG));
  EXPECT_TRUE(Dominates(Pixel(betta, 0.1f * B, -0.8f * D), kG));

  // Butterflyfish: eye band and rear band in color3, green body between them, green tail.
  const float U = 1.4f * H;
  const QImage butterfly = Render(DrawButterflyfish);
  EXPECT_TRUE(Dominates(Pixel(butterfly, 0.19f * L, 0.3f * U), kB));
  EXPECT_TRUE(Dominates(Pixel(butterfly, -0.24f * L, 0.3f * U), kB));
  EXPECT_TRUE(Dominates(Pixel(butterfly, -0.05f * L, 0.3f * U), kG));
  EXPECT_TRUE(Dominates(Pixel(butterfly, -0.45f * L - 0.4f * K, 0), kG));

  // Blue Tang: shaded in its own (red) colour, color3 mask, green tail and dorsal fin.
  const float V = 1.1f * L;
  const QImage tang = Render(DrawBlueTang);
  EXPECT_TRUE(Dominates(Pixel(tang, -0.4f * V, 0.05f * H), kR));
  EXPECT_TRUE(Dominates(Pixel(tang, 0, 0.1f * H), kB));
  EXPECT_TRUE(Dominates(Pixel(tang, -0.4f * V - 0.6f * K, 0), kG));
  EXPECT_TRUE(Dominates(Pixel(tang, 0.05f * V, -0.6f * H), kG));

  // Lionfish: a stripe, green body between stripes, the pectoral fan hanging below.
  const QImage lionfish = Render(DrawLionfish);
  EXPECT_TRUE(Dominates(Pixel(lionfish, 0.095f * L, 0.3f * H), kB));
  EXPECT_TRUE(Dominates(Pixel(lionfish, 0.005f * L, 0.3f * H), kG));
  EXPECT_TRUE(Dominates(Pixel(lionfish, 0, 0.9f * H), kR));
}

TEST(ReefFiguresTest, RaySpotsOnlyOnSpottedPattern) {
  const float E = 1.4f * L, F = 1.8f * H;
  const QImage plain = Render(DrawRay, 0), spotted = Render(DrawRay, 2);
  EXPECT_EQ(plain, Render(DrawRay, 1));
  // The spot at (0.1, -0.1) lies under the upper eye.
  for (const PointF s : {PointF{-0.12f, -0.25f}, {-0.05f, 0.12f}, {0.15f, 0.2f}, {0.02f, -0.02f}}) {
    EXPECT_FALSE(Dominates(Pixel(plain, s.x * E, s.y * F), kB));
    EXPECT_TRUE(Dominates(Pixel(spotted, s.x * E, s.y * F), kB)) << s.x << ", " << s.y;
  }
}

// Pixels painted mostly in color3 outside the body ellipse (plus a margin
// for the outline and anti-aliasing).
int Color3OutsideBody(Figure figure, float halfLength, float halfHeight) {
  const QImage image = Render(figure);
  const float a = halfLength + 1.5f, b = halfHeight + 1.5f;
  int outside = 0;
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      const float dx = x - kCentre, dy = y - kCentre;
      if (dx * dx / (a * a) + dy * dy / (b * b) <= 1) continue;
      const QColor c = image.pixelColor(x, y);
      outside += c.alpha() > 10 && c.blue() > 40 && c.blue() > std::max(c.red(), c.green());
    }
  }
  return outside;
}

TEST(ReefFiguresTest, MarkingsNeverPaintOutsideTheBody) {
  EXPECT_EQ(Color3OutsideBody(DrawButterflyfish, 0.5f * L, 0.7f * H), 0);
  EXPECT_EQ(Color3OutsideBody(DrawBlueTang, 0.55f * L, 0.5f * H), 0);
  EXPECT_EQ(Color3OutsideBody(DrawLionfish, 0.5f * L, 0.5f * H), 0);
}

}  // namespace
