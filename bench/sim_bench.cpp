// Nanoseconds per StepAquarium at 28, 60 and 600 creatures (1920x1080, 60 fps
// frame time, the pointer resting in the middle so the flee path runs too).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "settings/settings.h"
#include "sim/random.h"
#include "sim/simulation.h"

namespace {

double NsPerStep(const Settings& settings, size_t& creatures, size_t& schoolers) {
  using Clock = std::chrono::steady_clock;
  constexpr int kW = 1920, kH = 1080, kWarmup = 200, kSteps = 2000, kRounds = 5;
  constexpr float kDt = 1.0f / 60;
  SeedRandom(1);
  Aquarium a;
  StepAquarium(a, settings, kDt, kW, kH);
  RecordPointerMove(a, kW / 2.0f, kH / 2.0f);
  for (int i = 0; i < kWarmup; ++i) StepAquarium(a, settings, kDt, kW, kH);
  creatures = a.creatures.size();
  schoolers = size_t(std::count_if(a.creatures.begin(), a.creatures.end(),
                                   [](const Creature& c) { return kSpeciesTraits[c.species].schools; }));
  std::vector<double> rounds;
  for (int r = 0; r < kRounds; ++r) {
    const auto start = Clock::now();
    for (int i = 0; i < kSteps; ++i) StepAquarium(a, settings, kDt, kW, kH);
    rounds.push_back(std::chrono::duration<double, std::nano>(Clock::now() - start).count() / kSteps);
  }
  std::sort(rounds.begin(), rounds.end());
  return rounds[kRounds / 2];
}

}  // namespace

void RunSimBench() {
  Settings defaults;  // 28 creatures
  Settings sixty;
  sixty.totalFish = 60;  // the defaults filled up to 60
  Settings crowded;
  for (int& n : crowded.speciesCounts) n = 30;  // 600: the largest the settings file allows

  std::printf("\nStepAquarium, 1920x1080, dt 1/60, median of 5 rounds of 2000 steps\n");
  for (const Settings* s : {&defaults, &sixty, &crowded}) {
    size_t creatures = 0, schoolers = 0;
    const double ns = NsPerStep(*s, creatures, schoolers);
    std::printf("  %4zu creatures (%3zu schooling): %10.0f ns per step\n", creatures, schoolers, ns);
  }
}
