// The five colours of a theme, chosen at the start of every frame from the
// theme's row (base/themes.h).
#pragma once

#include <cstdint>

#include "base/themes.h"
#include "draw/toolkit.h"

using ScenePalette = ThemeColours;

// Any theme outside 2..6 takes theme 1's row.
ScenePalette PaletteForTheme(int theme);

// An RGB value with red, green and blue each scaled by k (truncated).
constexpr draw::Color Darkened(uint32_t rgb, double k, uint8_t alpha) {
  return draw::Argb(alpha, uint8_t(draw::RedOf(rgb) * k), uint8_t(draw::GreenOf(rgb) * k),
                    uint8_t(draw::BlueOf(rgb) * k));
}

// Alpha of the white surface glow: Koi Pond shines brighter.
uint8_t SurfaceGlowAlpha(int theme);
