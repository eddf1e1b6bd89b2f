#include "scene/retained_scene.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>

#include "draw/creature.h"
#include "scene/layers.h"
#include "scene/palette.h"
#include "scene/scene.h"

using namespace draw;

namespace {

constexpr float kPhasePeriod = 62.83185307f;  // phases wrap at 20 pi (sim/motion.cpp)

// How far each species' drawing reaches from the creature's position, in
// sizes S, over every pose and both facings: sideways, up, down. Measured
// with the shadow and haze, which have sprites of their own now: the figure
// alone reaches less far.
struct Reach {
  float side, up, down;
};
constexpr Reach kReaches[] = {
    {2.0f, 1.25f, 1.3f},    // Tropical Fish
    {1.75f, 2.4f, 2.25f},   // Angelfish
    {2.0f, 1.25f, 1.3f},    // Clownfish
    {2.1f, 1.85f, 1.9f},    // Goldfish
    {1.8f, 1.4f, 1.5f},     // Guppy
    {2.65f, 1.25f, 1.3f},   // Shark
    {3.3f, 1.35f, 1.35f},   // Ray
    {2.55f, 2.25f, 2.25f},  // Betta
    {1.65f, 1.2f, 1.25f},   // Butterflyfish
    {1.9f, 1.2f, 1.25f},    // Blue Tang
    {1.75f, 2.05f, 1.6f},   // Lionfish
    {1.45f, 0.95f, 3.05f},  // Jellyfish
    {1.45f, 1.6f, 1.25f},   // Seahorse
    {1.5f, 1.2f, 1.2f},     // Pufferfish
    {1.45f, 1.05f, 1.1f},   // Sea Turtle
    {1.6f, 0.95f, 1.9f},    // Octopus
    {2.15f, 0.95f, 1.1f},   // Eel
    {1.45f, 0.95f, 1.1f},   // Crab
    {2.2f, 1.0f, 1.1f},     // Cleaner Shrimp
    {1.45f, 0.95f, 1.1f},   // Hermit Crab
};
constexpr Reach kNoFigure = {1.45f, 0.95f, 1.1f};  // a species without a figure (it draws nothing)
// The shadow: an ellipse 1.21 S to each side, from 0.525 S to 1.075 S below.
constexpr Reach kShadowReach = {1.25f, -0.5f, 1.1f};
// The haze: an ellipse 1.43 S to each side and 0.88 S up and down, turned by
// the tilt (at most 6 degrees) about a point 0.55 S ahead: 0.23 S more.
constexpr Reach kHazeReach = {1.7f, 1.15f, 1.15f};

Reach ReachOf(const Creature& c) {
  return c.species < std::size(kReaches) ? kReaches[c.species] : kNoFigure;
}

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

// ---- the background ----

// The part of everything under the plants whose top left is (x0, y0), into `band`.
void DrawBackgroundPart(const Aquarium& aq, int theme, const RetainedScene& s, int& status,
                        const PixelBuffer& band, int x0, int y0) {
  const int w = s.width, h = s.height, y1 = y0 + band.height;
  for (int y = 0; y < band.height; ++y) std::fill_n(band.pixels + ptrdiff_t(y) * band.stride, band.width, 0u);
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
  const ScenePalette palette = PaletteForTheme(theme);
  const double t = aq.elapsed;
  Graphics g = MakeRasterGraphics(band);
  Translate(g, float(-x0), float(-y0));
  auto rows = [&](float top, float bottom) { return bottom >= float(y0) - 2 && top <= float(y1) + 2; };
  if (rows(0.02f * h - 4, 0.05f * h + 4)) DrawSurfaceRipples(g, w, h, t);
  DrawLightRays(g, aq.lightRays, palette.light, h, t);
  if (rows(0.88f * h - 8, float(h))) DrawSeaFloor(g, palette.floor, w, h, t);
  if (rows(0.92f * h - 20, float(h))) DrawRocks(g, w, h);  // the highest rock reaches 0.92 h - 15.6
  DrawSetPiece(g, theme, w, h, t);
  for (const Starfish& star : aq.starfish) {
    if (rows(star.y - star.size - 2, star.y + star.size + 2)) DrawStarfish(g, star);
  }
  for (const Coral& coral : aq.corals) {
    if (rows(coral.y - 1.3f * coral.size - 2, coral.y + 0.5f * coral.size + 2)) DrawCoral(g, coral, t);
  }
  NoteStatus(g, status);
}

// The overlay's rows, where a theme has one.
void OverlayRows(int theme, int h, int& top, int& bottom) {
  top = bottom = 0;
  if (theme == 2) {
    bottom = int(0.3 * h) + 1;
  } else if (theme == 3) {
    top = std::max(0, int(0.15f * h) - 5);
    bottom = int(0.55f * h) + 6;
  }
  bottom = std::min(bottom, h);
}

void DrawOverlayPart(const Aquarium& aq, int theme, const RetainedScene& s, int& status,
                     const PixelBuffer& band, int x0, int y0) {
  for (int y = 0; y < band.height; ++y) std::fill_n(band.pixels + ptrdiff_t(y) * band.stride, band.width, 0u);
  Graphics g = MakeRasterGraphics(band);
  Translate(g, float(-x0), float(-y0));
  DrawOverlay(g, theme, s.width, s.height, aq.elapsed);
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
  s.damage.clear();
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
      size_t index = s.damage.size();
      for (size_t i : open) {
        if (s.damage[i].x0 == x0 && s.damage[i].x1 == x1) index = i;
      }
      if (index == s.damage.size()) {
        s.damage.push_back({x0, y0, x1, y1});
      } else {
        s.damage[index].y1 = y1;
      }
      next.push_back(index);
      tx = end;
    }
    open.swap(next);
  }
}

// ---- sprites ----

// How far a species' outline moves per radian of swim phase and of pulse
// phase, in sizes S, at most: tails, fins and bodies swing with the swim
// phase; bells, tentacles, arms and legs with the pulse phase.
struct Motion {
  float swim, pulse;
};
constexpr Motion kMotions[] = {
    {0.4f, 0}, {0.4f, 0}, {0.4f, 0}, {0.4f, 0},     {0.4f, 0},   // Tropical Fish .. Guppy
    {0.4f, 0}, {0.4f, 0}, {0.4f, 0}, {0.4f, 0},     {0.4f, 0},   // Shark .. Blue Tang
    {0.4f, 0}, {0, 0.3f}, {0.4f, 0}, {0.4f, 0.15f}, {0.5f, 0},   // Lionfish .. Sea Turtle
    {0, 0.3f}, {0.4f, 0}, {0, 0.3f}, {0, 0.15f},    {0, 0.15f},  // Octopus .. Hermit Crab
};
constexpr Motion kStill = {0, 0};  // a species without a figure

// Draws into `sprite`, which then covers the screen box from (left, top) to
// (right, bottom), and finds what it holds. A box that is empty, too large or
// far away (a record gone wrong) leaves the sprite empty.
template <typename Draw>
void DrawSprite(Sprite& sprite, float left, float top, float right, float bottom, float tallest, int& status,
                Draw draw) {
  if (!(right - left > 0 && right - left <= kLargestSprite && bottom - top > 0 && bottom - top <= tallest &&
        std::fabs(left) < 1e7f && std::fabs(top) < 1e7f)) {
    ResetSprite(sprite, 0, 0, 0, 0);
    return;
  }
  ResetSprite(sprite, int(left), int(top), int(right - left), int(bottom - top));
  {
    Graphics g = MakeRasterGraphics(sprite.Buffer());
    Translate(g, -left, -top);
    draw(g);
    NoteStatus(g, status);
  }
  MeasureSprite(sprite);
}

// A change that draws every layer of a creature again.
bool LayerStale(const SpriteSlot& s, const Creature& c) {
  return !s.drawn || s.depth != c.depth || s.size != c.size || s.species != c.species;
}

// How far (sizes S) a tilt moves the figure's and the haze's outlines: a tilt
// of 1 turns the creature by 12 degrees, about 0.65 S at its far end.
float TiltMove(const SpriteSlot& s, const Creature& c) {
  return 0.65f * std::fabs(c.tilt - s.tilt);
}

bool FigureMoved(const SpriteSlot& s, const Creature& c, float tolerance) {
  if (LayerStale(s, c) || s.facesLeft != (c.vx < 0)) return true;
  // The farthest any outline point can have moved since it was drawn.
  const Motion m = c.species < std::size(kMotions) ? kMotions[c.species] : kStill;
  const float moved = c.size * (m.swim * PhaseDistance(c.swimPhase, s.phase) +
                                m.pulse * PhaseDistance(c.pulsePhase, s.pulse) + TiltMove(s, c));
  return !(moved < tolerance);
}

bool HazeMoved(const SpriteSlot& s, const Creature& c, float tolerance) {
  return LayerStale(s, c) || s.facesLeft != (c.vx < 0) || !(c.size * TiltMove(s, c) < tolerance);
}

// Draws one of a creature's layers into its slot: a box `r` sizes S around
// the creature, the same size wherever it is, so that the next drawing
// clears only what this one touched.
template <typename Draw>
void DrawCreatureLayer(SpriteSlot& slot, const Creature& c, Reach r, int& status, Draw draw) {
  const float S = c.size, margin = 0.1f * S + 2;
  const float left = std::floor(c.x - r.side * S - margin), top = std::floor(c.y - r.up * S - margin);
  const float right = left + std::ceil(2 * (r.side * S + margin)) + 1;
  const float bottom = top + std::ceil((r.up + r.down) * S + 2 * margin) + 1;
  slot.drawn = true;
  slot.x = c.x;
  slot.y = c.y;
  slot.phase = c.swimPhase;
  slot.pulse = c.pulsePhase;
  slot.tilt = c.tilt;
  slot.depth = c.depth;
  slot.facesLeft = c.vx < 0;
  slot.size = c.size;
  slot.species = c.species;
  DrawSprite(slot.sprite, left, top, right, bottom, kLargestSprite, status, [&](Graphics& g) { draw(g, c); });
}

void DrawPlantSprite(SpriteSlot& slot, const PlantClump& p, int h, int& status) {
  const float yb = 0.9f * h;
  const float left = std::floor(p.x - 0.8f * p.width - 2), right = std::ceil(p.x + 1.3f * p.width + 2);
  const float top = std::floor(yb - p.height - 2), bottom = std::ceil(yb + 2);
  slot.drawn = true;
  slot.x = p.x;
  slot.phase = p.swayPhase;
  DrawSprite(slot.sprite, left, top, right, bottom, 4 * kLargestSprite, status,
             [&](Graphics& g) { DrawPlant(g, p, h); });
}

// Marks where a sprite was and where it is now, when either changed.
void ShowSprite(RetainedScene& s, SpriteSlot& slot, bool redrawn, const SpritePlacement& at) {
  const bool moved = at.dx != slot.at.dx || at.dy != slot.at.dy || at.fx != slot.at.fx || at.fy != slot.at.fy;
  slot.at = at;
  const PixelRect now = Intersect(SpriteBounds(slot.sprite, at), {0, 0, s.width, s.height});
  if (redrawn || moved) {
    MarkDirty(s, slot.shown);
    MarkDirty(s, now);
  }
  slot.shown = now;
}

PixelRect BubbleRect(const Bubble& b) {
  const float r = std::fabs(b.radius) + 2;
  if (!(std::fabs(b.x) < 1e7f && std::fabs(b.y) < 1e7f && r < 1e4f)) return {};
  return {int(std::floor(b.x - r)), int(std::floor(b.y - r)), int(std::ceil(b.x + r)) + 1,
          int(std::ceil(b.y + r)) + 1};
}

// What moves faster than the bands come round, drawn again every frame: the
// glowing stone of "Ancient Ruins" and the sea grass of "Coral Reef" (their
// boxes as set_pieces.cpp draws them, with a margin).
void FastParts(int theme, int w, int h, std::vector<PixelRect>& parts) {
  parts.clear();
  auto box = [&](float x0, float y0, float x1, float y1) {
    parts.push_back(
        {int(std::floor(x0)) - 3, int(std::floor(y0)) - 3, int(std::ceil(x1)) + 4, int(std::ceil(y1)) + 4});
  };
  if (theme == 6) {
    const float x = 0.42f * w - 8, y = 0.92f * h - 0.22f * h + 20;
    box(x, y, x + 16, y + 16);
  } else if (theme == 4) {
    for (int j = 0; j < 5; ++j) {
      const float x = (0.15f + 0.18f * j) * w;
      box(x - 10, 0.8f * h - 12, x + 34, 0.95f * h + 2);
    }
  }
}

void Rebuild(const Aquarium& aq, int theme, int w, int h, RetainedScene& s) {
  s.width = w;
  s.height = h;
  s.theme = theme;
  s.records = RecordsFingerprint(aq);
  s.valid = true;
  s.background.assign(size_t(w) * size_t(h), 0);
  int top = 0, bottom = 0;
  OverlayRows(theme, h, top, bottom);
  s.overlay.assign(size_t(w) * size_t(std::max(0, bottom - top)), 0);
  std::vector<uint32_t>().swap(s.band);
  const ScenePalette palette = PaletteForTheme(theme);
  // One pixel more each way: the column half covers the pixels just past it.
  RecordStaticLayer(s.water, w + 1, h + 1,
                    [&](Graphics& layer) { DrawWaterColumn(layer, palette, theme, w, h); });
  s.nextBand = 0;
  s.creatures.clear();
  s.plants.clear();
  s.bubbles.clear();
  FastParts(theme, w, h, s.fast);
  s.tilesX = (w + kRetainedTile - 1) / kRetainedTile;
  s.tilesY = (h + kRetainedTile - 1) / kRetainedTile;
  s.dirty.assign(size_t(s.tilesX) * size_t(s.tilesY), 0);
}

}  // namespace

void InvalidateRetainedScene(RetainedScene& scene) {
  scene.valid = false;
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

void RenderSceneRetained(const Aquarium& aq, int theme, const PixelBuffer& target, RetainedScene& s) {
  const int w = target.width, h = target.height;
  s.stats = {};
  s.damage.clear();
  if (w <= 0 || h <= 0 || !target.pixels) return;
  const bool full =
      !s.valid || s.width != w || s.height != h || s.theme != theme || s.records != RecordsFingerprint(aq);
  if (full) Rebuild(aq, theme, w, h, s);
  std::fill(s.dirty.begin(), s.dirty.end(), 0);
  s.stats.full = full;
  int overlayTop = 0, overlayBottom = 0;
  OverlayRows(theme, h, overlayTop, overlayBottom);
  const PixelBuffer background = BufferOf(s.background, w, h);
  // The overlay's rows, and the target's rows it lies over.
  const PixelBuffer overlay = BufferOf(s.overlay, w, overlayBottom - overlayTop);
  const PixelBuffer overlaid = SubRows(target, overlayTop, overlayBottom);

  auto drawBackground = [&](const PixelBuffer& part, int x0, int y0) {
    DrawBackgroundPart(aq, theme, s, s.stats.status, part, x0, y0);
  };
  auto drawOverlay = [&](const PixelBuffer& part, int x0, int y0) {
    DrawOverlayPart(aq, theme, s, s.stats.status, part, x0, y0);
  };
  auto refresh = [&](const PixelRect& rect) {
    const PixelRect r = Intersect(rect, {0, 0, w, h});
    RefreshRect(s, s.background, 0, r, drawBackground);
    RefreshRect(s, s.overlay, overlayTop, Intersect(r, {0, overlayTop, w, overlayBottom}), drawOverlay);
  };

  const int rows = kBandTileRows * kRetainedTile;
  if (full) {
    for (int y = 0; y < h; y += rows) refresh({0, y, w, std::min(h, y + rows)});
    std::fill(s.dirty.begin(), s.dirty.end(), 1);
  } else {
    // One band of the background per frame, and what moves faster than that.
    const int bands = (h + rows - 1) / rows, band = s.nextBand % bands;
    s.nextBand = (band + 1) % bands;
    refresh({0, band * rows, w, std::min(h, (band + 1) * rows)});
    for (const PixelRect& part : s.fast) refresh(part);
  }

  // Plants and creatures: drawn again where their pose moved, placed where they are.
  s.plants.resize(aq.plants.size());
  for (size_t i = 0; i < aq.plants.size(); ++i) {
    SpriteSlot& slot = s.plants[i];
    const PlantClump& p = aq.plants[i];
    const bool redraw =
        !slot.drawn || !(0.8f * p.width * PhaseDistance(p.swayPhase, slot.phase) < s.poseTolerance);
    if (redraw) DrawPlantSprite(slot, p, h, s.stats.status);
    ShowSprite(s, slot, redraw, {});
    s.stats.spritesDrawn += redraw;
  }
  s.creatures.resize(aq.creatures.size());
  for (size_t i = 0; i < aq.creatures.size(); ++i) {
    CreatureSprites& sprites = s.creatures[i];
    const Creature& c = aq.creatures[i];
    const float tolerance = s.poseTolerance;
    const bool figure = FigureMoved(sprites.figure, c, tolerance),
               haze = HazeMoved(sprites.haze, c, tolerance), shadow = LayerStale(sprites.shadow, c);
    if (shadow) DrawCreatureLayer(sprites.shadow, c, kShadowReach, s.stats.status, DrawCreatureShadow);
    if (figure) DrawCreatureLayer(sprites.figure, c, ReachOf(c), s.stats.status, DrawCreatureFigure);
    if (haze) DrawCreatureLayer(sprites.haze, c, kHazeReach, s.stats.status, DrawCreatureHaze);
    for (const auto& [slot, redrawn] :
         {std::pair{&sprites.shadow, shadow}, {&sprites.figure, figure}, {&sprites.haze, haze}})
      ShowSprite(s, *slot, redrawn, PlaceSprite(c.x - slot->x, c.y - slot->y));
    s.stats.spritesDrawn += figure;
  }
  s.stats.sprites = int(s.plants.size() + s.creatures.size());

  // Bubbles move every frame: where they were and where they are.
  for (const PixelRect& r : s.bubbles) MarkDirty(s, r);
  s.bubbles.clear();
  for (const Bubble& b : aq.bubbles) {
    s.bubbles.push_back(BubbleRect(b));
    MarkDirty(s, s.bubbles.back());
  }

  CollectDamage(s);

  // Each changed rectangle is painted afresh, layer by layer.
  const std::vector<const Creature*> order = DepthOrder(aq.creatures);
  for (const PixelRect& r : s.damage) {
    s.stats.pixelsChanged += r.Area();
    CopyRect(target, background, r);
    for (SpriteSlot& slot : s.plants) {
      if (!Intersect(slot.shown, r).Empty()) CompositeSprite(target, r, slot.sprite, slot.at);
    }
    bool bubbles = false;
    for (const PixelRect& b : s.bubbles) bubbles = bubbles || !Intersect(b, r).Empty();
    if (bubbles) {
      const PixelBuffer part = {target.pixels + ptrdiff_t(r.y0) * target.stride + r.x0, r.x1 - r.x0,
                                r.y1 - r.y0, target.stride};
      Graphics g = MakeRasterGraphics(part);
      Translate(g, float(-r.x0), float(-r.y0));
      for (size_t i = 0; i < aq.bubbles.size(); ++i) {
        if (!Intersect(s.bubbles[i], r).Empty()) DrawBubble(g, aq.bubbles[i]);
      }
      NoteStatus(g, s.stats.status);
    }
    for (const Creature* c : order) {
      const CreatureSprites& sprites = s.creatures[size_t(c - aq.creatures.data())];
      for (const SpriteSlot* slot : {&sprites.shadow, &sprites.figure, &sprites.haze}) {
        if (!Intersect(slot->shown, r).Empty()) CompositeSprite(target, r, slot->sprite, slot->at);
      }
    }
    if (overlayBottom > overlayTop) {
      BlendRect(overlaid, overlay, {r.x0, r.y0 - overlayTop, r.x1, r.y1 - overlayTop});
    }
  }
}

void RenderSceneRetained(const Aquarium& aquarium, int theme, Graphics& g, int width, int height,
                         RetainedScene& scene) {
  PixelBuffer pixels;
  if (width <= 0 || height <= 0) return;
  if (!AccessPixels(g, pixels) || pixels.width < width || pixels.height < height) {
    RenderScene(aquarium, theme, g, width, height);
    InvalidateRetainedScene(scene);
    scene.damage.assign(1, {0, 0, width, height});
    return;
  }
  pixels.width = width;
  pixels.height = height;
  RenderSceneRetained(aquarium, theme, pixels, scene);
}
