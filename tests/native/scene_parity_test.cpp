// The frame users get (RenderScene: the toolkit's rasteriser, the water
// column kept in a SceneCache from frame to frame) against the reference
// drawing (Qt, call by call), theme by theme, over frames of running
// aquariums with pointer flight and bubble bursts.
#include <gtest/gtest.h>

#include <cstdio>

#include "common/parity_measure.h"
#include "common/scene_frames.h"
#include "native/qt_render.h"
#include "scene/scene.h"

using namespace draw;

namespace {

class SceneParity : public ::testing::TestWithParam<int> {};

TEST_P(SceneParity, FastFramesMatchTheReference) {
  const int theme = GetParam(), w = kSceneFrameWidth, h = kSceneFrameHeight;
  ParityScore worst;
  for (uint32_t seed : SceneSeeds()) {
    SceneCache cache;  // kept from frame to frame, as the program keeps it
    RunSceneFrames(seed, [&](const Aquarium& aquarium, const SceneFrame& frame) {
      if (frame.theme != theme) return;
      const RenderBuffer fast =
          RenderWithQt(w, h, [&](Graphics& g) { RenderScene(aquarium, theme, g, w, h, cache); });
      const RenderBuffer reference =
          RenderWithQt(w, h, [&](Graphics& g) { RenderSceneReference(aquarium, theme, g, w, h); });
      const ParityScore score = CompareRenders(reference, fast);
      EXPECT_TRUE(Passes(score)) << frame.name << ": " << Describe(score);
      worst = Worst(worst, score);
    });
  }
  std::printf("theme %d, worst of %zu frames: %s\n", theme, SceneSeeds().size() * 3, Describe(worst).c_str());
}

INSTANTIATE_TEST_SUITE_P(EveryTheme, SceneParity, ::testing::Range(1, 7));

}  // namespace
