// The program's own small pictures: the application icon (an orange fish on
// a blue badge) and the flat species icons of the settings window, each on
// its rounded tile. Portable figures over the toolkit; the Win32 side only
// supplies the surface.
#pragma once

#include "draw/toolkit.h"

namespace draw {

// Clears the surface to transparent and paints the application icon for an
// N x N pixel bitmap. All geometry scales with N except the badge's 2-pixel inset.
void DrawAppIconFigure(Graphics& g, int N);

// The flat figure of one species (0..19) centred in the rectangle (left, top,
// a, b). Any other species value draws nothing.
void DrawSpeciesIcon(Graphics& g, int species, int left, int top, int a, int b);

// A species icon window's whole client area (w x h): the rounded pale-blue
// tile, its outline, and the species figure inset by 4 pixels.
void DrawSpeciesTile(Graphics& g, int species, int w, int h);

}  // namespace draw
