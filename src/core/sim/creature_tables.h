// The twenty species, the per-species swimming constants, the table of colour
// and size variants the population picks from, and the scenery colours.
#pragma once

#include <cstdint>

#include "settings/settings.h"  // kSpeciesCount

enum SpeciesId : uint8_t {
  kTropicalFish = 0,
  kAngelfish = 1,
  kClownfish = 2,
  kGoldfish = 3,
  kGuppy = 4,
  kShark = 5,
  kRay = 6,
  kBetta = 7,
  kButterflyfish = 8,
  kBlueTang = 9,
  kLionfish = 10,
  kJellyfish = 11,
  kSeahorse = 12,
  kPufferfish = 13,
  kSeaTurtle = 14,
  kOctopus = 15,
  kEel = 16,
  kCrab = 17,
  kCleanerShrimp = 18,
  kHermitCrab = 19,
};

// Display names, indexed by SpeciesId.
extern const wchar_t* const kSpeciesNames[kSpeciesCount];

// The shared code path a species takes in the motion step.
enum class SpeciesFamily : uint8_t {
  kSmallSwimmer,
  kSlowSwimmer,
  kShark,
  kRay,
  kJellyfish,
  kSeahorse,
  kPufferfish,
  kSeaTurtle,
  kOctopus,
  kBottomDweller,
};

// Heights are fractions of the window height.
struct SpeciesTraits {
  SpeciesFamily family;
  bool schools;
  float spawnTop, spawnBottom;  // start band
  float targetCentre;           // the depth the wandering target is centred on
  float limitTop, limitBottom;  // hard vertical limits after every step
  float speedVariation;         // amplitude of the cruise-speed modulation
  float depthSpread;            // target drawn within centre +- spread
  float climbGain;              // vertical steering gain
  float holdTime;               // mean seconds between new targets
  float swimRateBase;           // swimRate = base + perSpeed * |vx| ...
  float swimRatePerSpeed;
  bool keepsSwimRate;  // ... unless the rate drawn at creation is kept
};

extern const SpeciesTraits kSpeciesTraits[kSpeciesCount];

// One colour-and-size variant of a species. Row order matters: the
// population picks among a species' rows by their index in this order.
struct SpeciesVariant {
  uint8_t species;                  // SpeciesId
  uint8_t pattern;                  // 0 plain, 1 bands, 2 spots
  uint32_t color1, color2, color3;  // 0x00RRGGBB
  float sizeMin, sizeMax;           // px
  float speedMin, speedMax;         // px/s
};

constexpr int kSpeciesVariantCount = 40;
extern const SpeciesVariant kSpeciesVariants[kSpeciesVariantCount];

// Scenery colours, 0x00RRGGBB.
constexpr int kPlantColorCount = 6;
constexpr int kCoralColorCount = 7;
constexpr int kStarfishColorCount = 4;
extern const uint32_t kPlantColors[kPlantColorCount];
extern const uint32_t kCoralColors[kCoralColorCount];
extern const uint32_t kStarfishColors[kStarfishColorCount];
