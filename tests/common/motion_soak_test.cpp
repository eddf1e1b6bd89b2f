// Long randomized runs: random frame times, window sizes, species counts,
// pointer moves, clicks and repopulations, with the invariants checked after
// every step.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <sstream>
#include <string>
#include <tuple>

#include "settings/settings.h"
#include "sim/random.h"
#include "sim/simulation.h"

namespace {

struct Band {
  float top, bottom;  // fractions of the height
};

Band VerticalLimits(int species) {
  switch (species) {
    case kRay:
      return {0.65f, 0.9f};
    case kJellyfish:
      return {0.08f, 0.65f};
    case kEel:
    case kCrab:
    case kHermitCrab:
      return {0.80f, 0.92f};
    case kCleanerShrimp:
      return {0.75f, 0.9f};
    default:
      return {0.06f, 0.92f};
  }
}

bool Finite(std::initializer_list<float> values) {
  for (float v : values) {
    if (!std::isfinite(v)) return false;
  }
  return true;
}

// Phases repeat after 20 pi for every multiple the figures take of them.
constexpr float kPhaseLimit = 62.84f;

// Empty when every invariant holds, else what broke.
std::string Violation(const Aquarium& a, int W, int H, bool clicked) {
  std::ostringstream out;
  for (size_t i = 0; i < a.creatures.size(); ++i) {
    const Creature& c = a.creatures[i];
    out << "creature " << i << " (species " << int(c.species) << "): ";
    if (!Finite({c.x, c.y, c.vx, c.vy, c.size, c.swimPhase, c.swimRate, c.pulsePhase, c.pacePhase, c.targetY,
                 c.retargetTimer, c.tilt, c.lastVx}))
      return out.str() + "not finite";
    const Band band = VerticalLimits(c.species);
    const float top = band.top * float(H), bottom = band.bottom * float(H);
    if (c.y < top || c.y > bottom) return out.str() + "y " + std::to_string(c.y) + " outside its limits";
    const float m = 3.0f * c.size;
    if (float(W) > 6.0f * c.size && (c.x < m || c.x > float(W) - m))
      return out.str() + "x " + std::to_string(c.x) + " outside the walls";
    if (std::abs(c.tilt) > 0.5f) return out.str() + "tilt " + std::to_string(c.tilt);
    // Unbounded phases lose their float precision over days of running.
    for (float phase : {c.swimPhase, c.pulsePhase, c.pacePhase})
      if (!(phase >= 0 && phase < kPhaseLimit))
        return out.str() + "phase " + std::to_string(phase) + " unbounded";
    out.str("");
  }
  for (const PlantClump& p : a.plants)
    if (!(p.swayPhase >= 0 && p.swayPhase < kPhaseLimit)) return "plant phase unbounded";
  for (const LightRay& r : a.lightRays)
    if (!(r.phase >= 0 && r.phase < kPhaseLimit)) return "light ray phase unbounded";
  for (const Bubble& b : a.bubbles) {
    if (!Finite({b.x, b.y, b.radius, b.riseSpeed, b.wobblePhase, b.wobbleRate})) return "bubble not finite";
    if (b.y < -10) return "a bubble above the top survived";
  }
  if (!clicked && a.bubbles.size() > 60) return std::to_string(a.bubbles.size()) + " bubbles without clicks";
  return "";
}

Settings RandomSettings(std::mt19937& rng) {
  Settings s;
  s.totalFish = std::uniform_int_distribution<int>(0, 70)(rng);
  if (rng() % 2) {
    for (int& n : s.speciesCounts) n = std::uniform_int_distribution<int>(0, 3)(rng);
  } else {
    // A few species with large counts: crowded schools.
    for (int& n : s.speciesCounts) n = 0;
    for (int k = int(rng() % 3); k >= 0; --k) s.speciesCounts[rng() % kSpeciesCount] = int(rng() % 61);
  }
  return s;
}

// One scripted run; the same script seed gives the same events.
void RunScript(Aquarium& a, uint32_t scriptSeed, int steps, bool withClicks, bool checkEveryStep) {
  std::mt19937 rng(scriptSeed);
  std::uniform_real_distribution<float> unit(0.0f, 1.0f);
  Settings settings = RandomSettings(rng);
  int W = 1 + int(rng() % 2560), H = 1 + int(rng() % 1440);
  bool clicked = false;
  for (int step = 0; step < steps; ++step) {
    const uint32_t event = rng() % 1000;
    if (event < 5) {
      W = int(rng() % 2561);  // sometimes 0: a minimised window
      H = int(rng() % 1441);
    } else if (event < 25) {
      RecordPointerMove(a, unit(rng) * (W + 200) - 100, unit(rng) * (H + 200) - 100);
    } else if (event < 35 && withClicks) {
      AddClickBurst(a, unit(rng) * W, unit(rng) * (H + 40) - 40);
      clicked = true;
    } else if (event == 999) {
      settings = RandomSettings(rng);
      a.populated = false;
    }
    const float dt = 0.1f * unit(rng);
    StepAquarium(a, settings, dt, W, H);
    if (checkEveryStep && W > 0 && H > 0) {
      const std::string broken = Violation(a, W, H, clicked);
      ASSERT_EQ(broken, "") << "script " << scriptSeed << " step " << step << " size " << W << "x" << H;
    }
  }
}

auto Fields(const Creature& c) {
  return std::make_tuple(c.x, c.y, c.vx, c.vy, c.size, c.color1, c.color2, c.color3, c.swimPhase, c.swimRate,
                         c.species, c.pattern, c.depth, c.pulsePhase, c.pacePhase, c.cruiseSpeed, c.targetY,
                         c.retargetTimer, c.tilt, c.lastVx);
}

auto Fields(const Bubble& b) {
  return std::make_tuple(b.x, b.y, b.radius, b.riseSpeed, b.wobblePhase, b.wobbleRate);
}

}  // namespace

TEST(Soak, InvariantsHoldThroughLongRandomRuns) {
  constexpr int kRuns = 40;
  constexpr int kStepsPerRun = 2500;  // 100,000 steps in all
  for (int run = 0; run < kRuns; ++run) {
    SeedRandom(uint32_t(run * 7919));
    Aquarium a;
    RunScript(a, uint32_t(run), kStepsPerRun, run % 2 == 1, true);
    if (HasFatalFailure()) return;
  }
}

TEST(Soak, SameSeedGivesTheSameAquarium) {
  Aquarium first, second;
  SeedRandom(77);
  RunScript(first, 5, 3000, true, false);
  const int nextAfterFirst = NextRandom();
  SeedRandom(77);
  RunScript(second, 5, 3000, true, false);
  EXPECT_EQ(NextRandom(), nextAfterFirst) << "both runs end at the same point of the sequence";

  ASSERT_EQ(first.creatures.size(), second.creatures.size());
  ASSERT_FALSE(first.creatures.empty());
  for (size_t i = 0; i < first.creatures.size(); ++i)
    EXPECT_EQ(Fields(first.creatures[i]), Fields(second.creatures[i]));
  ASSERT_EQ(first.bubbles.size(), second.bubbles.size());
  for (size_t i = 0; i < first.bubbles.size(); ++i)
    EXPECT_EQ(Fields(first.bubbles[i]), Fields(second.bubbles[i]));
  EXPECT_EQ(first.bubbleTimer, second.bubbleTimer);
  EXPECT_EQ(first.elapsed, second.elapsed);
}
