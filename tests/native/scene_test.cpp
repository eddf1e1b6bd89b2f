// Frame composition checked on renders into Qt images: colours the backdrop fixes, what
// each theme adds, and the order in which layers and creatures cover each other.
#include "scene/scene.h"

#include <QImage>
#include <cmath>
#include <cstdlib>
#include <tuple>

#include "draw/creature.h"
#include "draw/qt/qt_graphics.h"
#include "gtest/gtest.h"
#include "scene/layers.h"
#include "sim/simulation.h"

using namespace draw;

namespace {

QImage Blank(int w, int h, QRgb fill = 0) {
  QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
  image.fill(fill);
  return image;
}

// Drawn as RenderScene draws a frame: by the toolkit's rasteriser, straight
// into the image.
template <typename Draw>
QImage Paint(int w, int h, Draw drawing, QRgb fill = 0) {
  QImage image = Blank(w, h, fill);
  {
    Graphics qt = MakeQtGraphics(image);
    PixelBuffer pixels;
    EXPECT_TRUE(AccessPixels(qt, pixels));
    Graphics g = MakeRasterGraphics(pixels);
    drawing(g);
  }
  return image;
}

QImage Render(const Aquarium& aquarium, int theme, int w, int h) {
  return Paint(w, h, [&](Graphics& g) { RenderScene(aquarium, theme, g, w, h); });
}

// Everything RenderScene draws before the creatures.
void DrawBackground(Graphics& g, const Aquarium& aq, int theme, int w, int h) {
  const ScenePalette palette = PaletteForTheme(theme);
  DrawWater(g, palette, theme, w, h, aq.elapsed);
  DrawLightRays(g, aq.lightRays, palette.light, h, aq.elapsed);
  DrawSeaFloor(g, palette.floor, w, h, aq.elapsed);
  DrawRocks(g, w, h);
  DrawSetPiece(g, theme, w, h, aq.elapsed);
}

bool Near(QRgb actual, Color expected, int tolerance) {
  return std::abs(qRed(actual) - int(RedOf(expected))) <= tolerance &&
         std::abs(qGreen(actual) - int(GreenOf(expected))) <= tolerance &&
         std::abs(qBlue(actual) - int(BlueOf(expected))) <= tolerance;
}

std::string Hex(QRgb v) {
  char text[16];
  std::snprintf(text, sizeof text, "#%08X", unsigned(v));
  return text;
}

Creature Fish(float x, float y, float depth, uint32_t color) {
  Creature c;
  c.x = x;
  c.y = y;
  c.vx = 40;
  c.size = 30;
  c.color1 = c.color2 = c.color3 = color;
  c.depth = depth;
  return c;
}

// A small aquarium with one of everything.
Aquarium Sample() {
  Aquarium aq;
  aq.elapsed = 3.7f;
  aq.lightRays = {{200, 60, 0.2f, 1, 0.3f, 14}, {520, 90, -0.1f, 2, 0.2f, 20}};
  aq.starfish = {{120, 560, 16, 0xE07040, 0.4f}};
  aq.corals = {{300, 570, 50, 0xFF6080, 0, 1},
               {380, 570, 50, 0x60C0FF, 1, 2},
               {460, 570, 50, 0xC0A040, 2, 3},
               {540, 570, 50, 0x9060E0, 3, 4}};
  aq.plants = {{640, 120, 24, 0.7f, 1, 0x30A050, 5}};
  aq.bubbles = {{500, 300, 6, 30, 0, 1}};
  aq.creatures = {Fish(250, 200, 0.9f, 0xFFA020), Fish(420, 380, 0.5f, 0x2080FF)};
  return aq;
}

int DifferingPixels(const QImage& a, const QImage& b, int y0, int y1) {
  int count = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = 0; x < a.width(); ++x) count += a.pixel(x, y) != b.pixel(x, y);
  return count;
}

}  // namespace

TEST(ScenePalette, UnknownThemesDrawExactlyLikeTropicalAquarium) {
  const Aquarium aq = Sample();
  const QImage tropical = Render(aq, 1, 800, 600);
  for (int theme : {9, 0, 7, -3}) EXPECT_TRUE(Render(aq, theme, 800, 600) == tropical) << "theme " << theme;
  EXPECT_FALSE(Render(aq, 2, 800, 600) == tropical);
}

TEST(SceneBackdrop, SandReachesItsDarkenedColourAtTheBottomEdge) {
  // Scaled in double: in float 30 * 0.7 truncates to 20, not 21.
  EXPECT_EQ(Darkened(0xC2B280, 0.7, 0xFF), 0xFF877C59u);
  EXPECT_EQ(Darkened(0x1E1914, 0.7, 0xFF), 0xFF15110Eu);
  const Aquarium empty;
  for (auto [theme, bottom] : {std::pair{1, 0x877C59u}, {2, 0x15110Eu}}) {
    const QImage frame = Render(empty, theme, 1000, 800);
    for (int x : {5, 300, 500, 999})
      EXPECT_TRUE(Near(frame.pixel(x, 799), bottom, 2))
          << "theme " << theme << " x " << x << " " << Hex(frame.pixel(x, 799));
  }
}

TEST(SceneBackdrop, SurfaceGlowIsStrongerInKoiPond) {
  for (int theme = 1; theme <= 6; ++theme) {
    const ScenePalette palette = PaletteForTheme(theme);
    const QImage water = Paint(800, 600, [&](Graphics& g) { DrawWater(g, palette, theme, 800, 600, 0); });
    // White at the glow's alpha over the top water colour. Row 1: the
    // backend keeps GDI+'s pixel centres, so row 0 is only half covered.
    const double glow = (theme == 3 ? 0x64 : 0x3C) / 255.0 * (47.0 / 48.0);
    const auto blend = [&](uint8_t c) { return uint8_t(std::lround(c + (255 - c) * glow)); };
    const Color expected = Argb(0xFF, blend(RedOf(palette.waterTop)), blend(GreenOf(palette.waterTop)),
                                blend(BlueOf(palette.waterTop)));
    EXPECT_TRUE(Near(water.pixel(400, 1), expected, 2))
        << "theme " << theme << " " << Hex(water.pixel(400, 1));
  }
}

TEST(SceneOverlay, DeepSeaTintCoversOnlyTheTopThirtyPercentCreaturesIncluded) {
  const int w = 800, h = 600;
  Aquarium aq = Sample();
  aq.creatures = {Fish(200, 0.1f * h, 1, 0xFFA020), Fish(500, 0.6f * h, 1, 0xFFA020)};
  const QImage frame = Render(aq, 2, w, h);
  const QImage untinted = Paint(w, h, [&](Graphics& g) {
    DrawBackground(g, aq, 2, w, h);
    DrawScenery(g, aq, h);
    DrawCreaturesInDepthOrder(g, aq.creatures);
  });
  EXPECT_EQ(DifferingPixels(frame, untinted, int(0.3 * h), h), 0);
  EXPECT_EQ(DifferingPixels(frame, untinted, 0, int(0.1 * h)), w * int(0.1 * h));
  // The top row is bluer; the upper creature is tinted too.
  EXPECT_GT(qBlue(frame.pixel(600, 0)), qBlue(untinted.pixel(600, 0)));
  EXPECT_NE(frame.pixel(200, int(0.1f * h)), untinted.pixel(200, int(0.1f * h)));
}

TEST(SceneCache, KeptWaterGivesTheFrameDrawnWithoutIt) {
  // One cache through changes of theme and size, as a window keeps it.
  SceneCache cache;
  const Aquarium aq = Sample();
  for (auto [theme, w, h] :
       {std::tuple{1, 400, 300}, {1, 400, 300}, {3, 400, 300}, {3, 520, 300}, {3, 520, 340}}) {
    // Structured bindings are captured by init-capture: C++17 allows no other way.
    const QImage kept = Paint(
        w, h, [&, theme = theme, w = w, h = h](Graphics& g) { RenderScene(aq, theme, g, w, h, cache); });
    const QImage fresh =
        Paint(w, h, [&, theme = theme, w = w, h = h](Graphics& g) { RenderScene(aq, theme, g, w, h); });
    int worst = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        for (int shift : {0, 8, 16, 24})
          worst = std::max(worst, std::abs(int((kept.pixel(x, y) >> shift) & 0xFF) -
                                           int((fresh.pixel(x, y) >> shift) & 0xFF)));
    EXPECT_LE(worst, 1) << "theme " << theme << ", " << w << "x" << h;  // rounding at the half-covered edges
    EXPECT_EQ(cache.theme, theme);
    EXPECT_EQ(cache.width, w);
  }
}

TEST(SceneOverlay, EmptyAquariumStillDrawsBackdropAndOverlay) {
  const Aquarium empty;
  for (int theme : {2, 3}) {
    const QImage frame = Render(empty, theme, 640, 480);
    const QImage background =
        Paint(640, 480, [&](Graphics& g) { DrawBackground(g, empty, theme, 640, 480); });
    EXPECT_EQ(qAlpha(frame.pixel(320, 240)), 255) << "water missing in theme " << theme;
    EXPECT_GT(DifferingPixels(frame, background, 0, 480), 0) << "overlay missing in theme " << theme;
    // Koi Pond ripple lines sit at 0.15 h .. 0.55 h.
    if (theme == 3) {
      EXPECT_GT(DifferingPixels(frame, background, 68, 76), 0);
    }
  }
}

TEST(SceneSetPieces, RuinsStoneShipwreckHullAndThemesWithout) {
  const int w = 1000, h = 800;
  // The stone pulses between alpha 100 and 180, 140 at t = 0.
  for (auto [t, alpha] : {std::pair{0.0f, 140}, {0.785398f, 180}, {2.356194f, 100}}) {
    const QImage ruins = Paint(w, h, [&, t = t](Graphics& g) { DrawSetPiece(g, 6, w, h, t); });
    EXPECT_NEAR(qAlpha(ruins.pixel(420, int(0.70f * h) + 28)), alpha, 1) << "t " << t;
  }
  // The hull's keel lies on the bottom edge.
  const QImage wreck = Paint(w, h, [&](Graphics& g) { DrawSetPiece(g, 5, w, h, 0); });
  const float a = 0.3f * w, r = 0.35f * w;
  for (int x = int(a + 0.15f * r) + 2; x < int(a + 0.85f * r) - 2; x += 10)
    EXPECT_GE(qAlpha(wreck.pixel(x, h - 1)), 0xD0) << "x " << x;
  const QImage blank = Blank(400, 300);
  for (int theme : {1, 2, 3, 9})
    EXPECT_TRUE(Paint(400, 300, [&](Graphics& g) { DrawSetPiece(g, theme, 400, 300, 1); }) == blank);
  for (int theme : {1, 4, 5, 6, 9})
    EXPECT_TRUE(Paint(400, 300, [&](Graphics& g) { DrawOverlay(g, theme, 400, 300, 1); }) == blank);
}

TEST(SceneOrder, BubblesUnderCreaturesAndCreaturesByDepthThenY) {
  const int w = 640, h = 480;
  Aquarium aq;
  aq.bubbles = {{300, 200, 25, 30, 0, 1}};
  aq.creatures = {Fish(300, 200, 1, 0xFFA020)};
  const auto manual = [&](std::initializer_list<const Creature*> order, bool bubbleFirst) {
    return Paint(w, h, [&](Graphics& g) {
      DrawBackground(g, aq, 1, w, h);
      if (bubbleFirst) DrawScenery(g, aq, h);
      for (const Creature* c : order) DrawCreature(g, *c);
      if (!bubbleFirst) DrawScenery(g, aq, h);
    });
  };
  const Creature* fish = &aq.creatures[0];
  EXPECT_TRUE(Render(aq, 1, w, h) == manual({fish}, true));
  EXPECT_FALSE(Render(aq, 1, w, h) == manual({fish}, false));

  // A near creature listed first still covers a far one listed after it.
  aq.bubbles.clear();
  aq.creatures = {Fish(300, 200, 0.9f, 0xFFA020), Fish(320, 205, 0.6f, 0x2040FF)};
  const Creature* nearFish = &aq.creatures[0];
  const Creature* farFish = &aq.creatures[1];
  EXPECT_TRUE(Render(aq, 1, w, h) == manual({farFish, nearFish}, true));
  EXPECT_FALSE(Render(aq, 1, w, h) == manual({nearFish, farFish}, true));

  // Equal depth: the lower one (larger y) is drawn last.
  aq.creatures = {Fish(300, 215, 0.8f, 0xFFA020), Fish(310, 200, 0.8f, 0x2040FF)};
  const Creature* lower = &aq.creatures[0];
  const Creature* upper = &aq.creatures[1];
  EXPECT_TRUE(Render(aq, 1, w, h) == manual({upper, lower}, true));
  EXPECT_FALSE(Render(aq, 1, w, h) == manual({lower, upper}, true));
}

TEST(SceneOrder, DepthOrderSortsPointersAndLeavesTheListAlone) {
  const std::vector<Creature> creatures = {Fish(0, 50, 1.0f, 1), Fish(0, 90, 0.4f, 2), Fish(0, 10, 0.7f, 3),
                                           Fish(0, 5, 0.4f, 4), Fish(0, 60, NAN, 5)};
  const std::vector<const Creature*> order = DepthOrder(creatures);
  ASSERT_EQ(order.size(), creatures.size());
  const std::vector<uint32_t> expected = {5, 4, 2, 3, 1};  // the NaN depth counts as farthest
  for (size_t i = 0; i < order.size(); ++i) EXPECT_EQ(order[i]->color1, expected[i]) << i;
  EXPECT_EQ(order[1], &creatures[3]);  // pointers into the list, not copies
}

TEST(SceneScenery, PlantsCoralsAndStarfishEdgeCases) {
  const int w = 300, h = 400;
  const auto plant = [&](int blades) {
    return Paint(w, h, [&](Graphics& g) { DrawPlant(g, {150, 200, 40, 0.3f, 1, 0x30A050, blades}, h); });
  };
  // Fewer than one step draws like a single step instead of dividing by zero.
  const QImage single = plant(1);
  EXPECT_FALSE(single == Blank(w, h));
  EXPECT_TRUE(plant(0) == single);
  EXPECT_TRUE(plant(-5) == single);
  EXPECT_FALSE(plant(6) == single);

  // Any unknown kind is drawn as tube sponges.
  const auto coral = [&](uint8_t kind) {
    return Paint(w, h, [&](Graphics& g) { DrawCoral(g, {150, 300, 80, 0xFF6080, kind, 1}, 2); });
  };
  EXPECT_TRUE(coral(7) == coral(3));
  EXPECT_TRUE(coral(255) == coral(3));
  EXPECT_FALSE(coral(0) == coral(3));

  // With rotation 0 one arm points straight up; straight down is between arms.
  const QImage star = Paint(w, h, [&](Graphics& g) { DrawStarfish(g, {150, 200, 50, 0xE07040, 0}); });
  EXPECT_GT(qAlpha(star.pixel(150, 200 - 40)), 0xB0);
  EXPECT_EQ(qAlpha(star.pixel(150, 200 + 40)), 0);
}

TEST(SceneResize, ProportionalPartsFollowTheNewSizeFixedSizesStay) {
  const Aquarium aq = Sample();
  // One image, drawn first at a smaller size, then at its full size.
  QImage image = Blank(1200, 900);
  {
    Graphics g = MakeQtGraphics(image);
    RenderScene(aq, 5, g, 800, 600);
    EXPECT_EQ(qAlpha(image.pixel(1100, 850)), 0);
    RenderScene(aq, 5, g, 1200, 900);
  }
  // Row 0 and column 0 are only half covered (pixel centres as in GDI+) and
  // keep a trace of the earlier frame; everything else is the new frame.
  const QImage fresh = Render(aq, 5, 1200, 900);
  EXPECT_EQ(DifferingPixels(image.copy(1, 1, 1199, 899), fresh.copy(1, 1, 1199, 899), 0, 899), 0);

  // The hull's keel follows the bottom edge; a rock keeps its 60 pixels.
  const QImage hull = Paint(1200, 900, [](Graphics& g) { DrawSetPiece(g, 5, 1200, 900, 0); });
  EXPECT_GE(qAlpha(hull.pixel(int(0.3 * 1200 + 0.5 * 0.35 * 1200), 899)), 0xD0);
  const auto lastRockWidth = [](int w, int h) {
    const QImage rocks = Paint(w, h, [&](Graphics& g) { DrawRocks(g, w, h); });
    int covered = 0;
    for (int x = int(0.75 * w); x < w; ++x) covered += qAlpha(rocks.pixel(x, int(0.94 * h))) > 128;
    return covered;
  };
  EXPECT_NEAR(lastRockWidth(800, 600), 60, 2);
  EXPECT_NEAR(lastRockWidth(1200, 900), 60, 2);
}

TEST(SceneRender, DegenerateSizesDoNotCrash) {
  const Aquarium aq = Sample();
  for (auto [w, h] : {std::pair{0, 0}, {-5, 100}, {100, -5}}) {
    const QImage frame = Paint(16, 16, [&, w = w, h = h](Graphics& g) { RenderScene(aq, 1, g, w, h); });
    EXPECT_TRUE(frame == Blank(16, 16));
  }
  // Narrower than one ripple step: single-point polylines are rejected, the frame goes on.
  const QImage narrow = Render(aq, 3, 5, 200);
  EXPECT_EQ(qAlpha(narrow.pixel(2, 199)), 255);
}

// A wallpaper runs for weeks: one frame's step of the scene clock must move
// the time-driven backdrop as much after 30 days as after 30 seconds.
TEST(SceneClock, RipplesAdvanceAsSmoothlyAfterThirtyDays) {
  const float step = 1.0f / 60;
  const long month = 30L * 24 * 3600 * 60;
  Aquarium early, late;
  for (int i = 0; i < 30 * 60; ++i) AdvanceSceneClock(early, step);
  for (long i = 0; i < month; ++i) AdvanceSceneClock(late, step);
  EXPECT_NEAR(late.elapsed, double(month) * step, 0.05);

  // Pixels of the surface ripples that one step changes.
  const int w = 400, h = 200;
  auto changedBySteps = [&](Aquarium aq, int steps) {
    auto ripples = [&](const Aquarium& a) {
      return Paint(w, h, [&](Graphics& g) { DrawWater(g, PaletteForTheme(1), 1, w, h, a.elapsed); });
    };
    const QImage before = ripples(aq);
    for (int i = 0; i < steps; ++i) AdvanceSceneClock(aq, step);
    const QImage after = ripples(aq);
    int changed = 0;
    for (int y = 0; y < int(0.06 * h); ++y)
      for (int x = 0; x < w; ++x) changed += before.pixel(x, y) != after.pixel(x, y);
    return changed;
  };
  const int earlyOne = changedBySteps(early, 1), lateOne = changedBySteps(late, 1);
  ASSERT_GT(earlyOne, 0);
  EXPECT_NEAR(lateOne, earlyOne, 0.5 * earlyOne) << "one 1/60 s step after 30 days";
  // Two steps move twice as far, not zero or four times (a rounded clock).
  EXPECT_GT(changedBySteps(late, 2), lateOne);
}
