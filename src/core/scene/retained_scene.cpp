#include "scene/retained_scene.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <iterator>

#include "base/clock.h"
#include "draw/creature.h"
#include "scene/layers.h"
#include "scene/palette.h"
#include "scene/scene.h"

using namespace draw;

namespace {

// One kept picture and the pose it was drawn in.
struct SpriteSlot {
  Sprite sprite;
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
  bool fresh = false;  // drawn again this frame
  SpritePlacement at;  // this frame's
  PixelRect shown;     // screen pixels it covered in the last frame
};

// A creature's layers, kept apart because they change at different rates:
// the figure with every swim and pulse phase, the haze with the tilt, the
// shadow only with size and depth.
struct CreatureSprites {
  SpriteSlot shadow;
  SpriteSlot figure;
  SpriteSlot haze;
};

// A kept picture to draw again this frame, and why.
struct SpriteJob {
  enum Layer : uint8_t { kShadow, kFigure, kHaze, kPlant } layer;
  size_t record;  // index in aquarium.creatures or aquarium.plants
  RedrawReason reason;
};

struct FramePlan {
  RepaintReason repaint = RepaintReason::kNone;
  std::vector<PixelRect> background;  // background rectangles to draw again
  std::vector<SpriteJob> sprites;
};

}  // namespace

struct RetainedScene {
  float poseTolerance = 0.5f;

  // What the kept layers belong to; a different key repaints everything.
  int width = 0;
  int height = 0;
  float scale = 1;  // the aquarium's pixels to the target's
  int theme = 0;
  uint64_t records = 0;  // fingerprint of the scenery records: a new aquarium has others
  bool valid = false;

  std::vector<uint32_t> background;  // premultiplied, width x height
  std::vector<uint32_t> overlay;     // premultiplied; empty for themes without one
  int overlayTop = 0;                // the target's rows the overlay covers
  int overlayBottom = 0;
  std::vector<uint32_t> band;  // one band as drawn again, compared with the kept layer
  StaticLayer water;           // the water column, which never moves
  int nextBand = 0;

  std::vector<CreatureSprites> creatures;  // by index in aquarium.creatures
  std::vector<SpriteSlot> plants;          // by index in aquarium.plants
  std::vector<PixelRect> bubbles;          // screen rectangles of last frame's bubbles
  std::vector<PixelRect> fast;             // parts of the background drawn again every frame

  // Tiles touched this frame, kRetainedTile pixels square, row by row.
  std::vector<uint8_t> dirty;
  int tilesX = 0;
  int tilesY = 0;

  FramePlan plan;                                 // this frame's, kept so that its lists keep their memory
  RasterScratchPtr raster = MakeRasterScratch();  // lent to every drawing of a frame
  RetainedFrame frame;
};

namespace {

// Sprites larger than this are not kept: a record gone wrong draws nothing.
constexpr int kLargestSprite = 2048;

float PhaseDistance(float a, float b) {
  float d = std::fabs(a - b);
  if (!(d < kPhasePeriod)) d = std::fmod(d, kPhasePeriod);
  return std::min(d, kPhasePeriod - d);
}

uint64_t Mix(uint64_t h, const void* data, size_t n) {
  const auto* p = static_cast<const unsigned char*>(data);
  for (size_t i = 0; i < n; ++i) h = (h ^ p[i]) * 1099511628211ull;
  return h;
}

// The records that never move: a new aquarium (theme, settings, size) has others.
uint64_t RecordsFingerprint(const Aquarium& aq) {
  uint64_t h = 1469598103934665603ull;
  for (const Starfish& s : aq.starfish) h = Mix(h, &s, sizeof s);
  for (const Coral& c : aq.corals) {
    const float f[4] = {c.x, c.y, c.size, c.phase};
    h = Mix(Mix(h, f, sizeof f), &c.color, sizeof c.color);
  }
  for (const PlantClump& p : aq.plants) {
    const float f[3] = {p.x, p.height, p.width};
    h = Mix(Mix(h, f, sizeof f), &p.color, sizeof p.color);
  }
  for (const LightRay& r : aq.lightRays) {
    const float f[4] = {r.x, r.width, r.slant, r.intensity};
    h = Mix(h, f, sizeof f);
  }
  const size_t n = aq.creatures.size();
  return Mix(h, &n, sizeof n);
}

// Keeps the first failed call's status of a graphics the frame drew with.
void NoteStatus(const Graphics& g, int& status) {
  if (status == kStatusOk) status = g.lastStatus;
}

PixelBuffer BufferOf(std::vector<uint32_t>& pixels, int width, int height) {
  return {pixels.data(), width, height, width};
}

void Clear(const PixelBuffer& part) {
  for (int y = 0; y < part.height; ++y) std::fill_n(part.pixels + ptrdiff_t(y) * part.stride, part.width, 0u);
}

// ---- the background ----

// The background layers of the layer table over the rows of `band`, whose
// top left is (x0, y0).
void DrawBackgroundPart(const LayerFrame& frame, const RetainedScene& s, int& status, const PixelBuffer& band,
                        int x0, int y0) {
  Clear(band);
  DrawStaticLayerPart(band, s.water, x0, y0);
  // The water column half covers the first row and column; the exact frame,
  // drawn over the one before, settles there to the water's own colour.
  for (int y = 0; y < band.height; ++y) {
    uint32_t* row = band.pixels + ptrdiff_t(y) * band.stride;
    const int edge = y0 + y == 0 ? band.width : x0 == 0 ? 1 : 0;
    for (int x = 0; x < edge; ++x) {
      const uint32_t p = row[x], a = p >> 24;
      if (a == 0 || a == 255) continue;
      auto up = [a](uint32_t c) { return std::min<uint32_t>(255, (c * 255 + a / 2) / a); };
      row[x] = 0xFF000000u | up((p >> 16) & 0xFF) << 16 | up((p >> 8) & 0xFF) << 8 | up(p & 0xFF);
    }
  }
  Graphics g = MakeRasterGraphics(band, s.raster.get());
  Translate(g, float(-x0), float(-y0));
  if (s.scale != 1) Scale(g, s.scale, s.scale);
  const RowWindow rows = RowWindow::Rows(float(y0) / s.scale, float(y0 + band.height) / s.scale);
  for (const SceneLayer& layer : kSceneLayers) {
    if (layer.keep == LayerKeep::kBackground) layer.draw(g, frame, rows);
  }
  NoteStatus(g, status);
}

void DrawOverlayPart(const LayerFrame& frame, const RetainedScene& s, int& status, const PixelBuffer& band,
                     int x0, int y0) {
  const float scale = s.scale;
  Clear(band);
  Graphics g = MakeRasterGraphics(band, s.raster.get());
  Translate(g, float(-x0), float(-y0));
  if (scale != 1) Scale(g, scale, scale);
  for (const SceneLayer& layer : kSceneLayers) {
    if (layer.keep == LayerKeep::kOverlay)
      layer.draw(g, frame, RowWindow::Rows(float(y0) / scale, float(y0 + band.height) / scale));
  }
  NoteStatus(g, status);
}

// ---- tiles ----

void MarkDirty(RetainedScene& s, const PixelRect& rect) {
  const PixelRect r = Intersect(rect, {0, 0, s.width, s.height});
  if (r.Empty()) return;
  for (int ty = r.y0 / kRetainedTile; ty <= (r.y1 - 1) / kRetainedTile; ++ty)
    for (int tx = r.x0 / kRetainedTile; tx <= (r.x1 - 1) / kRetainedTile; ++tx)
      s.dirty[size_t(ty) * size_t(s.tilesX) + size_t(tx)] = 1;
}

// Draws `rect` of a kept layer (whose row 0 is screen row layerTop) again and
// marks the tiles that came out different.
template <typename Draw>
void RefreshRect(RetainedScene& s, std::vector<uint32_t>& layer, int layerTop, const PixelRect& rect,
                 Draw draw) {
  if (rect.Empty()) return;
  const int w = s.width, rw = rect.x1 - rect.x0;
  s.band.resize(size_t(rw) * size_t(rect.y1 - rect.y0));
  draw(BufferOf(s.band, rw, rect.y1 - rect.y0), rect.x0, rect.y0);
  for (int y = rect.y0; y < rect.y1; ++y) {
    const uint32_t* fresh = s.band.data() + size_t(y - rect.y0) * size_t(rw);  // from column rect.x0
    uint32_t* kept = layer.data() + size_t(y - layerTop) * size_t(w);
    uint8_t* tiles = s.dirty.data() + size_t(y / kRetainedTile) * size_t(s.tilesX);
    for (int tx = rect.x0 / kRetainedTile; tx <= (rect.x1 - 1) / kRetainedTile; ++tx) {
      if (tiles[tx]) continue;
      const int x0 = std::max(rect.x0, tx * kRetainedTile), x1 = std::min(rect.x1, (tx + 1) * kRetainedTile);
      if (std::memcmp(fresh + (x0 - rect.x0), kept + x0, size_t(x1 - x0) * 4) != 0) tiles[tx] = 1;
    }
    std::memcpy(kept + rect.x0, fresh, size_t(rw) * 4);
  }
}

// The dirty tiles as disjoint rectangles: runs along each tile row, each
// joined to the rectangle above it when that one spans the same columns.
void CollectDamage(RetainedScene& s) {
  s.frame.changed.clear();
  std::vector<size_t> open, next;  // rectangles that reach the row above, and this row
  for (int ty = 0; ty < s.tilesY; ++ty) {
    const uint8_t* row = s.dirty.data() + size_t(ty) * size_t(s.tilesX);
    const int y0 = ty * kRetainedTile, y1 = std::min(s.height, y0 + kRetainedTile);
    next.clear();
    for (int tx = 0; tx < s.tilesX;) {
      if (!row[tx]) {
        ++tx;
        continue;
      }
      int end = tx;
      while (end < s.tilesX && row[end]) ++end;
      const int x0 = tx * kRetainedTile, x1 = std::min(s.width, end * kRetainedTile);
      size_t index = s.frame.changed.size();
      for (size_t i : open) {
        if (s.frame.changed[i].x0 == x0 && s.frame.changed[i].x1 == x1) index = i;
      }
      if (index == s.frame.changed.size()) {
        s.frame.changed.push_back({x0, y0, x1, y1});
      } else {
        s.frame.changed[index].y1 = y1;
      }
      next.push_back(index);
      tx = end;
    }
    open.swap(next);
  }
}

// ---- sprites ----

// Draws into `sprite`, which then covers the screen box from (left, top) to
// (right, bottom), and finds what it holds. A box that is empty, too large or
// far away (a record gone wrong) leaves the sprite empty.
template <typename Draw>
void DrawSprite(Sprite& sprite, float left, float top, float right, float bottom, float tallest,
                RasterScratch* raster, int& status, Draw draw) {
  if (!(right - left > 0 && right - left <= kLargestSprite && bottom - top > 0 && bottom - top <= tallest &&
        std::fabs(left) < 1e7f && std::fabs(top) < 1e7f)) {
    ResetSprite(sprite, 0, 0, 0, 0);
    return;
  }
  ResetSprite(sprite, int(left), int(top), int(right - left), int(bottom - top));
  {
    Graphics g = MakeRasterGraphics(sprite.Buffer(), raster);
    Translate(g, -left, -top);
    draw(g);
    NoteStatus(g, status);
  }
  MeasureSprite(sprite);
}

// A change that draws every layer of a creature again, and its reason.
bool LayerStale(const SpriteSlot& s, const Creature& c, RedrawReason& why) {
  if (!s.drawn) {
    why = RedrawReason::kNew;
    return true;
  }
  why = RedrawReason::kSize;
  return s.depth != c.depth || s.size != c.size || s.species != c.species;
}

bool Turned(const SpriteSlot& s, const Creature& c, RedrawReason& why) {
  why = RedrawReason::kFacing;
  return s.facesLeft != (c.vx < 0);
}

// How far (sizes S) a tilt moves the figure's and the haze's outlines: a tilt
// of 1 turns the creature by 12 degrees, about 0.65 S at its far end.
float TiltMove(const SpriteSlot& s, const Creature& c) {
  return 0.65f * std::fabs(c.tilt - s.tilt);
}

bool FigureMoved(const SpriteSlot& s, const Creature& c, float tolerance, RedrawReason& why) {
  if (LayerStale(s, c, why) || Turned(s, c, why)) return true;
  // The farthest any outline point can have moved since it was drawn.
  const FigureMotion m = FigureMotionOf(c.species);
  const float phases = c.size * (m.swim * PhaseDistance(c.swimPhase, s.phase) +
                                 m.pulse * PhaseDistance(c.pulsePhase, s.pulse));
  why = phases < tolerance ? RedrawReason::kTilt : RedrawReason::kPose;
  return !(phases + c.size * TiltMove(s, c) < tolerance);
}

bool HazeMoved(const SpriteSlot& s, const Creature& c, float tolerance, RedrawReason& why) {
  if (LayerStale(s, c, why) || Turned(s, c, why)) return true;
  why = RedrawReason::kTilt;
  return !(c.size * TiltMove(s, c) < tolerance);
}

// Draws one of a creature's layers into its slot: a box `r` sizes S around
// the creature, the same size wherever it is, so that the next drawing
// clears only what this one touched. The box is in the target's pixels, the
// creature `scale` times larger there than in the aquarium.
template <typename Draw>
void DrawCreatureLayer(SpriteSlot& slot, const Creature& c, FigureReach r, float scale, RasterScratch* raster,
                       int& status, Draw draw) {
  const float S = c.size * scale, margin = 0.1f * S + 2;
  const float x = c.x * scale, y = c.y * scale;
  const float left = std::floor(x - r.side * S - margin), top = std::floor(y - r.up * S - margin);
  const float right = left + std::ceil(2 * (r.side * S + margin)) + 1;
  const float bottom = top + std::ceil((r.up + r.down) * S + 2 * margin) + 1;
  slot.drawn = true;
  slot.fresh = true;
  slot.x = c.x;
  slot.y = c.y;
  slot.phase = c.swimPhase;
  slot.pulse = c.pulsePhase;
  slot.tilt = c.tilt;
  slot.depth = c.depth;
  slot.facesLeft = c.vx < 0;
  slot.size = c.size;
  slot.species = c.species;
  DrawSprite(slot.sprite, left, top, right, bottom, kLargestSprite, raster, status, [&](Graphics& g) {
    if (scale != 1) Scale(g, scale, scale);
    draw(g, c);
  });
}

void DrawPlantSprite(SpriteSlot& slot, const PlantClump& p, int h, float scale, RasterScratch* raster,
                     int& status) {
  const float yb = 0.9f * h;
  const float left = std::floor((p.x - 0.8f * p.width) * scale - 2);
  const float right = std::ceil((p.x + 1.3f * p.width) * scale + 2);
  const float top = std::floor((yb - p.height) * scale - 2), bottom = std::ceil(yb * scale + 2);
  slot.drawn = true;
  slot.fresh = true;
  slot.x = p.x;
  slot.phase = p.swayPhase;
  DrawSprite(slot.sprite, left, top, right, bottom, 4 * kLargestSprite, raster, status, [&](Graphics& g) {
    if (scale != 1) Scale(g, scale, scale);
    DrawPlant(g, p, h);
  });
}

// Marks where a sprite was and where it is now, when either changed.
void ShowSprite(RetainedScene& s, SpriteSlot& slot, const SpritePlacement& at) {
  const bool moved = at.dx != slot.at.dx || at.dy != slot.at.dy || at.fx != slot.at.fx || at.fy != slot.at.fy;
  slot.at = at;
  const PixelRect now = Intersect(SpriteBounds(slot.sprite, at), {0, 0, s.width, s.height});
  const bool redrawn = slot.fresh;
  slot.fresh = false;
  if (redrawn || moved) {
    MarkDirty(s, slot.shown);
    MarkDirty(s, now);
  }
  slot.shown = now;
}

// The target's pixels a bubble can touch.
PixelRect BubbleRect(const Bubble& b, float scale) {
  const float r = std::fabs(b.radius) * scale + 2, x = b.x * scale, y = b.y * scale;
  if (!(std::fabs(x) < 1e7f && std::fabs(y) < 1e7f && r < 1e4f)) return {};
  return {int(std::floor(x - r)), int(std::floor(y - r)), int(std::ceil(x + r)) + 1,
          int(std::ceil(y + r)) + 1};
}

// A rectangle of the aquarium's pixels as the target's pixels that hold it.
PixelRect Scaled(const PixelRect& r, float scale) {
  if (scale == 1) return r;
  return {int(std::floor(r.x0 * scale)), int(std::floor(r.y0 * scale)), int(std::ceil(r.x1 * scale)),
          int(std::ceil(r.y1 * scale))};
}

// w x h are the target's pixels; the aquarium's are `scale` times fewer.
void Rebuild(const Aquarium& aq, int theme, int w, int h, float scale, RetainedScene& s) {
  s.width = w;
  s.height = h;
  s.scale = scale;
  s.theme = theme;
  s.records = RecordsFingerprint(aq);
  s.valid = true;
  s.background.assign(size_t(w) * size_t(h), 0);
  const int aw = AquariumPixels(w, scale), ah = AquariumPixels(h, scale);
  int overlayTop = 0, overlayBottom = 0;
  OverlayRows(theme, ah, overlayTop, overlayBottom);
  const PixelRect overlay = Intersect(Scaled({0, overlayTop, aw, overlayBottom}, scale), {0, 0, w, h});
  s.overlayTop = overlay.Empty() ? 0 : overlay.y0;
  s.overlayBottom = overlay.Empty() ? 0 : overlay.y1;
  s.overlay.assign(size_t(w) * size_t(std::max(0, s.overlayBottom - s.overlayTop)), 0);
  std::vector<uint32_t>().swap(s.band);
  const ScenePalette palette = PaletteForTheme(theme);
  // One pixel more each way: the column half covers the pixels just past it.
  RecordStaticLayer(s.water, w + 1, h + 1, [&](Graphics& layer) {
    if (scale != 1) Scale(layer, scale, scale);
    DrawWaterColumn(layer, palette, theme, aw, ah);
  });
  s.nextBand = 0;
  s.creatures.clear();
  s.plants.clear();
  s.bubbles.clear();
  SetPieceFastParts(theme, aw, ah, s.fast);
  for (PixelRect& part : s.fast) part = Scaled(part, scale);
  s.tilesX = (w + kRetainedTile - 1) / kRetainedTile;
  s.tilesY = (h + kRetainedTile - 1) / kRetainedTile;
  s.dirty.assign(size_t(s.tilesX) * size_t(s.tilesY), 0);
}

// ---- a frame: plan, draw, compose ----

RepaintReason RepaintFor(const Aquarium& aq, int theme, int w, int h, float scale, const RetainedScene& s) {
  if (!s.valid) return RepaintReason::kFirst;
  if (s.width != w || s.height != h || s.scale != scale) return RepaintReason::kSize;
  if (s.theme != theme) return RepaintReason::kTheme;
  if (s.records != RecordsFingerprint(aq)) return RepaintReason::kAquarium;
  return RepaintReason::kNone;
}

// What this frame draws again: all of the background after a repaint, else
// its next band and the parts that move faster; every kept picture whose
// record moved far enough from the pose it was drawn in.
void PlanFrame(const Aquarium& aq, int theme, int w, int h, float scale, RetainedScene& s, FramePlan& plan) {
  plan.repaint = RepaintFor(aq, theme, w, h, scale, s);
  if (plan.repaint != RepaintReason::kNone) Rebuild(aq, theme, w, h, scale, s);
  plan.background.clear();
  const int rows = kBandTileRows * kRetainedTile;
  if (plan.repaint != RepaintReason::kNone) {
    for (int y = 0; y < h; y += rows) plan.background.push_back({0, y, w, std::min(h, y + rows)});
  } else {
    const int bands = (h + rows - 1) / rows, band = s.nextBand % bands;
    s.nextBand = (band + 1) % bands;
    plan.background.push_back({0, band * rows, w, std::min(h, (band + 1) * rows)});
    for (const PixelRect& part : s.fast) plan.background.push_back(Intersect(part, {0, 0, w, h}));
  }

  plan.sprites.clear();
  // The tolerance is in the target's pixels; poses move in the aquarium's.
  const float tolerance = s.poseTolerance / scale;
  s.plants.resize(aq.plants.size());
  for (size_t i = 0; i < aq.plants.size(); ++i) {
    const SpriteSlot& slot = s.plants[i];
    const PlantClump& p = aq.plants[i];
    if (!slot.drawn) {
      plan.sprites.push_back({SpriteJob::kPlant, i, RedrawReason::kNew});
    } else if (!(0.8f * p.width * PhaseDistance(p.swayPhase, slot.phase) < tolerance)) {
      plan.sprites.push_back({SpriteJob::kPlant, i, RedrawReason::kSway});
    }
  }
  s.creatures.resize(aq.creatures.size());
  for (size_t i = 0; i < aq.creatures.size(); ++i) {
    const CreatureSprites& sprites = s.creatures[i];
    const Creature& c = aq.creatures[i];
    RedrawReason why = RedrawReason::kNew;
    if (LayerStale(sprites.shadow, c, why)) plan.sprites.push_back({SpriteJob::kShadow, i, why});
    if (FigureMoved(sprites.figure, c, tolerance, why)) plan.sprites.push_back({SpriteJob::kFigure, i, why});
    if (HazeMoved(sprites.haze, c, tolerance, why)) plan.sprites.push_back({SpriteJob::kHaze, i, why});
  }
}

// Draws what the plan says into the kept layers, places every picture where
// its record is now, and marks the tiles that changed.
void DrawPlanned(const Aquarium& aq, const LayerFrame& frame, const FramePlan& plan, RetainedScene& s) {
  RetainedFrameStats& stats = s.frame.stats;
  const int w = s.width;
  const float k = s.scale;
  auto drawBackground = [&](const PixelBuffer& part, int x0, int y0) {
    DrawBackgroundPart(frame, s, stats.status, part, x0, y0);
  };
  auto drawOverlay = [&](const PixelBuffer& part, int x0, int y0) {
    DrawOverlayPart(frame, s, stats.status, part, x0, y0);
  };
  for (const PixelRect& r : plan.background) {
    RefreshRect(s, s.background, 0, r, drawBackground);
    RefreshRect(s, s.overlay, s.overlayTop, Intersect(r, {0, s.overlayTop, w, s.overlayBottom}), drawOverlay);
    stats.backgroundRows += std::max(0, r.y1 - r.y0);
  }

  for (const SpriteJob& job : plan.sprites) {
    ++stats.redrawn[size_t(job.reason)];
    if (job.layer == SpriteJob::kPlant) {
      DrawPlantSprite(s.plants[job.record], aq.plants[job.record], frame.h, k, s.raster.get(), stats.status);
      ++stats.spritesDrawn;
      continue;
    }
    CreatureSprites& sprites = s.creatures[job.record];
    const Creature& c = aq.creatures[job.record];
    if (job.layer == SpriteJob::kShadow) {
      DrawCreatureLayer(sprites.shadow, c, ShadowReach(), k, s.raster.get(), stats.status,
                        DrawCreatureShadow);
    } else if (job.layer == SpriteJob::kFigure) {
      DrawCreatureLayer(sprites.figure, c, FigureReachOf(c.species), k, s.raster.get(), stats.status,
                        DrawCreatureFigure);
      ++stats.spritesDrawn;
    } else {
      DrawCreatureLayer(sprites.haze, c, HazeReach(), k, s.raster.get(), stats.status, DrawCreatureHaze);
    }
  }

  // Placed every frame: a picture drawn again, or one that moved, marks where
  // it was and where it is.
  for (SpriteSlot& slot : s.plants) ShowSprite(s, slot, {});
  for (size_t i = 0; i < s.creatures.size(); ++i) {
    CreatureSprites& sprites = s.creatures[i];
    const Creature& c = aq.creatures[i];
    for (SpriteSlot* slot : {&sprites.shadow, &sprites.figure, &sprites.haze})
      ShowSprite(s, *slot, PlaceSprite((c.x - slot->x) * k, (c.y - slot->y) * k));
  }
  stats.sprites = int(s.plants.size() + s.creatures.size());

  // Bubbles move every frame: where they were and where they are.
  for (const PixelRect& r : s.bubbles) MarkDirty(s, r);
  s.bubbles.clear();
  for (const Bubble& b : aq.bubbles) {
    s.bubbles.push_back(BubbleRect(b, k));
    MarkDirty(s, s.bubbles.back());
  }
}

// Paints each changed rectangle afresh, layer by layer in the layer table's
// order, from what is kept.
void Compose(const Aquarium& aq, const PixelBuffer& target, RetainedScene& s) {
  const PixelBuffer background = BufferOf(s.background, s.width, s.height);
  const PixelBuffer overlay = BufferOf(s.overlay, s.width, s.overlayBottom - s.overlayTop);
  const PixelBuffer overlaid = SubRows(target, s.overlayTop, s.overlayBottom);
  const std::vector<const Creature*> order = DepthOrder(aq.creatures);
  RetainedFrameStats& stats = s.frame.stats;
  for (const PixelRect& r : s.frame.changed) {
    stats.pixelsChanged += r.Area();
    for (const SceneLayer& layer : kSceneLayers) {
      switch (layer.keep) {
        case LayerKeep::kStill:  // the kept background holds every background layer
          CopyRect(target, background, r);
          break;
        case LayerKeep::kBackground:
          break;
        case LayerKeep::kPlants:
          for (const SpriteSlot& slot : s.plants) {
            if (Overlap(slot.shown, r)) CompositeSprite(target, r, slot.sprite, slot.at);
          }
          break;
        case LayerKeep::kBubbles: {
          bool any = false;
          for (const PixelRect& b : s.bubbles) any = any || Overlap(b, r);
          if (!any) break;
          const PixelBuffer part = {target.pixels + ptrdiff_t(r.y0) * target.stride + r.x0, r.x1 - r.x0,
                                    r.y1 - r.y0, target.stride};
          Graphics g = MakeRasterGraphics(part, s.raster.get());
          Translate(g, float(-r.x0), float(-r.y0));
          if (s.scale != 1) Scale(g, s.scale, s.scale);
          for (size_t i = 0; i < aq.bubbles.size(); ++i) {
            if (Overlap(s.bubbles[i], r)) DrawBubble(g, aq.bubbles[i]);
          }
          NoteStatus(g, stats.status);
          break;
        }
        case LayerKeep::kCreatures:
          for (const Creature* c : order) {
            const CreatureSprites& sprites = s.creatures[size_t(c - aq.creatures.data())];
            for (const SpriteSlot* slot : {&sprites.shadow, &sprites.figure, &sprites.haze}) {
              if (Overlap(slot->shown, r)) CompositeSprite(target, r, slot->sprite, slot->at);
            }
          }
          break;
        case LayerKeep::kOverlay:
          if (s.overlayBottom > s.overlayTop) {
            BlendRect(overlaid, overlay, {r.x0, r.y0 - s.overlayTop, r.x1, r.y1 - s.overlayTop});
          }
          break;
      }
    }
  }
}

}  // namespace

void RetainedSceneDeleter::operator()(RetainedScene* scene) const {
  delete scene;
}

RetainedScenePtr MakeRetainedScene() {
  return RetainedScenePtr(new RetainedScene);
}

const char* RedrawReasonName(RedrawReason reason) {
  static const char* const kNames[] = {"new", "size", "facing", "pose", "tilt", "sway"};
  static_assert(std::size(kNames) == kRedrawReasonCount, "one name per reason");
  return kNames[size_t(reason)];
}

void InvalidateRetainedScene(RetainedScene& scene) {
  scene.valid = false;
}

void SetPoseTolerance(RetainedScene& scene, float pixels) {
  scene.poseTolerance = pixels;
}

const std::vector<uint32_t>& RetainedBackground(const RetainedScene& scene) {
  return scene.background;
}

size_t RetainedSceneBytes(const RetainedScene& s) {
  size_t bytes = (s.background.capacity() + s.overlay.capacity() + s.band.capacity()) * 4 +
                 s.water.runs.capacity() * sizeof(StaticLayer::Run) + s.water.rowStarts.capacity() * 4 +
                 s.dirty.capacity();
  auto slotBytes = [](const SpriteSlot& slot) { return sizeof slot + slot.sprite.pixels.capacity() * 4; };
  for (const SpriteSlot& slot : s.plants) bytes += slotBytes(slot);
  for (const CreatureSprites& sprites : s.creatures)
    bytes += slotBytes(sprites.shadow) + slotBytes(sprites.figure) + slotBytes(sprites.haze);
  return bytes;
}

const RetainedFrame& RenderSceneRetained(const Aquarium& aq, int theme, const PixelBuffer& target,
                                         RetainedScene& s, float scale) {
  const int w = target.width, h = target.height;
  s.frame.stats = {};
  s.frame.changed.clear();
  if (w <= 0 || h <= 0 || !target.pixels || !(scale >= 1)) return s.frame;
  RetainedFrameStats& stats = s.frame.stats;
  const int64_t started = MonotonicNanoseconds();
  FramePlan& plan = s.plan;
  PlanFrame(aq, theme, w, h, scale, s, plan);
  stats.repaint = plan.repaint;
  const int64_t planned = MonotonicNanoseconds();
  std::fill(s.dirty.begin(), s.dirty.end(), 0);
  const LayerFrame frame = {
      aq, theme, PaletteForTheme(theme), AquariumPixels(w, scale), AquariumPixels(h, scale), aq.elapsed};
  const RasterTally before = TallyOf(*s.raster);
  DrawPlanned(aq, frame, plan, s);
  const RasterTally after = TallyOf(*s.raster);
  stats.shapes = int(after.shapes - before.shapes);
  stats.edges = int(after.edges - before.edges);
  if (plan.repaint != RepaintReason::kNone) std::fill(s.dirty.begin(), s.dirty.end(), 1);
  CollectDamage(s);
  const int64_t drawn = MonotonicNanoseconds();
  Compose(aq, target, s);
  const int64_t composed = MonotonicNanoseconds();
  stats.planMs = double(planned - started) / 1e6;
  stats.drawMs = double(drawn - planned) / 1e6;
  stats.composeMs = double(composed - drawn) / 1e6;
  return s.frame;
}

const RetainedFrame& RenderSceneRetained(const Aquarium& aquarium, int theme, Graphics& g, int width,
                                         int height, RetainedScene& scene, float scale) {
  PixelBuffer pixels;
  scene.frame.stats = {};
  scene.frame.changed.clear();
  if (width <= 0 || height <= 0) return scene.frame;
  if (!AccessPixels(g, pixels) || pixels.width < width || pixels.height < height) {
    RenderScene(aquarium, theme, g, width, height, scale);
    InvalidateRetainedScene(scene);
    scene.frame.changed.assign(1, {0, 0, width, height});
    scene.frame.stats.repaint = RepaintReason::kFirst;
    return scene.frame;
  }
  pixels.width = width;
  pixels.height = height;
  return RenderSceneRetained(aquarium, theme, pixels, scene, scale);
}
