// One complete frame of the aquarium for a theme: water, light, floor, set
// piece, scenery, depth-sorted creatures and the theme's overlay.
#pragma once

#include "draw/toolkit.h"
#include "sim/aquarium.h"

// Any theme outside 2..6 draws like theme 1.
void RenderScene(const Aquarium& aquarium, int theme, Graphics& g, int width, int height);
