// One frame: palette, backdrop, set piece, scenery, depth-sorted creatures and
// overlay, later layers over earlier ones. Nothing is kept between frames.
#include "scene/scene.h"

#include <algorithm>
#include <cmath>

#include "draw/creature.h"
#include "scene/layers.h"

namespace {

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
