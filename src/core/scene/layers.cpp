// The layer table: each layer's drawing with the rows its shapes can reach,
// worked out where the shapes are made (backdrop.cpp, scenery.cpp), so that
// a band of the kept background draws only what reaches it.
#include "scene/layers.h"

#include <iterator>

using namespace draw;

namespace {

void Water(Graphics& g, const LayerFrame& f, RowWindow) {
  DrawWaterColumn(g, f.palette, f.theme, f.w, f.h);
}

void Ripples(Graphics& g, const LayerFrame& f, RowWindow rows) {
  if (rows.Meets(0.02f * f.h - 4, 0.05f * f.h + 4)) DrawSurfaceRipples(g, f.w, f.h, f.t);
}

void Rays(Graphics& g, const LayerFrame& f, RowWindow) {
  DrawLightRays(g, f.aquarium.lightRays, f.palette.light, f.h, f.t);
}

void Floor(Graphics& g, const LayerFrame& f, RowWindow rows) {
  // The sand's crest lies at most 6 pixels above 0.88 h.
  if (rows.Meets(0.88f * f.h - 8, float(f.h))) DrawSeaFloor(g, f.palette.floor, f.w, f.h, f.t);
}

void Rocks(Graphics& g, const LayerFrame& f, RowWindow rows) {
  // The highest rock reaches 0.92 h - 15.6.
  if (rows.Meets(0.92f * f.h - 20, float(f.h))) DrawRocks(g, f.w, f.h);
}

void SetPieceLayer(Graphics& g, const LayerFrame& f, RowWindow) {
  DrawSetPiece(g, f.theme, f.w, f.h, f.t);
}

void StarfishLayer(Graphics& g, const LayerFrame& f, RowWindow rows) {
  for (const Starfish& star : f.aquarium.starfish) {
    if (rows.Meets(star.y - star.size - 2, star.y + star.size + 2)) DrawStarfish(g, star);
  }
}

void Corals(Graphics& g, const LayerFrame& f, RowWindow rows) {
  for (const Coral& coral : f.aquarium.corals) {
    if (rows.Meets(coral.y - 1.3f * coral.size - 2, coral.y + 0.5f * coral.size + 2))
      DrawCoral(g, coral, f.t);
  }
}

void Plants(Graphics& g, const LayerFrame& f, RowWindow) {
  for (const PlantClump& plant : f.aquarium.plants) DrawPlant(g, plant, f.h);
}

void Bubbles(Graphics& g, const LayerFrame& f, RowWindow) {
  for (const Bubble& bubble : f.aquarium.bubbles) DrawBubble(g, bubble);
}

void Creatures(Graphics& g, const LayerFrame& f, RowWindow) {
  DrawCreaturesInDepthOrder(g, f.aquarium.creatures);
}

void OverlayLayer(Graphics& g, const LayerFrame& f, RowWindow) {
  DrawOverlay(g, f.theme, f.w, f.h, f.t);
}

// The still and background layers come first: the retained frame keeps
// them together as one picture under everything else.
constexpr bool BackgroundFirst(const SceneLayer* layers, int count) {
  bool above = false;
  for (int i = 0; i < count; ++i) {
    const bool background = layers[i].keep == LayerKeep::kStill || layers[i].keep == LayerKeep::kBackground;
    if (background && above) return false;
    above = above || !background;
  }
  for (int i = 0; i < count; ++i) {
    if (layers[i].draw == nullptr) return false;
  }
  return layers[0].keep == LayerKeep::kStill;
}

}  // namespace

constexpr SceneLayer kSceneLayers[kSceneLayerCount] = {
    {"water", LayerKeep::kStill, Water},
    {"ripples", LayerKeep::kBackground, Ripples},
    {"rays", LayerKeep::kBackground, Rays},
    {"floor", LayerKeep::kBackground, Floor},
    {"rocks", LayerKeep::kBackground, Rocks},
    {"set piece", LayerKeep::kBackground, SetPieceLayer},
    {"starfish", LayerKeep::kBackground, StarfishLayer},
    {"corals", LayerKeep::kBackground, Corals},
    {"plants", LayerKeep::kPlants, Plants},
    {"bubbles", LayerKeep::kBubbles, Bubbles},
    {"creatures", LayerKeep::kCreatures, Creatures},
    {"overlay", LayerKeep::kOverlay, OverlayLayer},
};
static_assert(BackgroundFirst(kSceneLayers, kSceneLayerCount),
              "every layer drawn; the water first, then the rest of the background, then the others");

void DrawSceneLayers(Graphics& g, const LayerFrame& frame, const StaticLayer* water) {
  for (const SceneLayer& layer : kSceneLayers) {
    if (layer.keep == LayerKeep::kStill && water != nullptr) {
      DrawStaticLayer(g, *water);
    } else {
      layer.draw(g, frame, RowWindow());
    }
  }
}
