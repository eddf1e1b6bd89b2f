#include "sim/creature_tables.h"

const wchar_t* const kSpeciesNames[kSpeciesCount] = {
    L"Tropical Fish", L"Angelfish", L"Clownfish", L"Goldfish",       L"Guppy",
    L"Shark",         L"Ray",       L"Betta",     L"Butterflyfish",  L"Blue Tang",
    L"Lionfish",      L"Jellyfish", L"Seahorse",  L"Pufferfish",     L"Sea Turtle",
    L"Octopus",       L"Eel",       L"Crab",      L"Cleaner Shrimp", L"Hermit Crab",
};

namespace {

using F = SpeciesFamily;

// Each row: family, schools, spawn band, target centre, vertical limits,
// speedVariation, depthSpread, climbGain, holdTime, swimRate base and per
// |vx|, keeps the swim rate drawn at creation.

// Rows shared by whole families.
constexpr SpeciesTraits kSmall = {
    F::kSmallSwimmer, true, 0.12f, 0.82f, 0.45f, 0.06f, 0.92f, 0.3f, 0.3f, 1.2f, 1.5f, 7.0f, 0.3f, false};
constexpr SpeciesTraits kSlow = {
    F::kSlowSwimmer, true, 0.12f, 0.82f, 0.45f, 0.06f, 0.92f, 0.1f, 0.2f, 0.4f, 5.0f, 4.0f, 0.2f, false};
constexpr SpeciesTraits Solitary(SpeciesTraits t) {
  t.schools = false;
  return t;
}
constexpr SpeciesTraits kBottom = {
    F::kBottomDweller, false, 0.82f, 0.88f, 0.85f, 0.80f, 0.92f, 0.15f, 0.25f, 0.5f, 3.0f, 0.0f, 0.0f, true};

}  // namespace

const SpeciesTraits kSpeciesTraits[kSpeciesCount] = {
    kSmall,  // Tropical Fish
    kSlow,   // Angelfish
    kSmall,  // Clownfish
    kSlow,   // Goldfish
    kSmall,  // Guppy
    {F::kShark, false, 0.12f, 0.82f, 0.45f, 0.06f, 0.92f, 0.2f, 0.35f, 0.3f, 6.0f, 5.0f, 0.25f, false},
    {F::kRay, false, 0.12f, 0.82f, 0.75f, 0.65f, 0.9f, 0.12f, 0.15f, 0.35f, 4.0f, 3.0f, 0.0f, false},
    Solitary(kSlow),  // Betta
    kSmall,           // Butterflyfish
    kSmall,           // Blue Tang
    Solitary(kSlow),  // Lionfish
    {F::kJellyfish, false, 0.10f, 0.50f, 0.30f, 0.08f, 0.65f, 0.3f, 0.3f, 0.2f, 5.0f, 1.5f, 0.0f, false},
    {F::kSeahorse, false, 0.12f, 0.82f, 0.45f, 0.06f, 0.92f, 0.4f, 0.15f, 0.3f, 3.0f, 2.0f, 0.0f, false},
    {F::kPufferfish, false, 0.12f, 0.82f, 0.45f, 0.06f, 0.92f, 0.2f, 0.2f, 0.35f, 3.5f, 3.5f, 0.0f, false},
    {F::kSeaTurtle, false, 0.12f, 0.82f, 0.45f, 0.06f, 0.92f, 0.15f, 0.3f, 0.25f, 5.0f, 2.5f, 0.0f, false},
    {F::kOctopus, false, 0.12f, 0.82f, 0.45f, 0.06f, 0.92f, 0.25f, 0.25f, 0.4f, 4.0f, 2.0f, 0.0f, false},
    kBottom,  // Eel
    kBottom,  // Crab
    {F::kBottomDweller, false, 0.82f, 0.88f, 0.85f, 0.75f, 0.9f, 0.15f, 0.25f, 0.5f, 3.0f, 0.0f, 0.0f, true},
    kBottom,  // Hermit Crab
};

const SpeciesVariant kSpeciesVariants[kSpeciesVariantCount] = {
    {kTropicalFish, 0, 0xFF6B35, 0xFFD23F, 0xFFFFFF, 14, 24, 35, 75},
    {kTropicalFish, 1, 0x3FA9F5, 0x7ED321, 0xFFFFFF, 12, 20, 40, 80},
    {kTropicalFish, 2, 0xFF2D55, 0xFFB800, 0xFFFFFF, 16, 26, 30, 65},
    {kTropicalFish, 0, 0x9B59B6, 0xF39C12, 0xFFFFFF, 13, 22, 45, 85},
    {kAngelfish, 1, 0xC0C0C0, 0xFFD700, 0x000000, 20, 32, 25, 50},
    {kAngelfish, 0, 0xFF8C00, 0xFFD700, 0x000000, 18, 30, 20, 45},
    {kClownfish, 1, 0xFF6B00, 0xFFFFFF, 0x000000, 12, 18, 50, 90},
    {kGoldfish, 0, 0xFF4500, 0xFF8C00, 0xFFFFFF, 18, 30, 20, 45},
    {kGoldfish, 0, 0xFFFFFF, 0xFF6347, 0xFF0000, 20, 32, 18, 40},
    {kGuppy, 0, 0x808080, 0x00CED1, 0xFFFFFF, 8, 14, 60, 100},
    {kGuppy, 2, 0x696969, 0xFF1493, 0xFFFFFF, 7, 12, 65, 105},
    {kShark, 0, 0x4682B4, 0x5F9EA0, 0xFFFFFF, 28, 42, 40, 70},
    {kRay, 2, 0x8B7355, 0xA0522D, 0x000000, 22, 34, 15, 35},
    {kBetta, 0, 0xDC143C, 0xFF1493, 0xFF69B4, 14, 22, 25, 50},
    {kBetta, 0, 0x0000CD, 0x1E90FF, 0x87CEEB, 13, 20, 28, 55},
    {kBetta, 0, 0x800080, 0xDA70D6, 0xFFB6C1, 15, 24, 22, 48},
    {kButterflyfish, 0, 0xFFD700, 0xFFFFFF, 0x000000, 14, 22, 40, 75},
    {kButterflyfish, 0, 0xF0E68C, 0xFFA500, 0x000000, 12, 20, 45, 80},
    {kBlueTang, 0, 0x1E90FF, 0xFFD700, 0x000000, 14, 22, 50, 90},
    {kLionfish, 1, 0x8B0000, 0xFFF8DC, 0x000000, 18, 28, 20, 40},
    {kLionfish, 1, 0xA0522D, 0xFFE4B5, 0x000000, 16, 26, 22, 45},
    {kJellyfish, 0, 0xFF69B4, 0xFFB6C1, 0xFFFFFF, 16, 28, 10, 25},
    {kJellyfish, 0, 0x87CEEB, 0xADD8E6, 0xFFFFFF, 14, 26, 8, 22},
    {kJellyfish, 0, 0xDDA0DD, 0xE6E6FA, 0xFFFFFF, 18, 30, 12, 28},
    {kSeahorse, 0, 0xFFD700, 0xFFA500, 0x8B4513, 14, 22, 15, 35},
    {kSeahorse, 0, 0x20B2AA, 0x3CB371, 0x006400, 12, 20, 18, 38},
    {kPufferfish, 2, 0xFFD700, 0xFFA500, 0x8B4513, 14, 22, 25, 50},
    {kPufferfish, 2, 0x98FB98, 0x90EE90, 0x228B22, 16, 24, 22, 48},
    {kSeaTurtle, 0, 0x2E8B57, 0x90EE90, 0x8B4513, 32, 48, 12, 28},
    {kSeaTurtle, 0, 0x556B2F, 0x9ACD32, 0x6B8E23, 30, 46, 14, 30},
    {kOctopus, 0, 0xFF4500, 0xFF6347, 0x8B0000, 18, 28, 12, 30},
    {kOctopus, 0, 0x9370DB, 0xBA55D3, 0x4B0082, 16, 26, 14, 32},
    {kEel, 0, 0x2F4F4F, 0x556B2F, 0x000000, 20, 32, 20, 45},
    {kEel, 2, 0x8B4513, 0xA0522D, 0x000000, 18, 30, 22, 48},
    {kCrab, 0, 0xDC143C, 0xB22222, 0x8B0000, 14, 22, 30, 60},
    {kCrab, 0, 0xFF8C00, 0xD2691E, 0x8B4513, 12, 20, 35, 65},
    {kCleanerShrimp, 0, 0xFFFFFF, 0xFFB6C1, 0xFF69B4, 10, 16, 40, 75},
    {kCleanerShrimp, 0, 0xF0FFF0, 0x98FB98, 0x228B22, 9, 15, 45, 80},
    {kHermitCrab, 0, 0xFFA07A, 0xDEB887, 0x8B4513, 14, 22, 20, 45},
    {kHermitCrab, 2, 0xF5DEB3, 0xD2B48C, 0x8B7355, 12, 20, 25, 50},
};

const uint32_t kPlantColors[kPlantColorCount] = {0x2E8B57, 0x228B22, 0x3CB371, 0x20B2AA, 0x556B2F, 0x6B8E23};
const uint32_t kCoralColors[kCoralColorCount] = {0xFF69B4, 0xFF6347, 0xFFD700, 0xFF4500,
                                                 0xDA70D6, 0xF0E68C, 0xCD5C5C};
const uint32_t kStarfishColors[kStarfishColorCount] = {0xFF6347, 0xFFD700, 0xDA70D6, 0xF0E68C};
