// Tropical Fish / Clownfish body, Angelfish, Goldfish, Guppy and Shark on Qt
// renders: tails symmetric at rest and swinging with the beat, the Guppy's
// fan and the Goldfish's lobes where they belong, markings clipped to each
// species' own body, the Shark's gill slits.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "draw/qt/qt_graphics.h"
#include "draw/species_figures.h"

namespace {

using Figure = void (*)(Graphics&, const Creature&, const CreatureUnits&);

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr float kCx = 320;  // pixel centres lie on whole coordinates
constexpr float kCy = 240;
constexpr float kS = 80;
constexpr float kL = 2.2f * kS, kH = 1.1f * kS, kK = 0.9f * kS;

Creature Fish(float phase = 0, int pattern = 0) {
  Creature c;
  c.size = kS;
  c.depth = 1;
  c.vx = 30;
  c.color1 = 0xFF0000;
  c.color2 = 0x00FF00;
  c.color3 = 0x0000FF;
  c.swimPhase = phase;
  c.pattern = uint8_t(pattern);
  return c;
}

// The figure alone, in a right-facing frame at the image centre.
QImage Render(Figure figure, const Creature& c) {
  QImage image = MakeQtImage(kWidth, kHeight);
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

int Difference(QRgb p, QRgb q) {
  return std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                   std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
}

// Largest difference between the columns left of `xEnd` (local) and their
// reflection in the axis y = 0.
int AsymmetryBehind(const QImage& image, float xEnd) {
  int result = 0;
  for (int x = 0; x < int(kCx + xEnd); ++x)
    for (int d = 1; d < int(kCy); ++d)
      result = std::max(result, Difference(image.pixel(x, int(kCy) + d), image.pixel(x, int(kCy) - d)));
  return result;
}

// Alpha-weighted mean local y of the columns left of `xEnd`.
float MeanYBehind(const QImage& image, float xEnd) {
  double sum = 0, weight = 0;
  for (int x = 0; x < int(kCx + xEnd); ++x)
    for (int y = 0; y < kHeight; ++y) {
      const int a = qAlpha(image.pixel(x, y));
      sum += a * (y - kCy);
      weight += a;
    }
  return weight > 0 ? float(sum / weight) : 0;
}

TEST(SwimmerFiguresTest, TailsAreSymmetricAtRestAndSwingDownWithTheBeat) {
  struct Tail {
    const char* name;
    Figure figure;
    float behindBody;  // local x left of which only the tail paints
  };
  const Tail tails[] = {{"generic", DrawGenericFishBody, -0.46f * kL},
                        {"angelfish", DrawAngelfish, -0.46f * kL},
                        {"goldfish", DrawGoldfish, -0.44f * kL},
                        {"shark", DrawShark, -0.73f * kL}};
  for (const Tail& t : tails) {
    const QImage rest = Render(t.figure, Fish(0));
    EXPECT_LE(AsymmetryBehind(rest, t.behindBody), 4) << t.name;
    EXPECT_NEAR(MeanYBehind(rest, t.behindBody), 0, 0.5f) << t.name;
    EXPECT_GT(MeanYBehind(Render(t.figure, Fish(float(M_PI / 2))), t.behindBody), 0.1f * kS) << t.name;
    EXPECT_LT(MeanYBehind(Render(t.figure, Fish(float(-M_PI / 2))), t.behindBody), -0.1f * kS) << t.name;
  }

  // At w = 0.35 the Angelfish tail's back edge spans w T +- 0.4 T: -0.05 T to 0.75 T.
  const float T = 1.6f * kH, edge = -0.4f * kL - 0.8f * kK + 1;
  const QImage swung = Render(DrawAngelfish, Fish(float(M_PI / 2)));
  EXPECT_GT(At(swung, edge, -0.05f * T + 3).alpha(), 100);
  EXPECT_EQ(At(swung, edge, -0.05f * T - 3).alpha(), 0);
  EXPECT_GT(At(swung, edge, 0.75f * T - 3).alpha(), 100);
  EXPECT_EQ(At(swung, edge, 0.75f * T + 3).alpha(), 0);
}

TEST(SwimmerFiguresTest, GenericBodyBendsWithTheTilt) {
  // The tail end of the body drops by 0.25 tilt H.
  Creature c = Fish(0);
  const QColor level = At(Render(DrawGenericFishBody, c), -0.41f * kL, 0.45f * kH);
  c.tilt = 0.5f;
  const QColor bent = At(Render(DrawGenericFishBody, c), -0.41f * kL, 0.45f * kH);
  EXPECT_EQ(level.alpha(), 0);
  EXPECT_EQ(bent.alpha(), 255);
}

TEST(SwimmerFiguresTest, GuppyFanEndsAtItsOutermostPoint) {
  const float P = 0.6f * kL, Q = 0.7f * kH;
  for (float phase : {0.0f, float(M_PI / 2), 2.5f}) {
    const QImage image = Render(DrawGuppy, Fish(phase));
    const float rho = (0.85f + 0.15f * std::sin(phase + 1.7f * 6)) * 1.5f * kK;
    const float tipX = -0.3f * P - rho, tipY = 0.5f * 0.35f * std::sin(phase) * Q;
    EXPECT_GT(At(image, tipX + 2, tipY).alpha(), 100) << "phase " << phase;
    EXPECT_EQ(At(image, tipX - 2, tipY).alpha(), 0) << "phase " << phase;
    // Tail colour: colour 2 at the root fading into colour 3 at the rim.
    const QColor root = At(image, -0.3f * P - 0.5f * kK, tipY), rim = At(image, tipX + 3, tipY);
    EXPECT_GT(root.green(), root.blue()) << "phase " << phase;
    EXPECT_GT(rim.blue(), rim.green()) << "phase " << phase;
  }
}

TEST(SwimmerFiguresTest, GoldfishTailHasTwoLobesShadedByOneBrush) {
  const float G = 0.85f * kL, J = 1.3f * kH, x0 = -0.4f * G;
  const QImage image = Render(DrawGoldfish, Fish(0));
  // Centres of the two lobe triangles.
  const float lobeX = (3 * x0 - 1.3f * kK - 0.6f * kK) / 3, lobeY = (0.1f * J + 0.7f * J + 0.05f * J) / 3;
  const QColor upper = At(image, lobeX, -lobeY), lower = At(image, lobeX, lobeY);
  EXPECT_GT(upper.alpha(), 100);
  EXPECT_EQ(upper.rgba(), lower.rgba());
  // Between the lobes, behind their inner corners, nothing.
  EXPECT_EQ(At(image, x0 - 0.9f * kK, 0).alpha(), 0);
}

TEST(SwimmerFiguresTest, MarkingsStayInsideEachSpeciesBody) {
  struct Body {
    const char* name;
    Figure figure;
    float length, height;
  };
  const Body bodies[] = {{"angelfish", DrawAngelfish, 0.9f * kL, 1.6f * kH},
                         {"goldfish", DrawGoldfish, 0.85f * kL, 1.3f * kH},
                         {"guppy", DrawGuppy, 0.6f * kL, 0.7f * kH}};
  for (const Body& b : bodies) {
    const QImage plain = Render(b.figure, Fish(0, 0));
    const QImage banded = Render(b.figure, Fish(0, 1));
    const QImage spotted = Render(b.figure, Fish(0, 2));
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        // Anti-aliasing may touch the pixels along the outline.
        const float dx = (x - kCx) / (0.5f * b.length + 1.5f), dy = (y - kCy) / (0.5f * b.height + 1.5f);
        if (dx * dx + dy * dy <= 1) continue;
        ASSERT_EQ(banded.pixel(x, y), plain.pixel(x, y)) << b.name << " band at " << x << "," << y;
        ASSERT_EQ(spotted.pixel(x, y), plain.pixel(x, y)) << b.name << " spot at " << x << "," << y;
      }
    // Four bands of this body's length; plain body between them.
    for (int i = 0; i < 4; ++i) {
      const float left = -0.35f * b.length + i * 0.175f * b.length, y = -0.1f * b.height;
      EXPECT_GT(At(banded, left + 0.04f * b.length, y).blue(),
                At(plain, left + 0.04f * b.length, y).blue() + 60)
          << b.name << " band " << i;
      EXPECT_EQ(At(banded, left + 0.125f * b.length, y).rgba(), At(plain, left + 0.125f * b.length, y).rgba())
          << b.name << " after band " << i;
    }
  }
  // The Angelfish's bands reach up into its tall disc, above the nominal height.
  const float T = 1.6f * kH, x = -0.31f * 0.9f * kL;
  EXPECT_GT(At(Render(DrawAngelfish, Fish(0, 1)), x, -0.33f * T).blue(),
            At(Render(DrawAngelfish, Fish(0, 0)), x, -0.33f * T).blue() + 60);

  // The generic body clips to its own outline: nothing beyond its nose or tail end.
  const QImage plain = Render(DrawGenericFishBody, Fish(0, 0));
  const QImage banded = Render(DrawGenericFishBody, Fish(0, 1));
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      if (std::abs(x - kCx) < 0.43f * kL && std::abs(y - kCy) < 0.5f * kH) continue;
      ASSERT_EQ(banded.pixel(x, y), plain.pixel(x, y)) << "generic band at " << x << "," << y;
    }
}

TEST(SwimmerFiguresTest, SharkIgnoresPatternAndHasFiveGillSlits) {
  const QImage plain = Render(DrawShark, Fish(0, 0));
  for (int pattern : {1, 2}) {
    const QImage marked = Render(DrawShark, Fish(0, pattern));
    int differing = 0;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) differing += marked.pixel(x, y) != plain.pixel(x, y);
    EXPECT_EQ(differing, 0) << "pattern " << pattern;
  }
  // Slits from ((0.18 + 0.04 i) M, -0.25 N) to 0.02 M further forward at 0.2 N,
  // each darker than the body just before and after it.
  const float M = 1.6f * kL, N = 0.7f * kH, y = 0;
  auto luminance = [&](float x) {
    const QColor c = At(plain, x, y);
    return c.red() + c.green() + c.blue();
  };
  for (int i = 0; i < 5; ++i) {
    const float x = (0.18f + 0.04f * i) * M + 0.02f * M * (0.25f * N) / (0.45f * N);
    const int slit = std::min({luminance(x - 1), luminance(x), luminance(x + 1)});
    EXPECT_LT(slit + 25, luminance(x - 0.02f * M)) << "slit " << i;
    EXPECT_LT(slit + 25, luminance(x + 0.02f * M)) << "slit " << i;
  }
}

}  // namespace
