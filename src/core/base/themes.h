// The six scenes, one row each: what names a scene (its number, its menu
// text and command, its hot key, the command line's digit) and what draws it
// (colours, set piece, overlay). Everything that offers, stores, chooses or
// draws a scene reads it from here.
#pragma once

#include <cstdint>

// The set piece a scene stands over the rocks, and the overlay it lays over
// the creatures; the scene floor draws each (scene/layers.h).
enum class SetPiece : uint8_t { kNone, kCoralReef, kShipwreck, kAncientRuins };
constexpr int kSetPieceCount = 4;
enum class Overlay : uint8_t { kNone, kDeepSeaTint, kKoiRipples };
constexpr int kOverlayCount = 3;

// The water's five colours, 32-bit ARGB. Only the RGB of `light` is used:
// each light ray brings its own alpha.
struct ThemeColours {
  uint32_t waterTop = 0;
  uint32_t waterBottom = 0;
  uint32_t midWater = 0;
  uint32_t floor = 0;
  uint32_t light = 0;
};

struct ThemeRow {
  int id;                // the scene's number: stored, offered, chosen
  const wchar_t* name;   // as the menus show it
  unsigned menuCommand;  // the Windows tray menu's command id
  char hotkeyDigit;      // Ctrl+Shift+digit; 0: none
  bool onCommandLine;    // the Windows command line's digit (its id) selects it
  ThemeColours colours;
  uint8_t surfaceGlowAlpha;
  SetPiece setPiece;
  Overlay overlay;
};

constexpr int kThemeCount = 6;
// Colours as #AARRGGBB. The light colour's alpha bytes are never read.
inline constexpr ThemeRow kThemes[kThemeCount] = {
    {1,
     L"Tropical Aquarium",
     1001,
     '1',
     false,
     {0xFF40A4DF, 0xFF0A3264, 0xFF1964AA, 0xFFC2B280, 0x23B4DCFF},
     0x3C,
     SetPiece::kNone,
     Overlay::kNone},
    {2,
     L"Deep Sea Aquarium",
     1002,
     '2',
     true,
     {0xFF0A1E50, 0xFF020819, 0xFF051232, 0xFF1E1914, 0x1478B4FF},
     0x3C,
     SetPiece::kNone,
     Overlay::kDeepSeaTint},
    {3,
     L"Koi Pond",
     1003,
     '3',
     true,
     {0xFF87CEEB, 0xFF1E646E, 0xFF40A4B4, 0xFFB49664, 0x28FFFFDC},
     0x64,
     SetPiece::kNone,
     Overlay::kKoiRipples},
    {4,
     L"Coral Reef",
     1008,
     0,
     false,
     {0xFF3CC8AA, 0xFF0A5041, 0xFF199678, 0xFFDCC896, 0x28B4FFDC},
     0x3C,
     SetPiece::kCoralReef,
     Overlay::kNone},
    {5,
     L"Shipwreck",
     1009,
     0,
     false,
     {0xFF324637, 0xFF0C140F, 0xFF1E2D23, 0xFF5A462D, 0x1478643C},
     0x3C,
     SetPiece::kShipwreck,
     Overlay::kNone},
    {6,
     L"Ancient Ruins",
     1010,
     0,
     false,
     {0xFF503C8C, 0xFF140C32, 0xFF2D1E5A, 0xFF504155, 0x1EC8A0C8},
     0x3C,
     SetPiece::kAncientRuins,
     Overlay::kNone},
};

// Row i holds scene i + 1: a scene's row is found by its number, and a row
// left out of the table is caught here.
constexpr bool ThemeRowsInOrder() {
  for (int i = 0; i < kThemeCount; ++i) {
    if (kThemes[i].id != i + 1 || kThemes[i].name == nullptr) return false;
  }
  return true;
}
static_assert(ThemeRowsInOrder(), "one row per scene, in the order of their numbers");

// Whether `id` names a scene (1..6). Any other value draws nothing on the
// desktop and is never stored.
bool IsTheme(int id);
// The row of scene `id`; the first scene's for any other value, which draws
// like it.
const ThemeRow& ThemeRowOf(int id);
// The scene a Windows menu command chooses; 0 for any other command.
int ThemeOfMenuCommand(unsigned command);
// The scene Ctrl+Shift+digit chooses; 0 for a digit without one.
int ThemeOfHotkeyDigit(char digit);
