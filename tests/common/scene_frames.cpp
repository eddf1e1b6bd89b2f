#include "common/scene_frames.h"

#include <cstdio>

#include "settings/settings.h"
#include "sim/random.h"
#include "sim/simulation.h"

namespace {

constexpr float kDt = 1.0f / 60;
const int kCaptureSteps[] = {150, 320, 480};
const uint32_t kSeeds[] = {3, 1234, 987654};

std::string FrameName(int theme, uint32_t seed, int step) {
  char name[64];
  std::snprintf(name, sizeof name, "scene_t%d_s%u_%d", theme, unsigned(seed), step);
  return name;
}

// The pointer's path: across the water and back, low then high, so that
// creatures turn to flee; a click every so often.
void Interact(Aquarium& aquarium, int step, int w, int h) {
  const float phase = float(step % 240) / 240.0f;
  const float x = (phase < 0.5f ? phase * 2 : 2 - phase * 2) * float(w);
  const float y = (step / 240 % 2 == 0 ? 0.65f : 0.3f) * float(h);
  if (step % 4 == 0) RecordPointerMove(aquarium, x, y);
  if (step % 90 == 45) AddClickBurst(aquarium, x, y);
}

}  // namespace

const std::vector<uint32_t>& SceneSeeds() {
  static const std::vector<uint32_t> seeds(std::begin(kSeeds), std::end(kSeeds));
  return seeds;
}

const std::vector<SceneFrame>& SceneFrames() {
  static const std::vector<SceneFrame> frames = [] {
    std::vector<SceneFrame> all;
    for (uint32_t seed : kSeeds)
      for (int step : kCaptureSteps)
        for (int theme = 1; theme <= 6; ++theme)
          all.push_back({FrameName(theme, seed, step), theme, seed, step});
    return all;
  }();
  return frames;
}

void RunSceneFrames(uint32_t seed, const std::function<void(const Aquarium&, const SceneFrame&)>& capture) {
  Settings settings;
  settings.totalFish = 60;
  SeedRandom(seed);
  Aquarium aquarium;
  int step = 0;
  for (int captureStep : kCaptureSteps) {
    for (; step < captureStep; ++step) {
      StepAquarium(aquarium, settings, kDt, kSceneFrameWidth, kSceneFrameHeight);
      Interact(aquarium, step, kSceneFrameWidth, kSceneFrameHeight);
    }
    for (int theme = 1; theme <= 6; ++theme)
      capture(aquarium, {FrameName(theme, seed, step), theme, seed, step});
  }
}
