// A few frame checks through GDI+ itself (under Wine), at places the scene
// fixes: what Windows users see, not only what the Qt renders show.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "scene/scene.h"
#include "windows/gdiplus_render.h"

using namespace draw;

namespace {

RenderBuffer RenderFrame(const Aquarium& aquarium, int theme, int w, int h) {
  return RenderWithGdiplus(w, h, [&](Graphics& g) { RenderScene(aquarium, theme, g, w, h); });
}

int Channel(uint32_t argb, int shift) {
  return int((argb >> shift) & 0xFF);
}

bool Near(uint32_t actual, uint32_t expectedRgb, int tolerance) {
  for (int shift : {0, 8, 16}) {
    if (std::abs(Channel(actual, shift) - Channel(expectedRgb, shift)) > tolerance) return false;
  }
  return true;
}

}  // namespace

TEST(GdiplusScene, SandColourAtTheBottomEdge) {
  const Aquarium empty;
  for (auto [theme, bottom] : {std::pair{1, 0x877C59u}, {2, 0x15110Eu}}) {
    RenderBuffer frame = RenderFrame(empty, theme, 640, 400);
    ASSERT_EQ(frame.width, 640);
    for (int x : {5, 320, 639}) {
      EXPECT_TRUE(Near(frame.At(x, 399), bottom, 3))
          << "theme " << theme << " " << ColorText(frame.At(x, 399));
    }
  }
}

TEST(GdiplusScene, UnknownThemeDrawsLikeTropicalAquarium) {
  Aquarium aquarium;
  aquarium.elapsed = 2.5f;
  aquarium.lightRays = {{200, 60, 0.1f, 1, 0.3f, 14}};
  aquarium.bubbles = {{300, 200, 6, 30, 0, 1}};
  RenderBuffer tropical = RenderFrame(aquarium, 1, 480, 320);
  EXPECT_EQ(RenderFrame(aquarium, 9, 480, 320).pixels, tropical.pixels);
  EXPECT_NE(RenderFrame(aquarium, 2, 480, 320).pixels, tropical.pixels);
}

TEST(GdiplusScene, RuinsStonePulsesFromAlpha140) {
  // No light rays: the water behind the stone does not change with time.
  const int w = 1000, h = 600;
  const int cx = int(0.42 * w), cy = int(0.70 * h + 28);
  auto stoneAt = [&](float t) {
    Aquarium aquarium;
    aquarium.elapsed = t;
    RenderBuffer frame = RenderFrame(aquarium, 6, w, h);
    return std::pair{frame.At(cx, cy), frame.At(cx - 30, cy)};  // clear of the columns
  };
  auto [stone, water] = stoneAt(0);
  for (int shift : {0, 8, 16}) {
    int expected = Channel(water, shift) + (Channel(0x64FFC8, shift) - Channel(water, shift)) * 140 / 255;
    EXPECT_NEAR(Channel(stone, shift), expected, 3) << ColorText(stone) << " over " << ColorText(water);
  }
  EXPECT_EQ(stoneAt(3.14159265f).first, stone) << "sin 2t = 0 again";
  EXPECT_NE(stoneAt(0.785398f).first, stone) << "alpha 180 at t = pi/4";
}

TEST(GdiplusScene, ShipwreckHullReachesTheBottomEdge) {
  const Aquarium empty;
  const int w = 1000, h = 500;
  RenderBuffer wreck = RenderFrame(empty, 5, w, h);
  RenderBuffer plain = RenderFrame(empty, 1, w, h);
  // Mid keel, at the last row: the hull's colour, not the sand of theme 1.
  int x = int(0.3 * w + 0.5 * 0.35 * w);
  EXPECT_NE(wreck.At(x, h - 1), plain.At(x, h - 1));
  EXPECT_TRUE(Near(wreck.At(x, h - 1), 0x5A4128, 40)) << ColorText(wreck.At(x, h - 1));
}
