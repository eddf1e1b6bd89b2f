// Jellyfish, Seahorse, Pufferfish, Sea Turtle and Octopus: each figure paints
// its parts where they belong, and the animated parts move the right way.
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
constexpr float kPi = 3.14159265f;
constexpr float S = 40;
enum Channel { kR, kG, kB };

// The figure alone, right-facing, centred on the image. Pure channels as
// colours show which colour painted each part.
QImage Render(Figure figure, float size, float swimPhase = 0, float pulsePhase = 0) {
  Creature c;
  c.size = size;
  c.color1 = 0xFF0000;
  c.color2 = 0x00FF00;
  c.color3 = 0x0000FF;
  c.swimPhase = swimPhase;
  c.pulsePhase = pulsePhase;
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

int PaintedInRow(const QImage& image, float y, int minAlpha) {
  int count = 0;
  for (int x = 0; x < kSide; ++x) count += Pixel(image, x - kCentre, y).alpha() >= minAlpha;
  return count;
}

TEST(DrifterFiguresTest, PartsAppearInTheirColoursWhereDescribed) {
  // Jellyfish at mid pulse (W = 1.36 S, B = 1.2 S): translucent red bell, tentacles below.
  const QImage jelly = Render(DrawJellyfish, S);
  EXPECT_TRUE(Dominates(Pixel(jelly, 0.4f * S, -0.48f * S), kR));
  EXPECT_LT(Pixel(jelly, 0.4f * S, -0.48f * S).alpha(), 160);
  EXPECT_GT(PaintedInRow(jelly, 0.36f * S + 2 * S, 40), 6);

  // Seahorse: red snout forward at the top, green core of the body line, red tail curl (4th point).
  const QImage seahorse = Render(DrawSeahorse, S);
  const float HS = 1.8f * S, f = 3 / 11.0f, r = (1 - 0.6f * f) * 0.5f * S;
  EXPECT_TRUE(Dominates(Pixel(seahorse, 0.3f * S, -0.5f * HS), kR));
  EXPECT_TRUE(Dominates(Pixel(seahorse, 0.15f * HS, -0.1f * HS), kG));
  EXPECT_TRUE(
      Dominates(Pixel(seahorse, std::cos(4.5f * f) * r - 0.2f * HS, std::sin(4.5f * f) * r + 0.3f * HS), kR));

  // Pufferfish at rest size (R = 0.72 S): red upper body, green tail.
  const QImage puffer = Render(DrawPufferfish, S);
  const float R = 0.72f * S;
  EXPECT_TRUE(Dominates(Pixel(puffer, 0.6f * R, -0.3f * R), kR));
  EXPECT_TRUE(Dominates(Pixel(puffer, -0.8f * R - 0.3f * S, 0), kG));

  // Sea Turtle: red end of the shell gradient, green head and tail.
  const QImage turtle = Render(DrawSeaTurtle, S);
  const float a = 0.7f * S, b = 0.55f * S;
  EXPECT_TRUE(Dominates(Pixel(turtle, -0.7f * a, -0.1f * b), kR));
  EXPECT_TRUE(Dominates(Pixel(turtle, 1.25f * a, 0.1f * b), kG));
  EXPECT_TRUE(Dominates(Pixel(turtle, -1.3f * a, 0), kG));

  // Octopus: red mantle, arms hanging below it, near-black pupils (at a size
  // where the pupil clears its glint).
  const float M = 0.8f * S;
  const QImage octopus = Render(DrawOctopus, S);
  EXPECT_TRUE(Dominates(Pixel(octopus, 0.5f * M, -0.5f * M), kR));
  EXPECT_GT(PaintedInRow(octopus, 1.4f * M, 100), 16);
  EXPECT_LT(Pixel(Render(DrawOctopus, 80), -0.26f * 64, -0.03f * 64).value(), 60);
}

TEST(DrifterFiguresTest, JellyfishBellWidensAndFlattensAsThePulseGrows) {
  // The bell's top on the axis (-0.6 B) and its width across y = 0 (0.95 W).
  for (const float psi : {kPi / 2, -kPi / 2}) {
    const float p = 0.85f + 0.15f * std::sin(psi);
    const float W = 1.6f * S * p, B = 1.2f * S * (1.85f - p);
    const QImage image = Render(DrawJellyfish, S, 0, psi);
    float top = -kCentre;
    while (top < 0 && Pixel(image, 0, top).alpha() < 20) ++top;
    EXPECT_NEAR(top, -0.6f * B, 1.5f) << psi;
    EXPECT_NEAR(PaintedInRow(image, 0, 20), 0.95f * W, 2.5f) << psi;
  }
}

TEST(DrifterFiguresTest, PufferfishSpinesOnlyWhileBlownUpPastRestSize) {
  // Inflation q = 0.8 + 0.4 |sin(0.3 psi)|; spines reach 1.05 R, beyond the body.
  auto spines = [](float sinValue) {
    const float R = 0.9f * 80 * (0.8f + 0.4f * sinValue);
    const QImage image = Render(DrawPufferfish, 80, 0, std::asin(sinValue) / 0.3f);
    const bool front = Dominates(Pixel(image, 1.03f * R, 0), kB);
    EXPECT_EQ(front, Dominates(Pixel(image, 0, 1.03f * R), kB)) << sinValue;
    return front;
  };
  EXPECT_FALSE(spines(0));      // R = 0.72 S
  EXPECT_FALSE(spines(0.49f));  // just under rest size
  EXPECT_TRUE(spines(0.51f));   // just over
  EXPECT_TRUE(spines(1));       // R = 1.08 S
}

TEST(DrifterFiguresTest, SeaTurtleFrontFlippersRiseTogether) {
  const float a = 0.7f * 80, b = 0.55f * 80;
  // At rest the tips sit 1.1 b above and below the axis.
  const QImage rest = Render(DrawSeaTurtle, 80);
  EXPECT_LT(Pixel(rest, 0.95f * a, -1.2f * b).alpha(), 40);
  EXPECT_TRUE(Dominates(Pixel(rest, 0.92f * a, -0.85f * b), kG));
  EXPECT_TRUE(Dominates(Pixel(rest, 0.92f * a, 0.85f * b), kG));
  // With sin(phi) = 1 both tips have moved up by 0.5 b.
  const QImage up = Render(DrawSeaTurtle, 80, kPi / 2);
  EXPECT_TRUE(Dominates(Pixel(up, 0.95f * a, -1.2f * b), kG));
  EXPECT_LT(Pixel(up, 0.92f * a, 0.85f * b).alpha(), 40);
}

}  // namespace
