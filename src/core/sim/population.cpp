#include <algorithm>
#include <vector>

#include "base/log.h"
#include "settings/settings.h"
#include "sim/random.h"
#include "sim/simulation.h"

// Every value below is one generator draw, taken in a fixed order (one
// statement per draw): the same seed must give the same aquarium everywhere.

namespace {

constexpr float kTwoPiApprox = 6.28f;  // phases are drawn over [0, 6.28]

std::vector<const SpeciesVariant*> RowsOf(int species) {
  std::vector<const SpeciesVariant*> rows;
  for (const SpeciesVariant& row : kSpeciesVariants) {
    if (row.species == species) rows.push_back(&row);
  }
  return rows;
}

void AddRandomRowOf(Aquarium& aquarium, int species, int W, int H) {
  const std::vector<const SpeciesVariant*> rows = RowsOf(species);
  const int index = RandomIndex(static_cast<int>(rows.size()));
  AddCreature(aquarium, *rows[index], W, H);
}

void AddPlants(Aquarium& aquarium, float fW, float fH) {
  for (int i = 0; i < 9; ++i) {
    PlantClump p;
    p.x = (0.03f + static_cast<float>(i) * 0.94f / 9.0f) * fW;
    p.x += RandomUniform(-15.0f, 15.0f);
    p.height = RandomUniform(0.1f * fH, 0.3f * fH);
    p.width = RandomUniform(6.0f, 18.0f);
    p.swayPhase = RandomUniform(0.0f, kTwoPiApprox);
    p.swayRate = RandomUniform(0.6f, 2.0f);
    p.color = kPlantColors[i % kPlantColorCount];
    p.blades = 4 + static_cast<int>(3.0f * RandomUnit());
    aquarium.plants.push_back(p);
  }
}

void AddCorals(Aquarium& aquarium, float fW, float fH) {
  for (int i = 0; i < 7; ++i) {
    Coral c;
    c.x = (0.08f + static_cast<float>(i) * 0.84f / 7.0f) * fW;
    c.x += RandomUniform(-20.0f, 20.0f);
    c.y = 0.9f * fH;
    c.y += RandomUniform(-10.0f, 5.0f);
    c.size = RandomUniform(18.0f, 40.0f);
    c.color = kCoralColors[i % kCoralColorCount];
    c.kind = static_cast<uint8_t>(i % 4);
    c.phase = RandomUniform(0.0f, kTwoPiApprox);
    aquarium.corals.push_back(c);
  }
}

void AddStarfish(Aquarium& aquarium, float fW, float fH) {
  for (int i = 0; i < 4; ++i) {
    Starfish s;
    s.x = (0.15f + static_cast<float>(i) * 0.175f) * fW;
    s.x += RandomUniform(-30.0f, 30.0f);
    s.y = 0.93f * fH;
    s.y += RandomUniform(-8.0f, 3.0f);
    s.size = RandomUniform(14.0f, 24.0f);
    s.color = kStarfishColors[i];
    s.rotation = RandomUniform(0.0f, kTwoPiApprox);
    aquarium.starfish.push_back(s);
  }
}

void AddLightRays(Aquarium& aquarium, float fW) {
  for (int i = 0; i < 8; ++i) {
    LightRay r;
    r.x = (0.05f + static_cast<float>(i) * 0.9f / 7.0f) * fW;
    r.x += RandomUniform(-20.0f, 20.0f);
    r.width = RandomUniform(40.0f, 110.0f);
    r.slant = RandomUniform(-0.15f, 0.15f);
    r.phase = RandomUniform(0.0f, kTwoPiApprox);
    r.rate = RandomUniform(0.2f, 0.6f);
    r.intensity = RandomUniform(8.0f, 20.0f);
    aquarium.lightRays.push_back(r);
  }
}

}  // namespace

void AddCreature(Aquarium& aquarium, const SpeciesVariant& row, int W, int H) {
  const float fW = static_cast<float>(W);
  const float fH = static_cast<float>(H);
  const SpeciesTraits& traits = kSpeciesTraits[row.species];
  Creature c;
  c.x = RandomUniform(0.05f * fW, 0.95f * fW);
  const float y0 = RandomUniform(0.12f * fH, 0.82f * fH);
  c.y = y0;
  c.targetY = y0;
  const float direction = (NextRandom() & 1) ? -1.0f : 1.0f;
  const float speed = RandomUniform(row.speedMin, row.speedMax);
  c.vx = speed * direction;
  c.cruiseSpeed = speed;
  const float s = RandomUniform(row.sizeMin, row.sizeMax);
  c.swimPhase = RandomUniform(0.0f, kTwoPiApprox);
  c.swimRate = RandomUniform(4.0f, 9.0f);
  c.depth = RandomUniform(0.4f, 1.0f);
  c.pulsePhase = RandomUniform(0.0f, kTwoPiApprox);
  c.pacePhase = RandomUniform(0.0f, kTwoPiApprox);
  c.retargetTimer = RandomUniform(1.0f, 4.0f);
  // Floor and jellyfish start in their own band but keep steering toward y0
  // until their first retarget; their vertical limits hold them meanwhile.
  if (traits.family == SpeciesFamily::kBottomDweller) {
    c.y = fH * RandomUniform(traits.spawnTop, traits.spawnBottom);
  } else if (row.species == kJellyfish) {
    c.y = RandomUniform(traits.spawnTop * fH, traits.spawnBottom * fH);
  }
  c.size = s * (0.6f + 0.6f * c.depth);
  c.vy = 0;
  c.tilt = 0;
  c.lastVx = c.vx;
  c.color1 = row.color1;
  c.color2 = row.color2;
  c.color3 = row.color3;
  c.species = row.species;
  c.pattern = row.pattern;
  aquarium.creatures.push_back(c);
}

void PopulateAquarium(Aquarium& aquarium, const Settings& settings, int W, int H) {
  aquarium.creatures.clear();
  aquarium.bubbles.clear();
  aquarium.plants.clear();
  aquarium.lightRays.clear();
  aquarium.corals.clear();
  aquarium.starfish.clear();

  int total = 0;
  for (int s = 0; s < kSpeciesCount; ++s) {
    const int n = settings.speciesCounts[s];
    if (n <= 0) continue;
    total += n;
    for (int k = 0; k < n; ++k) AddRandomRowOf(aquarium, s, W, H);
  }

  // Counts whose sum exceeds the total are all honoured; a smaller sum is
  // filled up with species that are switched on, each equally likely.
  const int target = std::clamp(settings.totalFish, 5, 60);
  if (total < target) {
    std::vector<int> enabled;
    for (int s = 0; s < kSpeciesCount; ++s) {
      if (settings.speciesCounts[s] > 0) enabled.push_back(s);
    }
    if (!enabled.empty()) {
      while (total < target) {
        const int species = enabled[RandomIndex(static_cast<int>(enabled.size()))];
        AddRandomRowOf(aquarium, species, W, H);
        ++total;
      }
    }
  }

  if (aquarium.creatures.empty()) AddCreature(aquarium, kSpeciesVariants[0], W, H);

  const float fW = static_cast<float>(W);
  const float fH = static_cast<float>(H);
  AddPlants(aquarium, fW, fH);
  AddCorals(aquarium, fW, fH);
  AddStarfish(aquarium, fW, fH);
  AddLightRays(aquarium, fW);

  aquarium.width = W;
  aquarium.height = H;
  WriteLog(L"鱼缸初始化：%zu 条鱼(%d种), %zu 丛水草, %zu 个珊瑚, %zu 个海星, %zu 条光线",
           aquarium.creatures.size(), kSpeciesCount, aquarium.plants.size(), aquarium.corals.size(),
           aquarium.starfish.size(), aquarium.lightRays.size());
}
