// The simulated aquarium: plain records owned by value, no drawing and no
// window code.
#pragma once

#include <cstdint>
#include <vector>

struct Settings;

// Phases are only ever read through sines of multiples of tenths (0.5 p,
// 1.3 p, 2.7 p, ...), all of which repeat after 20 pi. Keeping them below that
// keeps their float precision: unwrapped, a swim phase reaches 10^7 within
// weeks, where a frame's increment rounds away and the animation freezes.
constexpr float kPhasePeriod = 62.83185307f;  // 20 pi

struct Creature {
  float x = 0;
  float y = 0;
  float vx = 0;  // its sign is the facing: < 0 faces left
  float vy = 0;
  float size = 0;
  uint32_t color1 = 0;  // 0x00RRGGBB
  uint32_t color2 = 0;
  uint32_t color3 = 0;
  float swimPhase = 0;
  float swimRate = 0;
  uint8_t species = 0;  // SpeciesId
  uint8_t pattern = 0;  // 0 plain, 1 bands, 2 spots
  float depth = 1;      // 0.4 far .. 1.0 near
  float pulsePhase = 0;
  float pacePhase = 0;
  float cruiseSpeed = 0;
  float targetY = 0;
  float retargetTimer = 0;
  float tilt = 0;
  float lastVx = 0;
};

struct Bubble {
  float x = 0;
  float y = 0;
  float radius = 0;
  float riseSpeed = 0;
  float wobblePhase = 0;
  float wobbleRate = 0;
  bool fromClick = false;  // released by a click, not by the timer
};

struct PlantClump {
  float x = 0;
  float height = 0;
  float width = 0;
  float swayPhase = 0;
  float swayRate = 0;
  uint32_t color = 0;
  int blades = 4;
};

struct LightRay {
  float x = 0;
  float width = 0;
  float slant = 0;
  float phase = 0;
  float rate = 0;
  float intensity = 0;
};

struct Coral {
  float x = 0;
  float y = 0;
  float size = 0;
  uint32_t color = 0;
  uint8_t kind = 0;
  float phase = 0;
};

struct Starfish {
  float x = 0;
  float y = 0;
  float size = 0;
  uint32_t color = 0;
  float rotation = 0;
};

struct Aquarium {
  float pointerX = -9999.0f;
  float pointerY = -9999.0f;
  bool pointerKnown = false;
  // Scene clock in seconds. Double: a wallpaper runs for weeks, and a float
  // clock stops advancing by 1/60 s steps after a few days.
  double elapsed = 0;
  std::vector<Creature> creatures;
  std::vector<Bubble> bubbles;
  std::vector<PlantClump> plants;
  std::vector<LightRay> lightRays;
  std::vector<Coral> corals;
  std::vector<Starfish> starfish;
  float bubbleTimer = 0;
  bool populated = false;  // false: the next step rebuilds everything
  // The client size the positions belong to (0 before the first population).
  int width = 0;
  int height = 0;
};
