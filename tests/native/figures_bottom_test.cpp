// The bottom dwellers drawn through the Qt backend: where the eel's wave puts
// its head and tail, the crabs' side-to-side symmetry and claw phases, what
// moves on the shrimp, the hermit crab's layering, and mirroring by facing.
#include <QImage>
#include <cmath>
#include <cstdlib>
#include <functional>

#include "draw/creature.h"
#include "draw/figures.h"
#include "draw/qt/qt_graphics.h"
#include "gtest/gtest.h"

using namespace draw;

namespace {

constexpr int kW = 240;
constexpr int kH = 200;
constexpr float kSize = 40;
constexpr float kPi = 3.14159265f;

using Figure = void (*)(Graphics&, const Creature&, const CreatureUnits&);

Creature Dweller(uint8_t species) {
  Creature c;
  c.species = species;
  c.size = kSize;
  c.color1 = 0xE03030;
  c.color2 = 0x30E030;
  c.color3 = 0x3030E0;
  c.depth = 1;
  c.vx = 1;
  return c;
}

// Pixel centres sit on whole coordinates, so pixel i covers [i - 0.5, i + 0.5).
constexpr float kCornerX = kW / 2 - 0.5f;
constexpr float kCornerY = kH / 2 - 0.5f;

// The figure alone, its frame origin on the pixel corner at the image centre,
// so that QImage::mirrored flips it about the frame's vertical axis.
QImage DrawFigure(Figure figure, const Creature& c) {
  QImage image = MakeQtImage(kW, kH);
  {
    Graphics g = MakeQtGraphics(image);
    Translate(g, kCornerX, kCornerY);
    figure(g, c, MakeCreatureUnits(c));
  }
  return image;
}

// The pixel covering the figure point (x, y).
QRgb At(const QImage& image, float x, float y) {
  return image.pixel(int(std::floor(kW / 2 + x)), int(std::floor(kH / 2 + y)));
}

// Pixels (with `where` true for their figure-frame centre) differing by more than tolerance.
int CountDifferences(const QImage& a, const QImage& b, int tolerance,
                     const std::function<bool(float, float)>& where = nullptr) {
  int count = 0;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      if (where && !where(x + 0.5f - kW / 2, y + 0.5f - kH / 2)) continue;
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      if (std::abs(qRed(p) - qRed(q)) > tolerance || std::abs(qGreen(p) - qGreen(q)) > tolerance ||
          std::abs(qBlue(p) - qBlue(q)) > tolerance || std::abs(qAlpha(p) - qAlpha(q)) > tolerance)
        ++count;
    }
  return count;
}

TEST(BottomDwellers, EelWavePlacesHeadAndTail) {
  Creature eel = Dweller(16);  // E = 140, T = 20: head centre at x = 70, tail end at x = -70
  eel.swimPhase = 0;
  QImage still = DrawFigure(DrawEel, eel);
  EXPECT_EQ(qAlpha(At(still, 64, 8)), 255) << "head around (70, 0)";
  EXPECT_EQ(qAlpha(At(still, 70, 22)), 0) << "nothing below the head";
  // The tail end sits at 0.3 S sin 5, above the axis; its round cap reaches 14 px past it.
  EXPECT_EQ(qAlpha(At(still, -76, 0.3f * kSize * std::sin(5.0f))), 255);
  EXPECT_EQ(qAlpha(At(still, -76, -0.3f * kSize * std::sin(5.0f))), 0);

  // The head rides the wave at 0.6 T sin(phi); half a turn mirrors the tail about the axis.
  eel.swimPhase = kPi / 2;
  EXPECT_EQ(qAlpha(At(DrawFigure(DrawEel, eel), 66, 21)), 255) << "head lowered to y = 12";
  eel.swimPhase = -kPi / 2;
  EXPECT_EQ(qAlpha(At(DrawFigure(DrawEel, eel), 66, 21)), 0) << "head raised to y = -12";
  eel.swimPhase = kPi;
  const QImage flipped = DrawFigure(DrawEel, eel);
  EXPECT_EQ(qAlpha(At(flipped, -76, -0.3f * kSize * std::sin(5.0f))), 255);
  EXPECT_EQ(qAlpha(At(flipped, -76, 0.3f * kSize * std::sin(5.0f))), 0);
}

TEST(BottomDwellers, CrabSidesMirrorExceptForTheClawWave) {
  const float W = 1.1f * kSize, B = 0.8f * kSize;
  // Legs and eye stalks; the pincers are shaded from the upper left on both sides.
  const auto legsAndStalks = [&](float x, float y) {
    return (x * x) / (W * W) + (y * y) / (B * B) > 1.15f && (y > 0 || std::abs(x) < 0.5f * W);
  };
  Creature crab = Dweller(17);
  // The topmost rows over each pincer, beyond the carapace's shoulders.
  const auto pincerTops = [&](const QImage& image) {
    const auto topmostRow = [&](float x0, float x1) {
      for (int y = 0; y < kH; ++y)
        for (int x = int(kCornerX + x0); x < int(kCornerX + x1); ++x)
          if (qAlpha(image.pixel(x, y)) > 128) return y;
      return kH;
    };
    return std::make_pair(topmostRow(-1.1f * W, -0.8f * W), topmostRow(0.8f * W, 1.1f * W));
  };

  // At 1.5 psi = pi/2 both claw waves are equal: the sides mirror each other.
  crab.pulsePhase = kPi / 3;
  const QImage even = DrawFigure(DrawCrab, crab);
  EXPECT_EQ(CountDifferences(even, even.mirrored(true, false), 16, legsAndStalks), 0);
  EXPECT_EQ(pincerTops(even).first, pincerTops(even).second);

  // At psi = 0 the waves are 0.1 S sin(-1) and 0.1 S sin(1): the left claw stands higher.
  crab.pulsePhase = 0;
  const auto [left, right] = pincerTops(DrawFigure(DrawCrab, crab));
  EXPECT_NEAR(right - left, 2 * 0.1f * kSize * std::sin(1.0f), 1.5f);
}

TEST(BottomDwellers, ShrimpMovesOnlyAntennaeAndLegs) {
  const float L8 = 1.3f * kSize, H8 = 0.6f * kSize;
  Creature shrimp = Dweller(18);
  shrimp.pulsePhase = 0;
  const QImage a = DrawFigure(DrawCleanerShrimp, shrimp);
  shrimp.pulsePhase = 2.5f;
  const QImage b = DrawFigure(DrawCleanerShrimp, shrimp);
  EXPECT_GT(CountDifferences(a, b, 16), 30) << "antennae and legs wave with the pulse phase";
  // Behind the antennae's roots and above the legs' roots (the body is translucent), or behind the
  // last leg, lie only body, stripes, head and tail fan.
  const auto still = [&](float x, float y) { return (x < 0.36f * L8 && y < 0.1f * H8) || x < -0.27f * L8; };
  EXPECT_EQ(CountDifferences(a, b, 0, still), 0);
  // The swim phase moves nothing.
  shrimp.swimPhase = 2;
  EXPECT_EQ(CountDifferences(b, DrawFigure(DrawCleanerShrimp, shrimp), 0), 0);
}

TEST(BottomDwellers, HermitCrabBodyCoversTheShellsInnerEnd) {
  const float Q = 0.6f * kSize;
  Creature hermit = Dweller(19);
  const QImage image = DrawFigure(DrawHermitCrab, hermit);
  // Inside body and shell disc alike: the body (red to green) is on top, not the blue disc.
  const QRgb body = At(image, -0.15f * Q, 0);
  EXPECT_GT(qRed(body), 2 * qBlue(body));
  EXPECT_GT(qAlpha(body), 240);
  // The outer end of the spiral, at (-0.3 Q - P cos 5.5, 0.7 P sin 5.5), is the shell colour.
  const QRgb shell = At(image, -0.818f * kSize, -0.40f * kSize);
  EXPECT_GT(qGreen(shell), 2 * qRed(shell));
  EXPECT_GT(qGreen(shell), 2 * qBlue(shell));
}

TEST(BottomDwellers, HermitCrabClawsAndLegsSpreadToBothSides) {
  const float Q = 0.6f * kSize;
  Creature hermit = Dweller(19);
  hermit.pulsePhase = 0.8f;
  const QImage image = DrawFigure(DrawHermitCrab, hermit);
  for (int d : {-1, 1}) {
    const QRgb pincer = At(image, 0.45f * d * Q, 0.1f * Q * std::sin(d + hermit.pulsePhase) - 0.55f * Q);
    EXPECT_GT(qRed(pincer), 2 * qGreen(pincer)) << "side " << d;
    EXPECT_EQ(qAlpha(pincer), 255) << "side " << d;
    for (int k = 0; k < 3; ++k) {
      // Four fifths of the way from the knee to the foot: leg colour, over the shell or the water.
      const float rx = 0.15f * k * d * Q, e = 0.15f * Q * std::sin(1.1f * k + hermit.pulsePhase);
      const float kx = rx + 0.2f * d * Q, ky = 0.35f * Q + e, fx = rx + 0.15f * d * Q, fy = 0.6f * Q;
      const QRgb leg = At(image, kx + 0.8f * (fx - kx), ky + 0.8f * (fy - ky));
      EXPECT_GT(qRed(leg), 2 * qGreen(leg)) << "side " << d << " leg " << k;
      EXPECT_GT(qAlpha(leg), 150) << "side " << d << " leg " << k;
    }
  }
}

TEST(BottomDwellers, FiguresReadOnlyTheirOwnFields) {
  const Figure figures[] = {DrawEel, DrawCrab, DrawCleanerShrimp, DrawHermitCrab};
  for (int i = 0; i < 4; ++i) {
    Creature plain = Dweller(uint8_t(16 + i));
    plain.swimPhase = 1;
    plain.pulsePhase = 1;
    Creature other = plain;
    other.pattern = 2;
    other.tilt = 0.5f;
    other.vx = -30;
    other.x = 500;
    other.y = 300;
    if (i == 0)
      other.pulsePhase = 3;  // the eel swims with the swim phase only
    else
      other.swimPhase = 3;  // the others step and wave with the pulse phase only
    EXPECT_EQ(CountDifferences(DrawFigure(figures[i], plain), DrawFigure(figures[i], other), 0), 0)
        << "species " << 16 + i;
  }
}

TEST(BottomDwellers, LeftFacingIsTheMirrorImage) {
  for (uint8_t species = 16; species <= 19; ++species) {
    for (float depth : {1.0f, 0.4f}) {
      Creature c = Dweller(species);
      c.x = kCornerX;
      c.y = kCornerY;
      c.depth = depth;
      c.swimPhase = 0.7f;
      c.pulsePhase = 1.9f;
      QImage right = MakeQtImage(kW, kH), left = MakeQtImage(kW, kH);
      {
        Graphics g = MakeQtGraphics(right);
        DrawCreature(g, c);
      }
      c.vx = -c.vx;
      {
        Graphics g = MakeQtGraphics(left);
        DrawCreature(g, c);
      }
      EXPECT_EQ(CountDifferences(left, right.mirrored(true, false), 24), 0)
          << "species " << int(species) << " depth " << depth;
      EXPECT_GT(CountDifferences(left, right, 24), 50) << "species " << int(species);
    }
  }
}

}  // namespace
