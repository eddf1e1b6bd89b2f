// One frame: the layers of kSceneLayers (backdrop, set piece, scenery,
// depth-sorted creatures and overlay), later ones over earlier ones. Where the graphics' pixels can be
// reached, the frame is drawn straight into them by the toolkit's rasteriser,
// and a caller's SceneCache keeps the water column from frame to frame; the
// native drawing, call by call, stays as the reference.
#include "scene/scene.h"

#include <algorithm>
#include <cmath>

#include "draw/creature.h"
#include "draw/static_layer.h"
#include "scene/layers.h"

using namespace draw;

namespace {

LayerFrame FrameOf(const Aquarium& aquarium, int theme, int width, int height) {
  return {aquarium, theme, PaletteForTheme(theme), width, height, aquarium.elapsed};
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

namespace {

// The frame on the rasteriser where g's pixels can be reached, else on g.
void Render(const Aquarium& aquarium, int theme, Graphics& g, int width, int height, SceneCache* cache,
            float scale) {
  if (width <= 0 || height <= 0 || !(scale >= 1)) return;  // nothing to draw into
  PixelBuffer pixels;
  if (!g.raster && !AccessPixels(g, pixels)) {
    RenderSceneReference(aquarium, theme, g, width, height, scale);
    return;
  }
  Graphics fast = g.raster ? Graphics{} : MakeRasterGraphics(pixels);
  Graphics& raster = g.raster ? g : fast;
  if (scale != 1) {
    // Drawn whole at its own size, larger: no kept water column.
    const uint32_t saved = SaveState(raster);
    Scale(raster, scale, scale);
    DrawSceneLayers(raster,
                    FrameOf(aquarium, theme, AquariumPixels(width, scale), AquariumPixels(height, scale)),
                    nullptr);
    RestoreState(raster, saved);
    if (raster.lastStatus != kStatusOk) g.lastStatus = raster.lastStatus;
    return;
  }
  const StaticLayer* water = nullptr;
  if (cache) {
    if (cache->width != width || cache->height != height || cache->theme != theme) {
      // One pixel more each way: the column half covers the pixels just past it.
      const ScenePalette palette = PaletteForTheme(theme);
      RecordStaticLayer(cache->water, width + 1, height + 1,
                        [&](Graphics& layer) { DrawWaterColumn(layer, palette, theme, width, height); });
      cache->width = width;
      cache->height = height;
      cache->theme = theme;
    }
    if (cache->water.width > 0) water = &cache->water;
  }
  DrawSceneLayers(raster, FrameOf(aquarium, theme, width, height), water);
  // Failed calls are reported where the caller looks for them.
  if (raster.lastStatus != kStatusOk) g.lastStatus = raster.lastStatus;
}

}  // namespace

int AquariumPixels(int pixels, float scale) {
  if (!(scale > 1)) return pixels;
  // A hair below a whole number is that number: 2160 / 1.5 is 1440.
  return std::max(1, int(std::ceil(double(pixels) / scale - 1e-3)));
}

void RenderScene(const Aquarium& aquarium, int theme, Graphics& g, int width, int height, float scale) {
  Render(aquarium, theme, g, width, height, nullptr, scale);
}

void RenderScene(const Aquarium& aquarium, int theme, Graphics& g, int width, int height, SceneCache& cache) {
  Render(aquarium, theme, g, width, height, &cache, 1);
}

void RenderSceneReference(const Aquarium& aquarium, int theme, Graphics& g, int width, int height,
                          float scale) {
  if (width <= 0 || height <= 0 || !(scale >= 1)) return;
  if (scale == 1) {
    DrawSceneLayers(g, FrameOf(aquarium, theme, width, height), nullptr);
    return;
  }
  const uint32_t saved = SaveState(g);
  Scale(g, scale, scale);
  DrawSceneLayers(g, FrameOf(aquarium, theme, AquariumPixels(width, scale), AquariumPixels(height, scale)),
                  nullptr);
  RestoreState(g, saved);
}
