#include "scene/palette.h"

using namespace draw;

ScenePalette PaletteForTheme(int theme) {
  switch (theme) {
    case 2:  // Deep Sea Aquarium
      return {0xFF0A1E50, 0xFF020819, 0xFF051232, 0xFF1E1914, 0x1478B4FF};
    case 3:  // Koi Pond
      return {0xFF87CEEB, 0xFF1E646E, 0xFF40A4B4, 0xFFB49664, 0x28FFFFDC};
    case 4:  // Coral Reef
      return {0xFF3CC8AA, 0xFF0A5041, 0xFF199678, 0xFFDCC896, 0x28B4FFDC};
    case 5:  // Shipwreck
      return {0xFF324637, 0xFF0C140F, 0xFF1E2D23, 0xFF5A462D, 0x1478643C};
    case 6:  // Ancient Ruins
      return {0xFF503C8C, 0xFF140C32, 0xFF2D1E5A, 0xFF504155, 0x1EC8A0C8};
    default:  // Tropical Aquarium, and every unknown value
      return {0xFF40A4DF, 0xFF0A3264, 0xFF1964AA, 0xFFC2B280, 0x23B4DCFF};
  }
}

uint8_t SurfaceGlowAlpha(int theme) {
  return theme == 3 ? 0x64 : 0x3C;
}
