// The creature frame on Qt renders: units and opacity, shadow and haze by
// depth, facing and tilt, the finishing layer's eye and fin, and the pattern
// overlay staying inside its clip.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "draw/creature.h"
#include "draw/qt/qt_graphics.h"

namespace {

constexpr int kWidth = 480;
constexpr int kHeight = 320;
// Pixel centres lie on whole coordinates (as GDI+ draws by default), so a
// mirror about x = 240 maps pixel 240 + i onto pixel 240 - i.
constexpr float kX = 240;
constexpr float kY = 140;

Creature FrameCreature(int species, float depth, float size = 40) {
  Creature c;
  c.x = kX;
  c.y = kY;
  c.vx = 30;
  c.size = size;
  c.depth = depth;
  c.species = uint8_t(species);
  c.color1 = 0xFF0000;
  c.color2 = 0x00FF00;
  c.color3 = 0x0000FF;
  return c;
}

template <typename Draw>
QImage Paint(Draw draw) {
  QImage image = MakeQtImage(kWidth, kHeight);
  {
    Graphics g = MakeQtGraphics(image);
    draw(g);
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

int MaxAlpha(const QImage& image) {
  int result = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) result = std::max(result, qAlpha(image.pixel(x, y)));
  return result;
}

// Largest channel difference between two pictures, the second read through
// `mapX` (identity, or a mirror about the creature's x).
template <typename MapX>
int MaxDifference(const QImage& a, const QImage& b, MapX mapX) {
  int result = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      if (mapX(x) < 0 || mapX(x) >= b.width()) continue;
      const QRgb p = a.pixel(x, y), q = b.pixel(mapX(x), y);
      result = std::max({result, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                         std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
    }
  return result;
}

// Centre of the clearly opaque pixels: the figure's body, not the faint shadow.
QPointF OpaqueCentroid(const QImage& image) {
  double sx = 0, sy = 0, n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qAlpha(image.pixel(x, y)) > 200) {
        sx += x;
        sy += y;
        n += 1;
      }
  return n > 0 ? QPointF(sx / n, sy / n) : QPointF();
}

QPointF RotateAbout(QPointF p, QPointF pivot, double degrees) {
  const double r = degrees * M_PI / 180, dx = p.x() - pivot.x(), dy = p.y() - pivot.y();
  return {pivot.x() + dx * std::cos(r) - dy * std::sin(r), pivot.y() + dx * std::sin(r) + dy * std::cos(r)};
}

TEST(CreatureUnitsTest, FollowSizeDepthAndPhase) {
  Creature c = FrameCreature(0, 0.4f, 20);
  c.swimPhase = float(M_PI / 2);
  c.pulsePhase = 1.25f;
  CreatureUnits u = MakeCreatureUnits(c);
  EXPECT_FLOAT_EQ(u.S, 20);
  EXPECT_FLOAT_EQ(u.L, 44);
  EXPECT_FLOAT_EQ(u.H, 22);
  EXPECT_FLOAT_EQ(u.K, 18);
  EXPECT_NEAR(u.w, 0.35f, 1e-6);
  EXPECT_FLOAT_EQ(u.psi, 1.25f);
  EXPECT_EQ(u.A, 186);
  EXPECT_EQ(Alpha(u, 1), 186);
  EXPECT_EQ(Alpha(u, 0.85f), 158);  // 158.1
  EXPECT_EQ(Alpha(u, 0.3f), 55);    // 55.8: truncated, not rounded

  c.depth = 1;
  u = MakeCreatureUnits(c);
  EXPECT_EQ(u.A, 255);
  EXPECT_EQ(Alpha(u, 0.5f), 127);
  EXPECT_EQ(Alpha(u, 0.25f), 63);

  // A depth past the near end saturates instead of wrapping to transparent.
  c.depth = 1.2f;
  EXPECT_EQ(MakeCreatureUnits(c).A, 255);
}

TEST(CreatureUnitsTest, LightenSaturatesEachChannel) {
  EXPECT_EQ(Lighten(0x10F0FF, 40), 0x38FFFFu);
  EXPECT_EQ(Lighten(0x000000, 35), 0x232323u);
  EXPECT_EQ(Lighten(0xFFD700, 40), 0xFFFF28u);
}

TEST(DrawCreatureTest, ShadowFadesDownwardAndIgnoresFacingAndTilt) {
  // No figure and, at depth 1, no haze: the shadow alone, 0.8 S below.
  Creature c = FrameCreature(20, 1.0f);
  const QImage shadow = Render(c);
  const float top = kY + 0.8f * 40 - 0.25f * 44, height = 0.5f * 44;
  for (int row = int(top) + 2; row < int(top + height) - 1; ++row) {
    const float t = (row - top) / height;
    EXPECT_NEAR(At(shadow, kX, row).alpha(), 60 * (1 - t), 2) << "row " << row;
    EXPECT_EQ(At(shadow, kX, row).red(), 0);
  }
  for (int y = 0; y < int(top) - 1; ++y)
    for (int x = 0; x < kWidth; ++x) ASSERT_EQ(qAlpha(shadow.pixel(x, y)), 0) << x << "," << y;

  c.vx = -30;
  c.tilt = 0.5f;
  EXPECT_EQ(MaxDifference(shadow, Render(c), [](int x) { return x; }), 0);

  // Far away the shadow is fainter (39) and the haze lies over it.
  c = FrameCreature(20, 0.4f);
  const float row = top + 5;
  const float shadowAlpha = 39 * (1 - 5 / height) / 255;
  const float hazeAlpha = (20 + 48 * (row - (kY - 0.8f * 44)) / (1.6f * 44)) / 255;
  EXPECT_NEAR(At(Render(c), kX, row).alpha(), 255 * (1 - (1 - shadowAlpha) * (1 - hazeAlpha)), 3);
}

TEST(DrawCreatureTest, DepthHazeVeilsOnlyFarCreatures) {
  // Above the shadow, where only the haze can paint.
  const float row = kY - 0.5f * 44;
  const QImage far = Render(FrameCreature(20, 0.4f));
  const QColor veil = At(far, kX, row);
  EXPECT_NEAR(veil.alpha(), 20 + 48 * (row - (kY - 0.8f * 44)) / (1.6f * 44), 2);
  EXPECT_GT(veil.blue(), veil.green());
  EXPECT_GT(veil.green(), veil.red());
  // The veil reaches beyond the body, 0.65 L to either side.
  EXPECT_GT(At(far, kX - 0.6f * 88, kY).alpha(), 10);
  EXPECT_GT(At(far, kX + 0.6f * 88, kY).alpha(), 10);
  EXPECT_EQ(At(far, kX + 0.7f * 88, kY).alpha(), 0);

  EXPECT_EQ(At(Render(FrameCreature(20, 1.0f)), kX, row).alpha(), 0);
  EXPECT_EQ(At(Render(FrameCreature(20, 0.98f)), kX, row).alpha(), 0);  // h = 0.009: below the threshold
}

TEST(DrawCreatureTest, UnknownSpeciesDrawsShadowAndHazeOnly) {
  const QImage unknown = Render(FrameCreature(20, 0.4f));
  EXPECT_EQ(MaxDifference(unknown, Render(FrameCreature(255, 0.4f)), [](int x) { return x; }), 0);
  // Shadow (39) under haze (68) at most: no figure, eye or fin.
  EXPECT_LT(MaxAlpha(unknown), 100);
  EXPECT_GT(MaxAlpha(unknown), 50);
  EXPECT_GT(MaxAlpha(Render(FrameCreature(0, 0.4f))), 180);
}

TEST(DrawCreatureTest, LeftFacingIsTheMirrorImage) {
  for (int species = 0; species <= 5; ++species) {
    Creature c = FrameCreature(species, 0.4f);  // with haze: it mirrors too
    c.swimPhase = 1.0f;                         // tail swung, fin tip off centre
    c.pattern = 2;                              // spots are not symmetric
    const QImage right = Render(c);
    c.vx = -30;
    const QImage left = Render(c);
    // Shadow and haze are symmetric about x, so the whole picture mirrors.
    EXPECT_LE(MaxDifference(right, left, [](int x) { return 2 * int(kX) - x; }), 4) << "species " << species;
    EXPECT_GT(MaxDifference(right, left, [](int x) { return x; }), 100) << "species " << species;
  }
  // vx = 0 faces right.
  Creature still = FrameCreature(0, 1.0f);
  const QImage right = Render(still);
  still.vx = 0;
  EXPECT_EQ(MaxDifference(right, Render(still), [](int x) { return x; }), 0);
}

TEST(DrawCreatureTest, TiltTurnsAboutThePointAheadOfThePosition) {
  // The Shark's shape does not itself depend on the tilt.
  const float L = 2.2f * 40;
  const QPointF pivot(kX + 0.25f * L, kY);
  for (bool facesLeft : {false, true}) {
    Creature c = FrameCreature(5, 1.0f);
    c.vx = facesLeft ? -30 : 30;
    const QPointF level = OpaqueCentroid(Render(c));
    c.tilt = 0.5f;
    const QPointF tilted = OpaqueCentroid(Render(c));
    // 6 degrees clockwise facing right, counter-clockwise facing left: the head dips either way.
    const QPointF expected = RotateAbout(level, pivot, facesLeft ? -6 : 6);
    EXPECT_NEAR(tilted.x(), expected.x(), 0.3) << (facesLeft ? "left" : "right");
    EXPECT_NEAR(tilted.y(), expected.y(), 0.3) << (facesLeft ? "left" : "right");
    // Turning about the position instead would land about 2.3 px away.
    const QPointF aboutPosition = RotateAbout(level, QPointF(kX, kY), facesLeft ? -6 : 6);
    EXPECT_GT(std::hypot(tilted.x() - aboutPosition.x(), tilted.y() - aboutPosition.y()), 1.5);
  }
}

TEST(DrawCreatureTest, EyeAndPectoralFinFollowTheSpecies) {
  struct Eye {
    int species;
    float ex, ey;  // multiples of L and H
  };
  const Eye eyes[] = {{0, 0.3f, -0.12f}, {1, 0.25f, -0.3f},  {2, 0.3f, -0.12f},  {3, 0.3f, -0.15f},
                      {4, 0.3f, -0.12f}, {5, 0.6f, -0.1f},   {8, 0.25f, -0.15f}, {9, 0.3f, -0.1f},
                      {7, 0.3f, -0.12f}, {10, 0.3f, -0.12f}, {13, 0.3f, -0.12f}};
  const float S = 80, L = 2.2f * S, H = 1.1f * S, p = 0.07f * S;
  for (const Eye& e : eyes) {
    Creature c = FrameCreature(e.species, 1.0f, S);
    c.x = 160;
    const QImage image = Render(c);
    const float ex = c.x + e.ex * L, ey = kY + e.ey * H;
    const QColor pupil = At(image, ex + 0.3f * p, ey + 0.5f * p);
    EXPECT_LT(pupil.red() + pupil.green() + pupil.blue(), 90) << "species " << e.species;
    const QColor eyeball = At(image, ex - 0.1f * S, ey + 0.02f * S);
    EXPECT_GT(eyeball.red() + eyeball.green() + eyeball.blue(), 600) << "species " << e.species;
  }

  // With sin(1.3 phi) = -1 the fin tip swings back below the tail end of the
  // body, where neither the generic body nor the Shark paints.
  for (int species : {0, 2, 5}) {
    Creature c = FrameCreature(species, 1.0f);
    c.swimPhase = float(-M_PI / 2.6);
    const QColor tip = At(Render(c), kX - 0.33f * 88, kY + 0.5f * 44);
    if (species == 5) {
      EXPECT_LT(tip.alpha(), 10);
    } else {
      EXPECT_GT(tip.alpha(), 60) << "species " << species;
      EXPECT_GT(tip.green(), 200) << "species " << species;
      EXPECT_LT(tip.red(), 60) << "species " << species;
    }
  }
}

TEST(DrawCreatureTest, LeavesTransformAndClipAsFound) {
  Creature c = FrameCreature(0, 0.4f);
  c.vx = -30;
  c.tilt = 0.4f;
  c.pattern = 1;  // the overlay clips to the body inside
  const QImage image = Paint([&](Graphics& g) {
    ClipToPath(g, PolygonPath({{0, 0}, {20, 0}, {20, 20}, {0, 20}}));
    DrawCreature(g, c);
    FillRectangle(g, SolidBrush(0xFFFFFFFF), 0, 0, 40, 40);
  });
  EXPECT_EQ(At(image, 10, 10).alpha(), 255);  // neither moved nor clipped away
  EXPECT_EQ(At(image, 30, 10).alpha(), 0);    // still clipped to the square
}

TEST(PatternOverlayTest, BandsAndSpotsStayInsideTheClip) {
  // A 200 x 100 body centred at (240, 160), colour 3 pure blue.
  const float Lp = 200, Hp = 100, cx = 240, cy = 160;
  auto overlay = [&](int pattern) {
    Creature c = FrameCreature(0, 1.0f);
    c.pattern = uint8_t(pattern);
    return Paint([&](Graphics& g) {
      Translate(g, cx, cy);
      DrawPatternOverlay(g, c, Lp, Hp, EllipsePath(-0.5f * Lp, -0.5f * Hp, Lp, Hp));
      // The clip is gone again afterwards.
      FillRectangle(g, SolidBrush(0xFFFFFFFF), -cx, -cy, 4, 4);
    });
  };
  auto insideBody = [&](int x, int y) {
    const float dx = (x - cx) / (0.5f * Lp), dy = (y - cy) / (0.5f * Hp);
    return dx * dx + dy * dy <= 1.03f;
  };
  auto paintedOutsideBody = [&](const QImage& image) {
    int count = 0;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 5; x < kWidth; ++x)
        if (qAlpha(image.pixel(x, y)) != 0 && !insideBody(x, y)) ++count;
    return count;
  };

  for (int pattern : {0, 3}) {
    const QImage none = overlay(pattern);
    EXPECT_EQ(At(none, 1, 1).alpha(), 255);
    EXPECT_EQ(MaxAlpha(none.copy(5, 5, kWidth - 5, kHeight - 5)), 0) << "pattern " << pattern;
  }

  const QImage bands = overlay(1);
  EXPECT_EQ(At(bands, 1, 1).alpha(), 255);
  EXPECT_EQ(paintedOutsideBody(bands), 0);
  for (int i = 0; i < 4; ++i) {
    const float left = cx - 0.35f * Lp + i * 0.175f * Lp;
    const QColor band = At(bands, left + 0.04f * Lp, cy + 0.3f * Hp);
    EXPECT_NEAR(band.alpha(), 180, 1) << "band " << i;
    EXPECT_EQ(band.blue(), 255) << "band " << i;
    EXPECT_EQ(At(bands, left - 0.05f * Lp, cy).alpha(), 0) << "gap before band " << i;
    EXPECT_EQ(At(bands, left + 0.1f * Lp, cy).alpha(), 0) << "gap after band " << i;
  }
  // The rectangles reach the full height; the body's corner cuts them.
  EXPECT_EQ(At(bands, cx - 0.31f * Lp, cy - 0.48f * Hp).alpha(), 0);

  const QImage spots = overlay(2);
  EXPECT_EQ(paintedOutsideBody(spots), 0);
  const QPointF centres[] = {{-0.25, -0.2}, {0.1, -0.25}, {-0.1, 0.05},
                             {0.2, 0.1},    {-0.2, 0.25}, {0.05, -0.05}};
  for (const QPointF& f : centres) {
    const QColor spot = At(spots, cx + f.x() * Lp, cy + f.y() * Hp);
    EXPECT_NEAR(spot.alpha(), 160, 1) << f.x() << "," << f.y();
    // Round: radius 0.06 Lp in both directions, whatever the body height.
    EXPECT_GT(At(spots, cx + f.x() * Lp, cy + f.y() * Hp + 0.05f * Lp).alpha(), 150);
    EXPECT_GT(At(spots, cx + f.x() * Lp + 0.05f * Lp, cy + f.y() * Hp).alpha(), 150);
    EXPECT_EQ(At(spots, cx + f.x() * Lp + 0.07f * Lp, cy + f.y() * Hp).alpha(), 0);
  }
  EXPECT_EQ(At(spots, cx + 0.35f * Lp, cy).alpha(), 0);
}

}  // namespace
