// The retained frame: the same picture as the exact one frame after frame,
// and the edges of its compositing (a sprite at a fraction of a pixel, a
// creature half off the window, a new window size).
#include "scene/retained_scene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "native/retained_fidelity.h"
#include "scene/scene.h"
#include "settings/settings.h"
#include "sim/random.h"
#include "sim/simulation.h"

using namespace draw;

namespace {

// 150 frames (2.5 s at 60 frames a second) of each theme at 960x540, with
// 60 creatures, the pointer sweeping and bubble bursts: the same picture as
// the exact drawing, every frame.
class RetainedFidelityCheck : public ::testing::TestWithParam<int> {};

// Themes 1 to 6 drawn into the one frame the screen keeps; then (7) theme 3
// shown through two buffers that take turns, as a Wayland surface shows it,
// each brought up to date with only what it lacks; then on monitors of 150 %
// (8, theme 4: a set piece's fast parts) and 200 % (9, theme 2: an overlay).
TEST_P(RetainedFidelityCheck, EveryFrameMatchesTheExactFrame) {
  FidelityRun run;
  const int kThemes[] = {0, 1, 2, 3, 4, 5, 6, 3, 4, 2};
  run.theme = kThemes[GetParam()];
  run.swapBuffers = GetParam() == 7 ? 2 : 0;
  run.scale = GetParam() == 8 ? 1.5f : GetParam() == 9 ? 2.0f : 1.0f;
  run.width = 960;
  run.height = 540;
  run.frames = 150;
  std::vector<double> scores = RetainedFidelity(run);
  std::sort(scores.begin(), scores.end());
  const double worst = scores.front(), median = scores[scores.size() / 2];
  std::printf("theme %d, %d frames, %d buffers, scale %.2f: worst %.1f dB, median %.1f dB\n", run.theme,
              run.frames, std::max(1, run.swapBuffers), run.scale, worst, median);
  EXPECT_GE(worst, 38.0);
  EXPECT_GE(median, 42.0);
}

INSTANTIATE_TEST_SUITE_P(EveryTheme, RetainedFidelityCheck, ::testing::Range(1, 10));

Sprite OnePixel(uint32_t color) {
  Sprite sprite;
  ResetSprite(sprite, 10, 20, 3, 3);
  sprite.pixels[4] = color;  // its middle pixel, at screen (11, 21)
  MeasureSprite(sprite);
  return sprite;
}

TEST(Sprite, AtAFractionOfAPixelSharesItsPixelWithTheNext) {
  const Sprite sprite = OnePixel(0xFFFFFFFF);
  std::vector<uint32_t> frame(32 * 32, 0);
  const PixelBuffer target{frame.data(), 32, 32, 32};
  CompositeSprite(target, {0, 0, 32, 32}, sprite, PlaceSprite(2.25f, 0.25f));
  // Moved to (13.25, 21.25): three quarters of it in column 13 and in row 21,
  // a quarter in column 14 and in row 22.
  EXPECT_EQ(frame[21 * 32 + 13] >> 24, 143u);
  EXPECT_EQ(frame[21 * 32 + 14] >> 24, 48u);
  EXPECT_EQ(frame[22 * 32 + 13] >> 24, 48u);
  EXPECT_EQ(frame[22 * 32 + 14] >> 24, 16u);
  EXPECT_EQ(frame[21 * 32 + 12], 0u);
  const PixelRect bounds = SpriteBounds(sprite, PlaceSprite(2.25f, 0.25f));
  EXPECT_EQ(bounds.x0, 13);
  EXPECT_EQ(bounds.x1, 15);
  EXPECT_EQ(bounds.y1, 23);

  // A wide sprite, its rows blended several pixels at a time, gives what it
  // gives clipped to one column at a time (one pixel at a time), to the bit.
  Sprite wide;
  ResetSprite(wide, 3, 4, 24, 7);
  uint32_t seed = 7;
  for (uint32_t& p : wide.pixels) {
    seed = seed * 1664525u + 1013904223u;
    const uint32_t a = seed >> 24, c = (seed >> 8) & 0xFF;
    p = (seed & 3) == 0 ? 0 : a << 24 | (c * a / 255) << 16 | (a / 2) << 8 | a / 3;
  }
  MeasureSprite(wide);
  for (const float dx : {0.0625f, 0.5f, 0.9375f, -3.3f}) {
    std::vector<uint32_t> whole(40 * 16), byColumn;
    for (size_t i = 0; i < whole.size(); ++i) whole[i] = i % 3 ? 0xFF204060u : 0x80102030u;
    byColumn = whole;
    const SpritePlacement at = PlaceSprite(dx, 0.3f);
    CompositeSprite({whole.data(), 40, 16, 40}, {0, 0, 40, 16}, wide, at);
    for (int x = 0; x < 40; ++x) CompositeSprite({byColumn.data(), 40, 16, 40}, {x, 0, x + 1, 16}, wide, at);
    EXPECT_EQ(whole, byColumn) << dx;
  }
}

TEST(Sprite, HalfOffTheFrameShowsTheHalfInside) {
  Sprite sprite;
  ResetSprite(sprite, -4, -2, 8, 4);
  std::fill(sprite.pixels.begin(), sprite.pixels.end(), 0xFF102030u);
  MeasureSprite(sprite);
  std::vector<uint32_t> frame(16 * 8, 0xFF000000u);
  CompositeSprite({frame.data(), 16, 8, 16}, {0, 0, 16, 8}, sprite, PlaceSprite(0, 0));
  int covered = 0;
  for (uint32_t p : frame) covered += p == 0xFF102030u;
  EXPECT_EQ(covered, 4 * 2);  // columns 0..3, rows 0..1
  EXPECT_EQ(frame[1 * 16 + 3], 0xFF102030u);
  EXPECT_EQ(frame[2 * 16 + 0], 0xFF000000u);
}

Aquarium Running(int w, int h, int steps) {
  SeedRandom(99);
  Settings settings;
  settings.totalFish = 12;
  Aquarium aq;
  for (int i = 0; i < steps; ++i) {
    StepAquarium(aq, settings, 1.0f / 60, w, h);
  }
  return aq;
}

// Largest channel difference, the first row and column left out: the exact
// frame, drawn over the frame before, settles there to a mix of its layers
// that the retained frame only comes near.
int LargestDifference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, int w) {
  int largest = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    if (i % size_t(w) == 0 || i < size_t(w)) continue;
    for (int shift = 0; shift < 32; shift += 8)
      largest = std::max(largest, std::abs(int((a[i] >> shift) & 0xFF) - int((b[i] >> shift) & 0xFF)));
  }
  return largest;
}

// The exact frame, drawn over itself until its half-covered first row and column settle.
std::vector<uint32_t> Exact(const Aquarium& aq, int theme, int w, int h) {
  std::vector<uint32_t> pixels(size_t(w) * size_t(h), 0);
  Graphics g = MakeRasterGraphics({pixels.data(), w, h, w});
  for (int i = 0; i < 8; ++i) RenderScene(aq, theme, g, w, h);
  return pixels;
}

TEST(RetainedScene, ACreatureHalfOffTheWindowIsDrawnAsFarAsItShows) {
  const int w = 240, h = 160;
  Aquarium aq = Running(w, h, 2);
  aq.creatures.resize(1);
  Creature& c = aq.creatures[0];
  c.x = 3;
  c.y = 2;  // its upper left half is outside
  c.depth = 1;
  std::vector<uint32_t> retained(size_t(w) * size_t(h), 0);
  RetainedScenePtr scene = MakeRetainedScene();
  RenderSceneRetained(aq, 1, {retained.data(), w, h, w}, *scene);
  const std::vector<uint32_t> exact = Exact(aq, 1, w, h);
  EXPECT_LE(LargestDifference(exact, retained, w), 2);
  // Moved by a fraction of a pixel, not drawn again: resampled where it shows.
  c.x += 0.5f;
  const RetainedFrame& moved = RenderSceneRetained(aq, 1, {retained.data(), w, h, w}, *scene);
  EXPECT_EQ(moved.stats.spritesDrawn, 0);
  EXPECT_FALSE(moved.changed.empty());
  EXPECT_GE(Psnr(Exact(aq, 1, w, h), retained), 45.0);
}

TEST(RetainedScene, ANewWindowSizeDrawsEverythingAgain) {
  Aquarium aq = Running(320, 200, 30);
  RetainedScenePtr scene = MakeRetainedScene();
  std::vector<uint32_t> pixels(320 * 200, 0);
  EXPECT_EQ(RenderSceneRetained(aq, 3, {pixels.data(), 320, 200, 320}, *scene).stats.repaint,
            RepaintReason::kFirst);
  EXPECT_EQ(RenderSceneRetained(aq, 3, {pixels.data(), 320, 200, 320}, *scene).stats.repaint,
            RepaintReason::kNone);
  // Smaller and taller (the same records): the kept layers are made again at
  // the new size and every pixel is repainted.
  std::vector<uint32_t> resized(256 * 240, 0x12345678);
  const RetainedFrame& frame = RenderSceneRetained(aq, 3, {resized.data(), 256, 240, 256}, *scene);
  EXPECT_EQ(frame.stats.repaint, RepaintReason::kSize);
  EXPECT_EQ(frame.stats.pixelsChanged, 256 * 240);
  EXPECT_EQ(RetainedBackground(*scene).size(), size_t(256 * 240));
  EXPECT_GE(Psnr(Exact(aq, 3, 256, 240), resized), 45.0);
}

}  // namespace
