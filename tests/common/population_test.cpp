#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "settings/settings.h"
#include "sim/random.h"
#include "sim/simulation.h"

namespace {

constexpr int kW = 1920;
constexpr int kH = 1080;

Settings CountsOnly(std::initializer_list<std::pair<int, int>> counts, int totalFish) {
  Settings s;
  for (int& n : s.speciesCounts) n = 0;
  for (auto [species, n] : counts) s.speciesCounts[species] = n;
  s.totalFish = totalFish;
  return s;
}

Aquarium Populated(const Settings& settings, uint32_t seed = 7) {
  SeedRandom(seed);
  Aquarium a;
  PopulateAquarium(a, settings, kW, kH);
  return a;
}

int CountOf(const Aquarium& a, int species) {
  int n = 0;
  for (const Creature& c : a.creatures) n += c.species == species;
  return n;
}

// The raw Windows C runtime sequence, written out independently.
struct CrtSequence {
  uint32_t state;
  int Next() {
    state = state * 214013u + 2531011u;
    return int((state >> 16) & 0x7FFF);
  }
  float Uniform(float a, float b) { return a + float(Next()) / 32767.0f * (b - a); }
};

}  // namespace

TEST(Random, MatchesTheWindowsRuntimeSequence) {
  SeedRandom(1);
  const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
  for (int value : expected) EXPECT_EQ(NextRandom(), value);

  // Unit draws reach both ends; indices use the raw value modulo n.
  CrtSequence crt{123};
  SeedRandom(123);
  for (int i = 0; i < 1000; ++i) {
    const int raw = crt.Next();
    if (i % 2) {
      EXPECT_EQ(RandomIndex(7), raw % 7);
    } else {
      EXPECT_EQ(RandomUnit(), float(raw) / 32767.0f);
    }
  }
}

TEST(Population, DefaultsGiveExactlyTheConfiguredCreaturesAndScenery) {
  const Settings defaults;
  Aquarium a;
  a.bubbles.resize(5);
  a.bubbleTimer = 0.12f;
  a.elapsed = 3;
  a.pointerX = 10;
  a.pointerKnown = true;
  SeedRandom(99);
  PopulateAquarium(a, defaults, kW, kH);

  ASSERT_EQ(a.creatures.size(), 28u);
  for (int s = 0; s < kSpeciesCount; ++s) EXPECT_EQ(CountOf(a, s), s < 8 ? 2 : 1) << "species " << s;
  EXPECT_EQ(a.plants.size(), 9u);
  EXPECT_EQ(a.corals.size(), 7u);
  EXPECT_EQ(a.starfish.size(), 4u);
  EXPECT_EQ(a.lightRays.size(), 8u);
  // Bubbles in flight vanish; the clock, timer and pointer are left alone.
  EXPECT_TRUE(a.bubbles.empty());
  EXPECT_EQ(a.bubbleTimer, 0.12f);
  EXPECT_EQ(a.elapsed, 3.0f);
  EXPECT_EQ(a.pointerX, 10.0f);
  EXPECT_TRUE(a.pointerKnown);
  // Species are added in ascending order.
  for (size_t i = 1; i < a.creatures.size(); ++i)
    EXPECT_LE(a.creatures[i - 1].species, a.creatures[i].species);
}

TEST(Population, FillsUpWithEnabledSpeciesOnly) {
  const Aquarium sharks = Populated(CountsOnly({{kShark, 3}}, 10));
  ASSERT_EQ(sharks.creatures.size(), 10u);
  for (const Creature& c : sharks.creatures) {
    EXPECT_EQ(c.species, kShark);
    EXPECT_EQ(c.color1, 0x4682B4u);
  }

  const Aquarium mixed = Populated(CountsOnly({{kClownfish, 1}, {kGuppy, 4}}, 25));
  ASSERT_EQ(mixed.creatures.size(), 25u);
  EXPECT_EQ(CountOf(mixed, kClownfish) + CountOf(mixed, kGuppy), 25);
  // Twenty fill-up picks, each species equally likely whatever its count.
  EXPECT_GT(CountOf(mixed, kClownfish), 3);
  EXPECT_GT(CountOf(mixed, kGuppy) - 4, 3);
}

TEST(Population, TotalIsClampedAndLargerSumsAreHonoured) {
  EXPECT_EQ(Populated(CountsOnly({{kGoldfish, 2}}, 3)).creatures.size(), 5u);
  EXPECT_EQ(Populated(CountsOnly({{kGoldfish, 10}}, 100)).creatures.size(), 60u);
  EXPECT_EQ(Populated(CountsOnly({{kGoldfish, 40}, {kCrab, 30}}, 60)).creatures.size(), 70u);
  EXPECT_EQ(Populated(CountsOnly({{kEel, -4}, {kCrab, 6}}, 5)).creatures.size(), 6u);

  for (int total : {0, 5, 28, 60, 1000}) {
    const Aquarium a = Populated(CountsOnly({}, total));
    ASSERT_EQ(a.creatures.size(), 1u) << "total " << total;
    const Creature& c = a.creatures[0];
    EXPECT_EQ(c.species, kTropicalFish);
    EXPECT_EQ(c.color1, 0xFF6B35u);
    EXPECT_EQ(c.color2, 0xFFD23Fu);
    EXPECT_EQ(c.color3, 0xFFFFFFu);
  }
}

TEST(Population, CreaturesStartInTheirBands) {
  Settings all;
  for (int& n : all.speciesCounts) n = 3;
  for (uint32_t seed = 1; seed <= 20; ++seed) {
    const Aquarium a = Populated(all, seed);
    ASSERT_EQ(a.creatures.size(), 60u);
    for (const Creature& c : a.creatures) {
      float top = 0.12f * kH, bottom = 0.82f * kH;
      if (c.species >= kEel) {
        top = kH * 0.82f;
        bottom = kH * 0.88f;
      } else if (c.species == kJellyfish) {
        top = 0.1f * kH;
        bottom = 0.5f * kH;
      }
      EXPECT_GE(c.y, top) << int(c.species);
      EXPECT_LE(c.y, bottom) << int(c.species);
      EXPECT_GE(c.targetY, 0.12f * kH);
      EXPECT_LE(c.targetY, 0.82f * kH);
      EXPECT_GE(c.x, 0.05f * kW);
      EXPECT_LE(c.x, 0.95f * kW);
      EXPECT_GE(c.depth, 0.4f);
      EXPECT_LE(c.depth, 1.0f);
      EXPECT_EQ(std::abs(c.vx), c.cruiseSpeed);
      EXPECT_EQ(c.lastVx, c.vx);
      EXPECT_EQ(c.vy, 0.0f);
      EXPECT_EQ(c.tilt, 0.0f);
      EXPECT_GE(c.retargetTimer, 1.0f);
      EXPECT_LE(c.retargetTimer, 4.0f);
    }
  }
}

// The first creature of a default aquarium, worked out from the raw generator
// sequence in the documented order of draws.
TEST(Population, FirstCreatureFollowsTheDrawOrder) {
  const uint32_t seed = 20240607;
  const Aquarium a = Populated(Settings(), seed);

  CrtSequence crt{seed};
  const int row = crt.Next() % 4;  // Tropical Fish has four rows: 0..3
  const SpeciesVariant& v = kSpeciesVariants[row];
  const float W = kW, H = kH;
  const float x = crt.Uniform(0.05f * W, 0.95f * W);
  const float y0 = crt.Uniform(0.12f * H, 0.82f * H);
  const float dir = crt.Next() % 2 ? -1.0f : 1.0f;
  const float speed = crt.Uniform(v.speedMin, v.speedMax);
  const float s = crt.Uniform(v.sizeMin, v.sizeMax);
  const float swimPhase = crt.Uniform(0, 6.28f);
  const float swimRate = crt.Uniform(4, 9);
  const float depth = crt.Uniform(0.4f, 1.0f);
  const float pulsePhase = crt.Uniform(0, 6.28f);
  const float pacePhase = crt.Uniform(0, 6.28f);
  const float retarget = crt.Uniform(1, 4);

  const Creature& c = a.creatures[0];
  EXPECT_EQ(c.species, kTropicalFish);
  EXPECT_EQ(c.color1, v.color1);
  EXPECT_EQ(c.pattern, v.pattern);
  EXPECT_EQ(c.x, x);
  EXPECT_EQ(c.y, y0);
  EXPECT_EQ(c.targetY, y0);
  EXPECT_EQ(c.vx, speed * dir);
  EXPECT_EQ(c.cruiseSpeed, speed);
  EXPECT_EQ(c.size, s * (0.6f + 0.6f * depth));
  EXPECT_EQ(c.swimPhase, swimPhase);
  EXPECT_EQ(c.swimRate, swimRate);
  EXPECT_EQ(c.depth, depth);
  EXPECT_EQ(c.pulsePhase, pulsePhase);
  EXPECT_EQ(c.pacePhase, pacePhase);
  EXPECT_EQ(c.retargetTimer, retarget);

  // The second creature starts right after: its row index is the next draw.
  EXPECT_EQ(a.creatures[1].color1, kSpeciesVariants[crt.Next() % 4].color1);
}

// A crab's extra draw comes after all the common ones.
TEST(Population, BottomDwellerDrawsItsDepthLast) {
  const uint32_t seed = 4242;
  const Aquarium a = Populated(CountsOnly({{kCrab, 1}}, 5), seed);
  CrtSequence crt{seed};
  const int row = crt.Next() % 2;
  for (int i = 0; i < 11; ++i) crt.Next();
  const float y = float(kH) * crt.Uniform(0.82f, 0.88f);
  EXPECT_EQ(a.creatures[0].color1, kSpeciesVariants[34 + row].color1);
  EXPECT_EQ(a.creatures[0].y, y);
}

// With every species off, the fallback creature takes eleven draws and the
// scenery follows in a fixed order: plants, corals, starfish, light rays.
TEST(Population, SceneryFollowsTheDrawOrder) {
  const uint32_t seed = 777;
  const Aquarium a = Populated(CountsOnly({}, 28), seed);
  CrtSequence crt{seed};
  for (int i = 0; i < 11; ++i) crt.Next();
  const float W = kW, H = kH;
  const uint32_t plantColors[] = {0x2E8B57, 0x228B22, 0x3CB371, 0x20B2AA, 0x556B2F, 0x6B8E23};
  const uint32_t coralColors[] = {0xFF69B4, 0xFF6347, 0xFFD700, 0xFF4500, 0xDA70D6, 0xF0E68C, 0xCD5C5C};
  const uint32_t starfishColors[] = {0xFF6347, 0xFFD700, 0xDA70D6, 0xF0E68C};
  for (int i = 0; i < 9; ++i) {
    const PlantClump& p = a.plants[size_t(i)];
    EXPECT_EQ(p.x, (0.03f + float(i) * 0.94f / 9.0f) * W + crt.Uniform(-15, 15));
    EXPECT_EQ(p.height, crt.Uniform(0.1f * H, 0.3f * H));
    EXPECT_EQ(p.width, crt.Uniform(6, 18));
    EXPECT_EQ(p.swayPhase, crt.Uniform(0, 6.28f));
    EXPECT_EQ(p.swayRate, crt.Uniform(0.6f, 2.0f));
    EXPECT_EQ(p.blades, 4 + int(3.0f * (float(crt.Next()) / 32767.0f)));
    EXPECT_EQ(p.color, plantColors[i % 6]);
  }
  for (int i = 0; i < 7; ++i) {
    const Coral& c = a.corals[size_t(i)];
    EXPECT_EQ(c.x, (0.08f + float(i) * 0.84f / 7.0f) * W + crt.Uniform(-20, 20));
    EXPECT_EQ(c.y, 0.9f * H + crt.Uniform(-10, 5));
    EXPECT_EQ(c.size, crt.Uniform(18, 40));
    EXPECT_EQ(c.phase, crt.Uniform(0, 6.28f));
    EXPECT_EQ(c.color, coralColors[i]);
    EXPECT_EQ(c.kind, i % 4);
  }
  for (int i = 0; i < 4; ++i) {
    const Starfish& s = a.starfish[size_t(i)];
    EXPECT_EQ(s.x, (0.15f + float(i) * 0.175f) * W + crt.Uniform(-30, 30));
    EXPECT_EQ(s.y, 0.93f * H + crt.Uniform(-8, 3));
    EXPECT_EQ(s.size, crt.Uniform(14, 24));
    EXPECT_EQ(s.rotation, crt.Uniform(0, 6.28f));
    EXPECT_EQ(s.color, starfishColors[i]);
  }
  for (int i = 0; i < 8; ++i) {
    const LightRay& r = a.lightRays[size_t(i)];
    EXPECT_EQ(r.x, (0.05f + float(i) * 0.9f / 7.0f) * W + crt.Uniform(-20, 20));
    EXPECT_EQ(r.width, crt.Uniform(40, 110));
    EXPECT_EQ(r.slant, crt.Uniform(-0.15f, 0.15f));
    EXPECT_EQ(r.phase, crt.Uniform(0, 6.28f));
    EXPECT_EQ(r.rate, crt.Uniform(0.2f, 0.6f));
    EXPECT_EQ(r.intensity, crt.Uniform(8, 20));
  }
}
