// One frame: palette, backdrop, set piece, scenery, depth-sorted creatures and
// overlay, later layers over earlier ones. Nothing is kept between frames.
// Where the graphics' pixels can be reached, the frame is drawn straight into
// them by the toolkit's rasteriser; the native drawing stays as the reference.
#include "scene/scene.h"

#include <algorithm>
#include <cmath>

#include "draw/creature.h"
#include "scene/layers.h"

namespace {

// The layers, in order, on whichever graphics draws them.
void DrawFrame(const Aquarium& aquarium, int theme, Graphics& g, int width, int height) {
  const ScenePalette palette = PaletteForTheme(theme);
  const double t = aquarium.elapsed;

  DrawWater(g, palette, theme, width, height, t);
  DrawLightRays(g, aquarium.lightRays, palette.light, height, t);
  DrawSeaFloor(g, palette.floor, width, height, t);
  DrawRocks(g, width, height);
  DrawSetPiece(g, theme, width, height, t);
  DrawScenery(g, aquarium, height);
  DrawCreaturesInDepthOrder(g, aquarium.creatures);
  DrawOverlay(g, theme, width, height, t);
}

// NaN sorts as the farthest value so that a corrupt record cannot break the
// sort's ordering contract.
float SortKey(float v) {
  return std::isnan(v) ? -INFINITY : v;
}

}  // namespace

std::vector<const Creature*> DepthOrder(const std::vector<Creature>& creatures) {
  std::vector<const Creature*> order;
  order.reserve(creatures.size());
  for (const Creature& c : creatures) order.push_back(&c);
  std::sort(order.begin(), order.end(), [](const Creature* a, const Creature* b) {
    const float da = SortKey(a->depth), db = SortKey(b->depth);
    return da < db || (da == db && SortKey(a->y) < SortKey(b->y));
  });
  return order;
}

void DrawCreaturesInDepthOrder(Graphics& g, const std::vector<Creature>& creatures) {
  for (const Creature* c : DepthOrder(creatures)) DrawCreature(g, *c);
}

void RenderScene(const Aquarium& aquarium, int theme, Graphics& g, int width, int height) {
  if (width <= 0 || height <= 0) return;  // nothing to draw into
  PixelBuffer pixels;
  if (g.raster || !AccessPixels(g, pixels)) {
    DrawFrame(aquarium, theme, g, width, height);
    return;
  }
  Graphics raster = MakeRasterGraphics(pixels);
  DrawFrame(aquarium, theme, raster, width, height);
  // Failed calls are reported where the caller looks for them.
  if (raster.lastStatus != kStatusOk) g.lastStatus = raster.lastStatus;
}

void RenderSceneReference(const Aquarium& aquarium, int theme, Graphics& g, int width, int height) {
  if (width <= 0 || height <= 0) return;
  DrawFrame(aquarium, theme, g, width, height);
}
