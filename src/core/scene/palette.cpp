#include "scene/palette.h"

ScenePalette PaletteForTheme(int theme) {
  return ThemeRowOf(theme).colours;
}

uint8_t SurfaceGlowAlpha(int theme) {
  return ThemeRowOf(theme).surfaceGlowAlpha;
}
