// One complete frame of the aquarium for a theme: water, light, floor, set
// piece, scenery, depth-sorted creatures and the theme's overlay.
#pragma once

#include "draw/toolkit.h"
#include "sim/aquarium.h"

// Any theme outside 2..6 draws like theme 1. Where AccessPixels reaches the
// pixels under `g` (a QImage, a 32-bit DIB section), the frame is drawn
// straight into them by the toolkit's rasteriser; otherwise by g's backend.
void RenderScene(const Aquarium& aquarium, int theme, Graphics& g, int width, int height);

// The same frame drawn by g's own backend call by call: the reference the
// fast drawing is measured and checked against.
void RenderSceneReference(const Aquarium& aquarium, int theme, Graphics& g, int width, int height);
