// The creature frame on Qt renders: opacity, shadow and haze by depth, facing
// and tilt, the finishing layer's eye and fin, and the pattern overlay's clip.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "draw/creature.h"
#include "draw/qt/qt_graphics.h"

using namespace draw;

namespace {

// Pixel centres lie on whole coordinates (as GDI+ draws by default), so a
// mirror about x = 240 maps pixel 240 + i onto pixel 240 - i.
constexpr int kW = 480, kH = 320;
constexpr float kX = 240, kY = 140, kL = 88;  // S = 40: L = 88, H = 44

Creature Make(int species, float depth, float size = 40) {
  Creature c;
  c.x = kX, c.y = kY, c.vx = 30, c.size = size, c.depth = depth, c.species = uint8_t(species);
  c.color1 = 0xFF0000, c.color2 = 0x00FF00, c.color3 = 0x0000FF;
  return c;
}

template <typename Draw>
QImage Paint(Draw drawing) {
  QImage image = MakeQtImage(kW, kH);
  {
    Graphics g = MakeQtGraphics(image);
    drawing(g);
  }
  return image;
}

QImage Render(const Creature& c) {
  return Paint([&](Graphics& g) { DrawCreature(g, c); });
}

// The pixel whose square contains (x, y).
QColor At(const QImage& image, float x, float y) {
  return image.pixelColor(int(std::floor(x + 0.5f)), int(std::floor(y + 0.5f)));
}

// Largest channel difference between a and b read at mirror ? 2 kX - x : x.
int MaxDifference(const QImage& a, const QImage& b, bool mirror = false) {
  int result = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 1; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(mirror ? 2 * int(kX) - x : x, y);
      result = std::max({result, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                         std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
    }
  return result;
}

TEST(CreatureFrameTest, UnitsAndOpacity) {
  Creature c = Make(0, 0.4f, 20);
  c.swimPhase = float(M_PI / 2);
  CreatureUnits u = MakeCreatureUnits(c);
  EXPECT_FLOAT_EQ(u.L, 44);
  EXPECT_FLOAT_EQ(u.H, 22);
  EXPECT_FLOAT_EQ(u.K, 18);
  EXPECT_NEAR(u.w, 0.35f, 1e-6);
  EXPECT_EQ(u.A, 186);
  EXPECT_EQ(Alpha(u, 0.85f), 158);  // 158.1
  EXPECT_EQ(Alpha(u, 0.3f), 55);    // 55.8: truncated
  c.depth = 1;
  EXPECT_EQ(MakeCreatureUnits(c).A, 255);
  EXPECT_EQ(Alpha(MakeCreatureUnits(c), 0.5f), 127);
  c.depth = 1.2f;  // saturates rather than wrapping to transparent
  EXPECT_EQ(MakeCreatureUnits(c).A, 255);
  EXPECT_EQ(Lighten(0x10F0FF, 40), 0x38FFFFu);
}

TEST(CreatureFrameTest, ShadowAndHazeFollowDepth) {
  // Species 20 has no figure: at depth 1 only the shadow, 0.8 S below, fading downward.
  const QImage near = Render(Make(20, 1.0f));
  const float top = kY + 32 - 11;
  for (int row = int(top) + 2; row < int(top) + 21; ++row)
    EXPECT_NEAR(At(near, kX, row).alpha(), 60 * (1 - (row - top) / 22), 2) << "row " << row;
  EXPECT_EQ(MaxDifference(near.copy(0, 0, kW, int(top) - 1), MakeQtImage(kW, int(top) - 1)), 0)
      << "no haze, figure, eye or fin above the shadow";
  Creature turned = Make(20, 1.0f);
  turned.vx = -30, turned.tilt = 0.5f;
  EXPECT_EQ(MaxDifference(near, Render(turned)), 0) << "the shadow is neither mirrored nor tilted";

  // Far away: shadow 39 under a bluish veil from alpha 20 to 68 over -0.8 H .. 0.8 H.
  const QImage far = Render(Make(20, 0.4f));
  const QColor veil = At(far, kX, kY - 22);
  EXPECT_NEAR(veil.alpha(), 20 + 48 * 13.2f / 70.4f, 2);
  EXPECT_TRUE(veil.blue() > veil.green() && veil.green() > veil.red());
  const float shadow = 39 * (1 - 5 / 22.f) / 255, haze = (20 + 48 * (top + 5 - kY + 35.2f) / 70.4f) / 255;
  EXPECT_NEAR(At(far, kX, top + 5).alpha(), 255 * (1 - (1 - shadow) * (1 - haze)), 3);
  EXPECT_EQ(MaxDifference(far, Render(Make(255, 0.4f))), 0) << "any unknown species";
  EXPECT_EQ(At(Render(Make(20, 0.98f)), kX, kY + 17.6f).alpha(), 0);  // h = 0.009: no veil
  EXPECT_GT(At(Render(Make(20, 0.97f)), kX, kY + 17.6f).alpha(), 0);  // h = 0.0135
}

TEST(CreatureFrameTest, LeftFacingIsTheMirrorImage) {
  for (int species = 0; species <= 5; ++species) {
    Creature c = Make(species, 0.4f);
    c.swimPhase = 1.0f, c.pattern = 2;  // tail swung, spots asymmetric
    const QImage right = Render(c);
    c.vx = -30;
    EXPECT_LE(MaxDifference(right, Render(c), true), 4) << "species " << species;
    c.vx = 0;
    EXPECT_EQ(MaxDifference(right, Render(c)), 0) << "vx = 0 faces right";
  }
}

TEST(CreatureFrameTest, TiltTurnsAboutThePointAheadOfThePosition) {
  auto opaqueCentre = [](const QImage& image) {  // the Shark's body, not its shadow
    double sx = 0, sy = 0, n = 0;
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x)
        if (qAlpha(image.pixel(x, y)) > 200) sx += x, sy += y, n += 1;
    return std::pair<double, double>(sx / n, sy / n);
  };
  for (float vx : {30.f, -30.f}) {
    Creature c = Make(5, 1.0f);  // its shape does not depend on the tilt
    c.vx = vx;
    const auto [x0, y0] = opaqueCentre(Render(c));
    c.tilt = 0.5f;
    const auto [x1, y1] = opaqueCentre(Render(c));
    // 6 degrees, clockwise facing right and counter-clockwise facing left, about (x + 0.25 L, y).
    const double r = (vx > 0 ? 6 : -6) * M_PI / 180, px = kX + 0.25 * kL, py = kY;
    EXPECT_NEAR(x1, px + (x0 - px) * std::cos(r) - (y0 - py) * std::sin(r), 0.3) << "vx " << vx;
    EXPECT_NEAR(y1, py + (x0 - px) * std::sin(r) + (y0 - py) * std::cos(r), 0.3) << "vx " << vx;
  }
}

TEST(CreatureFrameTest, EyeAndPectoralFinFollowTheSpecies) {
  const float eyes[][3] = {{0, 0.3f, -0.12f},  {1, 0.25f, -0.3f}, {3, 0.3f, -0.15f},  {4, 0.3f, -0.12f},
                           {5, 0.6f, -0.1f},   {7, 0.3f, -0.12f}, {8, 0.25f, -0.15f}, {9, 0.3f, -0.1f},
                           {10, 0.3f, -0.12f}, {13, 0.3f, -0.12f}};
  for (const auto& e : eyes) {  // S = 80: pupil radius 5.6 set 1.7 forward, eyeball radius 10.4
    Creature c = Make(int(e[0]), 1.0f, 80);
    const QImage image = Render(c);
    const float ex = kX + e[1] * 176, ey = kY + e[2] * 88;
    const QColor pupil = At(image, ex + 1.7f, ey + 2.8f), eyeball = At(image, ex - 8, ey + 1.6f);
    EXPECT_LT(pupil.red() + pupil.green() + pupil.blue(), 90) << "species " << e[0];
    EXPECT_GT(eyeball.red() + eyeball.green() + eyeball.blue(), 600) << "species " << e[0];
  }
  // sin(1.3 phi) = -1 swings the fin tip back below the tail end, clear of the generic body.
  for (int species : {0, 2, 5}) {
    Creature c = Make(species, 1.0f);
    c.swimPhase = float(1.5 * M_PI / 1.3);
    const QColor tip = At(Render(c), kX - 0.33f * kL, kY + 22);
    EXPECT_EQ(tip.alpha() > 60 && tip.green() > 200, species != 5) << "species " << species;
  }
}

TEST(CreatureFrameTest, LeavesTransformAndClipAsFound) {
  Creature c = Make(0, 0.4f);
  c.vx = -30, c.tilt = 0.4f, c.pattern = 1;  // the overlay clips inside
  const QImage image = Paint([&](Graphics& g) {
    ClipToPath(g, PolygonPath({{0, 0}, {20, 0}, {20, 20}, {0, 20}}));
    DrawCreature(g, c);
    FillRectangle(g, SolidBrush(0xFFFFFFFF), 0, 0, 40, 40);
  });
  EXPECT_EQ(At(image, 10, 10).alpha(), 255);
  EXPECT_EQ(At(image, 30, 10).alpha(), 0);
}

TEST(PatternOverlayTest, BandsAndSpotsStayInsideTheClip) {
  const float Lp = 200, Hp = 100, cx = 240, cy = 160;  // a 200 x 100 elliptic body
  auto overlay = [&](int pattern) {
    Creature c = Make(0, 1.0f);
    c.pattern = uint8_t(pattern);
    return Paint([&](Graphics& g) {
      Translate(g, cx, cy);
      DrawPatternOverlay(g, c, Lp, Hp, EllipsePath(-0.5f * Lp, -0.5f * Hp, Lp, Hp));
    });
  };
  auto paintedOutside = [&](const QImage& image) {
    int count = 0;
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        const float dx = (x - cx) / (0.5f * Lp + 1), dy = (y - cy) / (0.5f * Hp + 1);
        count += dx * dx + dy * dy > 1 && qAlpha(image.pixel(x, y)) != 0;
      }
    return count;
  };
  EXPECT_EQ(MaxDifference(overlay(0), MakeQtImage(kW, kH)), 0);
  EXPECT_EQ(MaxDifference(overlay(3), MakeQtImage(kW, kH)), 0);

  const QImage bands = overlay(1);
  EXPECT_EQ(paintedOutside(bands), 0);
  for (int i = 0; i < 4; ++i) {  // 0.08 Lp wide at -0.35 Lp + i 0.175 Lp, colour 3 at 180
    const float left = cx - 0.35f * Lp + i * 0.175f * Lp, right = left + 0.08f * Lp;
    EXPECT_EQ(At(bands, left + 8, cy + 0.3f * Hp).rgba(), qRgba(0, 0, 255, 180)) << "band " << i;
    EXPECT_EQ(At(bands, left + 1.5f, cy).alpha() - At(bands, left - 1.5f, cy).alpha(), 180) << "band " << i;
    EXPECT_EQ(At(bands, right - 1.5f, cy).alpha() - At(bands, right + 1.5f, cy).alpha(), 180) << "band " << i;
  }

  const QImage spots = overlay(2);
  EXPECT_EQ(paintedOutside(spots), 0);
  const float centres[][2] = {{-0.25f, -0.2f}, {0.1f, -0.25f}, {-0.1f, 0.05f},
                              {0.2f, 0.1f},    {-0.2f, 0.25f}, {0.05f, -0.05f}};
  for (const auto& f : centres) {  // round, radius 0.06 Lp, colour 3 at 160
    const float x = cx + f[0] * Lp, y = cy + f[1] * Hp;
    EXPECT_EQ(At(spots, x, y).rgba(), qRgba(0, 0, 255, 160)) << f[0] << "," << f[1];
    EXPECT_GT(At(spots, x, y + 10).alpha(), 150);
    EXPECT_GT(At(spots, x + 10, y).alpha(), 150);
    EXPECT_EQ(At(spots, x + 14, y).alpha(), 0);
  }
}

}  // namespace
