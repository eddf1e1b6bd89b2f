// One complete frame of the aquarium for a theme: water, light, floor, set
// piece, scenery, depth-sorted creatures and the theme's overlay.
#pragma once

#include "draw/static_layer.h"
#include "draw/toolkit.h"
#include "sim/aquarium.h"

// What a frame keeps for the next one: the water column (gradient, mid-water
// band, surface glow), which does not change while the size and the theme
// stay. Plain data owned by the caller, one per window; the first frame fills
// it, a frame of another size or theme fills it again.
struct SceneCache {
  int width = 0;
  int height = 0;
  int theme = 0;
  draw::StaticLayer water;
};

// The size of an aquarium shown `scale` times larger over `pixels` of the
// screen: rounded up, so that its drawing covers every one of them.
int AquariumPixels(int pixels, float scale);

// Any theme outside 2..6 draws like theme 1. Where AccessPixels reaches the
// pixels under `g` (a QImage, a 32-bit DIB section), the frame is drawn
// straight into them by the toolkit's rasteriser; otherwise by g's backend.
// With a `scale` above 1, width x height are the screen's pixels and the
// aquarium's are AquariumPixels of them, everything drawn that much larger.
void RenderScene(const Aquarium& aquarium, int theme, draw::Graphics& g, int width, int height,
                 float scale = 1);
// The same frame, keeping in `cache` what stays the same from frame to frame.
void RenderScene(const Aquarium& aquarium, int theme, draw::Graphics& g, int width, int height,
                 SceneCache& cache);

// The same frame drawn by g's own backend call by call: the reference the
// fast drawing is measured and checked against.
void RenderSceneReference(const Aquarium& aquarium, int theme, draw::Graphics& g, int width, int height,
                          float scale = 1);
