// Putting kept pictures together: rectangles of pixels copied from a kept
// layer, premultiplied layers blended over a frame, and sprites (small
// pictures drawn once, shown at a position that moves by fractions of a
// pixel). Plain pixel buffers and rectangles, so that the same layers could
// be handed to a GPU compositor.
#pragma once

#include <cstdint>
#include <vector>

#include "draw/static_layer.h"
#include "draw/toolkit.h"

namespace draw {

// Pixels [x0, x1) x [y0, y1).
struct PixelRect {
  int x0 = 0;
  int y0 = 0;
  int x1 = 0;
  int y1 = 0;

  bool Empty() const { return x1 <= x0 || y1 <= y0; }
  int Area() const { return Empty() ? 0 : (x1 - x0) * (y1 - y0); }
};

PixelRect Intersect(const PixelRect& a, const PixelRect& b);
// Whether the two share a pixel; asked for every sprite and rectangle of a frame.
inline bool Overlap(const PixelRect& a, const PixelRect& b) {
  return a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1 && !a.Empty() && !b.Empty();
}
// The smallest rectangle holding both; an empty one adds nothing.
PixelRect Union(const PixelRect& a, const PixelRect& b);

// A picture of its own, premultiplied, transparent where nothing was drawn.
struct Sprite {
  std::vector<uint32_t> pixels;
  int width = 0;
  int height = 0;
  // Screen position of pixel (0, 0) when the sprite is shown where it was drawn.
  int left = 0;
  int top = 0;
  PixelRect used;  // the part holding anything, in sprite pixels
  // Per row: the columns [rowFrom, rowTo) holding anything (rowFrom == rowTo: none).
  std::vector<uint16_t> rowFrom;
  std::vector<uint16_t> rowTo;

  PixelBuffer Buffer() { return {pixels.data(), width, height, width}; }
};

// Makes `sprite` a transparent width x height picture at (left, top),
// keeping its memory where it is large enough.
void ResetSprite(Sprite& sprite, int left, int top, int width, int height);
// Finds the part of the sprite that holds anything (sprite.used, and row by row).
void MeasureSprite(Sprite& sprite);

// Where a sprite shows: moved by (dx, dy) pixels from where it was drawn. The
// fractions are kept in sixteenths: a sprite that moved by a fraction of a
// pixel is resampled (bilinear) instead of drawn again.
struct SpritePlacement {
  int dx = 0;  // whole pixels
  int dy = 0;
  int fx = 0;  // sixteenths, 0..15
  int fy = 0;
};
SpritePlacement PlaceSprite(float dx, float dy);
// The screen pixels a placed sprite can touch.
PixelRect SpriteBounds(const Sprite& sprite, const SpritePlacement& at);
// Blends the placed sprite over `target`, source-over, within `clip`.
void CompositeSprite(const PixelBuffer& target, const PixelRect& clip, const Sprite& sprite,
                     const SpritePlacement& at);

// Copies `rect` of `source` (same size as target) into `target`.
void CopyRect(const PixelBuffer& target, const PixelBuffer& source, const PixelRect& rect);
// Blends `rect` of the premultiplied `layer` over `target`, source-over.
void BlendRect(const PixelBuffer& target, const PixelBuffer& layer, const PixelRect& rect);
// Puts the part of a static layer whose top left is (x0, y0) over `target`.
void DrawStaticLayerPart(const PixelBuffer& target, const StaticLayer& layer, int x0, int y0);

// At most `most` rectangles covering `rects` (within a width x height frame),
// so that a presenter makes few copies: where there are more, the frame is
// seen in coarser and coarser cells (64 pixels, 128, ...) until the touched
// cells make few enough runs. Fewer than `most` are passed on as they are.
void GroupRects(const std::vector<PixelRect>& rects, int width, int height, size_t most,
                std::vector<PixelRect>& out);

// What a buffer that shows the frame in turn with others (a Wayland surface's
// two) lacks of it: the frames drawn since it was last shown changed these
// rectangles, or everything.
struct StaleRects {
  std::vector<PixelRect> rects;
  bool whole = true;
};
// A frame changed `changed` (or everything): the buffer lacks that too.
void AddStale(StaleRects& stale, const std::vector<PixelRect>& changed, bool whole, int width, int height);
// Copies what `buffer` lacks from `frame` (the same size) and forgets it.
// Returns the pixels copied.
double CatchUp(const PixelBuffer& buffer, const PixelBuffer& frame, StaleRects& stale);

// Rows y0..y1 of `buffer` as a buffer of their own.
PixelBuffer SubRows(const PixelBuffer& buffer, int y0, int y1);

}  // namespace draw
