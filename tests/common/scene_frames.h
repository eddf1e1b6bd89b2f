// Frames of a running aquarium for comparing two drawings of a scene: every
// theme, several seeds, captured after several hundred steps during which the
// pointer sweeps across the water (the creatures flee it) and clicks release
// bubble bursts. Natively and under Wine the same seeds give the same
// aquariums, so both platforms check the same pictures.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/render_buffer.h"
#include "sim/aquarium.h"

struct SceneFrame {
  std::string name;  // "scene_t<theme>_s<seed>_<step>", also a dump file's name
  int theme = 1;
  uint32_t seed = 0;
  int step = 0;
};

constexpr int kSceneFrameWidth = 800;
constexpr int kSceneFrameHeight = 450;

// Every theme, every seed, every capture step.
const std::vector<SceneFrame>& SceneFrames();

// Runs the aquarium of `seed` and calls `capture` at each of its capture
// steps, in order, with the frames of that step (one per theme).
void RunSceneFrames(uint32_t seed, const std::function<void(const Aquarium&, const SceneFrame&)>& capture);

// The seeds RunSceneFrames takes.
const std::vector<uint32_t>& SceneSeeds();
