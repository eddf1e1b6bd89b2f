// The retained frame: the picture RenderScene draws, put together from kept
// layers so that a frame costs what changed in it, not the whole drawing.
//
//  - background: water, ripples, rays, floor, rocks, set piece, starfish and
//    corals, kept as pixels and drawn again a band of rows per frame (the
//    slow motions of rays, ripples, sand and corals); a band's tiles that came
//    out different are the only ones it changes on screen; the few parts that
//    move faster (sea grass, a pulsing stone) are drawn again every frame;
//  - sprites: each plant and creature drawn by its own figure code into a
//    small picture of its own, drawn again when its pose (swim and pulse
//    phases, tilt, facing, depth, sway) has moved far enough to be seen,
//    and shown every frame at its current position, fractions of a pixel
//    resampled; a creature's shadow and haze, which do not move with its
//    phases, are pictures of their own;
//  - bubbles, drawn as they are, where they are;
//  - the theme's overlay, kept as pixels (and refreshed with the bands).
//
// A frame repaints only the tiles that something touched, last frame or
// this one, and tells which rectangles of the target changed. The target
// must keep the last frame this scene drew into it; a change of size, theme
// or population (a new aquarium) and Invalidate repaint everything.
#pragma once

#include <cstdint>
#include <vector>

#include "draw/compositing.h"
#include "draw/static_layer.h"
#include "draw/toolkit.h"
#include "sim/aquarium.h"

// One kept figure and the pose it was drawn in.
struct SpriteSlot {
  draw::Sprite sprite;
  bool drawn = false;
  float x = 0;  // position drawn at
  float y = 0;
  float phase = 0;  // swim phase, or a plant's sway
  float pulse = 0;
  float tilt = 0;
  float depth = 0;
  float size = 0;
  int species = -1;
  bool facesLeft = false;
  draw::SpritePlacement at;  // this frame's
  draw::PixelRect shown;     // screen pixels it covered in the last frame
};

// A creature's layers, kept apart because they change at different rates:
// the figure with every swim and pulse phase, the haze with the tilt, the
// shadow only with size and depth.
struct CreatureSprites {
  SpriteSlot shadow;
  SpriteSlot figure;
  SpriteSlot haze;
};

// What a frame did, for the bench and the diagnostic line.
struct RetainedFrameStats {
  int spritesDrawn = 0;  // figures drawn again this frame
  int sprites = 0;
  long long pixelsChanged = 0;  // area of `damage`
  bool full = false;            // everything was repainted
  int status = 0;               // the first failed drawing call's status, 0 when none failed
};

struct RetainedScene {
  // How far (pixels) a figure's outline may have moved from the pose it was
  // drawn in before it is drawn again.
  float poseTolerance = 0.5f;

  // What the kept layers belong to; a different key repaints everything.
  int width = 0;
  int height = 0;
  int theme = 0;
  uint64_t records = 0;  // fingerprint of the scenery records: a new aquarium has others
  bool valid = false;

  std::vector<uint32_t> background;  // premultiplied, width x height
  std::vector<uint32_t> overlay;     // premultiplied; empty for themes without one
  std::vector<uint32_t> band;        // one band as drawn again, compared with `background`
  draw::StaticLayer water;           // the water column, which never moves
  int nextBand = 0;

  std::vector<CreatureSprites> creatures;  // by index in aquarium.creatures
  std::vector<SpriteSlot> plants;          // by index in aquarium.plants
  std::vector<draw::PixelRect> bubbles;    // screen rectangles of last frame's bubbles
  std::vector<draw::PixelRect> fast;       // parts of the background drawn again every frame

  // Tiles touched this frame, kTile pixels square, row by row.
  std::vector<uint8_t> dirty;
  int tilesX = 0;
  int tilesY = 0;

  // This frame's changed rectangles of the target, disjoint.
  std::vector<draw::PixelRect> damage;
  RetainedFrameStats stats;
};

constexpr int kRetainedTile = 16;
// Tile rows drawn again per frame: the background is all new every
// ceil(height / (32 * 4)) frames, nine at 1080 rows.
constexpr int kBandTileRows = 8;

// Draws the frame into `target` (32-bit premultiplied, the size of the
// window), from the layers kept in `scene`.
void RenderSceneRetained(const Aquarium& aquarium, int theme, const draw::PixelBuffer& target,
                         RetainedScene& scene);
// The same, on a graphics whose pixels can be reached (AccessPixels); on one
// whose pixels cannot, the exact drawing.
void RenderSceneRetained(const Aquarium& aquarium, int theme, draw::Graphics& g, int width, int height,
                         RetainedScene& scene);
// The next frame repaints everything and draws every kept layer again.
void InvalidateRetainedScene(RetainedScene& scene);
// Bytes the kept layers hold.
size_t RetainedSceneBytes(const RetainedScene& scene);
