// The five colours of a theme, chosen at the start of every frame.
#pragma once

#include <cstdint>

#include "draw/toolkit.h"

struct ScenePalette {
  draw::Color waterTop = 0;
  draw::Color waterBottom = 0;
  draw::Color midWater = 0;
  draw::Color floor = 0;
  draw::Color light = 0;  // only its RGB is used: each ray brings its own alpha
};

// Any theme outside 2..6 takes theme 1's row.
ScenePalette PaletteForTheme(int theme);

// An RGB value with red, green and blue each scaled by k (truncated).
constexpr draw::Color Darkened(uint32_t rgb, double k, uint8_t alpha) {
  return draw::Argb(alpha, uint8_t(draw::RedOf(rgb) * k), uint8_t(draw::GreenOf(rgb) * k),
                    uint8_t(draw::BlueOf(rgb) * k));
}

// Alpha of the white surface glow: Koi Pond shines brighter.
uint8_t SurfaceGlowAlpha(int theme);
