// The layers of a frame, in the order RenderScene draws them. Exposed so that
// tests and the benchmark can reach single layers. w and h are the back
// buffer's size in pixels, t the aquarium's clock in seconds.
#pragma once

#include <vector>

#include "draw/toolkit.h"
#include "scene/palette.h"
#include "sim/aquarium.h"

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
