// The retained frame: the picture RenderScene draws, put together from kept
// layers so that a frame costs what changed in it, not the whole drawing.
// Each layer of the layer table (scene/layers.h) is kept its own way:
//
//  - background (water through corals): kept as pixels and drawn again a band
//    of rows per frame (the slow motions of rays, ripples, sand and corals);
//    a band's tiles that came out different are the only ones it changes on
//    screen; the few parts of a set piece that move faster (sea grass, a
//    pulsing stone) are drawn again every frame;
//  - plants and creatures: each drawn by its own figure code into a small
//    picture of its own, drawn again when its pose (swim and pulse phases,
//    tilt, facing, depth, sway) has moved far enough to be seen, and shown
//    every frame at its current position, fractions of a pixel resampled; a
//    creature's shadow and haze, which do not move with its phases, are
//    pictures of their own;
//  - bubbles, drawn as they are, where they are;
//  - the theme's overlay, kept as pixels (and refreshed with the bands).
//
// A frame is planned (what is drawn again, and why), drawn into the kept
// layers, and composed: only the tiles that something touched, last frame or
// this one, are painted again into the target, and their rectangles are what
// the frame returns. The target must keep the last frame this scene drew into
// it; a change of size, theme or population (a new aquarium) and
// InvalidateRetainedScene repaint everything.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "draw/compositing.h"
#include "draw/toolkit.h"
#include "sim/aquarium.h"

// The kept layers, opaque: made by MakeRetainedScene, one per target.
struct RetainedScene;
struct RetainedSceneDeleter {
  void operator()(RetainedScene* scene) const;
};
using RetainedScenePtr = std::unique_ptr<RetainedScene, RetainedSceneDeleter>;
RetainedScenePtr MakeRetainedScene();

// Why a kept picture (a plant, or a creature's shadow, figure or haze) was
// drawn again.
enum class RedrawReason : uint8_t {
  kNew,     // it had not been drawn (a new aquarium, a new creature)
  kSize,    // its size, depth or species changed
  kFacing,  // it turned round
  kPose,    // its swim or pulse phases moved its outline
  kTilt,    // its tilt moved its outline
  kSway,    // a plant swayed
};
constexpr int kRedrawReasonCount = 6;
const char* RedrawReasonName(RedrawReason reason);

// Why a frame painted everything afresh.
enum class RepaintReason : uint8_t {
  kNone,      // only what changed
  kFirst,     // nothing was kept yet, or the caller asked for it
  kSize,      // the target has another size
  kTheme,     // another scene
  kAquarium,  // another aquarium (new records)
};

// What a frame did, for the bench and the diagnostic line.
struct RetainedFrameStats {
  int sprites = 0;                       // plants and creatures
  int spritesDrawn = 0;                  // plants and creature figures drawn again
  int redrawn[kRedrawReasonCount] = {};  // every kept picture drawn again, by reason
  int backgroundRows = 0;                // rows of the background drawn again (bands, fast parts)
  long long pixelsChanged = 0;           // area of the changed rectangles
  // The rasteriser's share: shapes filled for the kept pictures and bands
  // (a stroke is one), and their edges; then each stage's time.
  int shapes = 0;
  int edges = 0;
  double planMs = 0;     // deciding what is drawn again
  double drawMs = 0;     // drawing it into the kept layers
  double composeMs = 0;  // painting the changed rectangles from the kept layers
  RepaintReason repaint = RepaintReason::kNone;
  int status = 0;  // the first failed drawing call's status, 0 when none failed
};

struct RetainedFrame {
  // The rectangles of the target this frame changed: disjoint, top to bottom.
  std::vector<draw::PixelRect> changed;
  RetainedFrameStats stats;
};

constexpr int kRetainedTile = 16;
// Tile rows drawn again per frame: the background is all new every
// ceil(height / (16 * 8)) frames, nine at 1080 rows.
constexpr int kBandTileRows = 8;

// Draws the frame into `target` (32-bit premultiplied, the size of the
// window) from the layers kept in `scene`. The result stays valid until the
// scene's next frame. With a `scale` above 1 the aquarium is that many times
// smaller than the target (AquariumPixels) and everything of it is drawn that
// many times larger; its changed rectangles are the target's.
const RetainedFrame& RenderSceneRetained(const Aquarium& aquarium, int theme, const draw::PixelBuffer& target,
                                         RetainedScene& scene, float scale = 1);
// The same, on a graphics whose pixels can be reached (AccessPixels); on one
// whose pixels cannot, the exact drawing, all of it changed.
const RetainedFrame& RenderSceneRetained(const Aquarium& aquarium, int theme, draw::Graphics& g, int width,
                                         int height, RetainedScene& scene, float scale = 1);
// The next frame repaints everything and draws every kept layer again.
void InvalidateRetainedScene(RetainedScene& scene);
// How far (pixels) a figure's outline may move from the pose it was drawn in
// before it is drawn again; 0.5 unless set.
void SetPoseTolerance(RetainedScene& scene, float pixels);
// Bytes the kept layers hold.
size_t RetainedSceneBytes(const RetainedScene& scene);
// The kept background's pixels (premultiplied, the target's size), for tests.
const std::vector<uint32_t>& RetainedBackground(const RetainedScene& scene);
