// The layers of a frame, in the order both renderers draw them: the table
// kSceneLayers, which the exact drawing (RenderScene) walks shape by shape
// and the retained frame walks keeping each layer its own way. The single
// layers are exposed so that tests and the benchmark can reach them. w and h
// are the back buffer's size in pixels, t the aquarium's clock in seconds.
#pragma once

#include <vector>

#include "base/themes.h"
#include "draw/compositing.h"
#include "draw/toolkit.h"
#include "scene/palette.h"
#include "sim/aquarium.h"

// What every layer of one frame is drawn from.
struct LayerFrame {
  const Aquarium& aquarium;
  int theme;
  ScenePalette palette;
  int w;
  int h;
  double t;
};

// The rows of the window a drawing must cover: what lies wholly outside them
// (with two pixels to spare for anti-aliasing) may be left out. The default
// window is the whole frame, where nothing is left out.
struct RowWindow {
  bool all = true;
  float top = 0;
  float bottom = 0;
  static RowWindow Rows(float top, float bottom) { return {false, top, bottom}; }
  bool Meets(float shapeTop, float shapeBottom) const {
    return all || (shapeBottom >= top - 2 && shapeTop <= bottom + 2);
  }
};

// How the retained frame keeps a layer.
enum class LayerKeep : uint8_t {
  kStill,       // does not move while size and theme stay: drawn once and kept
  kBackground,  // kept as pixels, drawn again a band of rows per frame
  kPlants,      // a sprite per plant, drawn again when its sway moved it
  kBubbles,     // drawn where they are, every frame
  kCreatures,   // sprites per creature (shadow, figure, haze), in depth order
  kOverlay,     // kept as pixels over everything else
};

struct SceneLayer {
  const char* name;
  LayerKeep keep;
  void (*draw)(draw::Graphics& g, const LayerFrame& frame, RowWindow rows);
};

constexpr int kSceneLayerCount = 12;
extern const SceneLayer kSceneLayers[kSceneLayerCount];
// Every layer of one frame, in order, onto g; the water column from `water`
// where a kept copy of it is given.
void DrawSceneLayers(draw::Graphics& g, const LayerFrame& frame, const draw::StaticLayer* water);

// Backdrop shared by every theme (backdrop.cpp).
// Water: the column (gradient, mid-water band, surface glow), then the ripples.
void DrawWater(draw::Graphics& g, const ScenePalette& palette, int theme, int w, int h, double t);
void DrawWaterColumn(draw::Graphics& g, const ScenePalette& palette, int theme, int w, int h);
void DrawSurfaceRipples(draw::Graphics& g, int w, int h, double t);
void DrawLightRays(draw::Graphics& g, const std::vector<LightRay>& rays, draw::Color light, int h, double t);
void DrawSeaFloor(draw::Graphics& g, draw::Color floor, int w, int h, double t);
void DrawRocks(draw::Graphics& g, int w, int h);

// The theme's set piece over the rocks, and its overlay over the creatures
// (set_pieces.cpp, overlays.cpp). Themes without one draw nothing.
void DrawSetPiece(draw::Graphics& g, int theme, int w, int h, double t);
void DrawOverlay(draw::Graphics& g, int theme, int w, int h, double t);
// The boxes of the theme's set piece that move faster than the kept
// background's bands come round (the sea grass, the glowing stone), with a
// margin: the retained frame draws them again every frame.
void SetPieceFastParts(int theme, int w, int h, std::vector<draw::PixelRect>& parts);
// The rows [top, bottom) the theme's overlay covers; (0, 0) without one.
void OverlayRows(int theme, int h, int& top, int& bottom);

// Scenery records (scenery.cpp).
void DrawStarfish(draw::Graphics& g, const Starfish& star);
void DrawCoral(draw::Graphics& g, const Coral& coral, double t);
void DrawPlant(draw::Graphics& g, const PlantClump& plant, int h);
void DrawBubble(draw::Graphics& g, const Bubble& bubble);
// All starfish, corals, plants and bubbles, each list in its own order.
void DrawScenery(draw::Graphics& g, const Aquarium& aquarium, int h);

// Creatures (scene.cpp): far ones first, at equal depth the upper one first.
// The list itself keeps its order.
std::vector<const Creature*> DepthOrder(const std::vector<Creature>& creatures);
void DrawCreaturesInDepthOrder(draw::Graphics& g, const std::vector<Creature>& creatures);
