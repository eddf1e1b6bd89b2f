// The set pieces of three themes, drawn over the rocks and under the scenery
// records. They depend only on the window size and, for two of them, the clock.
#include <cmath>
#include <iterator>

#include "scene/layers.h"

using namespace draw;

namespace {

// Eight branching corals, then five clumps of sea grass.
void DrawCoralReef(Graphics& g, float w, float h, double t) {
  const float yb = 0.88f * h;
  for (int i = 0; i < 8; ++i) {
    const float xi = (0.05f + 0.13f * i) * w;
    const float hi = (0.1f + 0.05f * (i % 3)) * h;
    const float si = Sin(2.1f * i);  // fixed lean per branch
    const Pen pen = MakePen(Argb(0xDC, 0xFF, 0x50 + 20 * i, 0x64 + 20 * i), 8);
    DrawLine(g, pen, xi, yb, xi + 15 * si, yb - hi);  // trunk
    for (int k = 0; k < 4; ++k) {
      const float yk = yb - (0.2f + 0.2f * k) * hi;
      const float xk = xi + 4 * k * si;
      DrawLine(g, pen, xk, yk, xk - 20 - 6 * k, yk - 0.3f * hi);
      DrawLine(g, pen, xk, yk, xk + 20 + 6 * k, yk - 0.3f * hi);
    }
    // The bud sits over the unleaned foot.
    FillEllipse(g, SolidBrush(Argb(0xFF, 0xFF, 120 + 15 * i, 80 + 25 * i)), xi - 8, yb - hi - 8, 16, 16);
  }

  const Pen grass = MakePen(0xB41E8C3C, 4);
  for (int j = 0; j < 5; ++j) {
    const float xj = (0.15f + 0.18f * j) * w;
    for (int m = 0; m < 3; ++m)
      DrawLine(g, grass, xj + 12 * m, 0.95f * h, xj + 12 * m + 8 * Sin(1.2f * t + j + m), 0.8f * h - 5 * m);
  }
}

// A hull whose keel lies on the bottom edge, a broken mast, a torn sail and
// three portholes. Nothing moves.
void DrawShipwreck(Graphics& g, float w, float h, double) {
  const float a = 0.3f * w;   // stern
  const float r = 0.35f * w;  // length
  const float u = 0.82f * h;  // deck line
  const float v = 0.18f * h;  // hull depth

  const Path hull = PolygonPath({{a, u}, {a + r, u}, {a + 0.85f * r, u + v}, {a + 0.15f * r, u + v}});
  FillPath(g, SolidBrush(0xDC5A4128), hull);
  DrawPath(g, MakePen(0xB43C2819, 2), hull);

  DrawLine(g, MakePen(0xC8503723, 4), a + 0.5f * r, u, a + 0.5f * r - 10, u - 0.9f * v);
  FillPolygon(
      g, SolidBrush(0x968C8264),
      {{a + 0.5f * r - 10, u - 0.9f * v}, {a + 0.5f * r - 10, u - 0.2f * v}, {a + 0.35f * r, u - 0.1f * v}});

  const Brush porthole = SolidBrush(0xB4C8DCB4);
  for (int k = 0; k < 3; ++k) FillEllipse(g, porthole, a + 0.2f * r + 0.2f * r * k, u + 0.2f * v, 14, 14);
}

// Three columns standing shorter to the right, a fallen slab and a glowing
// stone that pulses between alpha 100 and 180.
void DrawAncientRuins(Graphics& g, float w, float h, double t) {
  for (int k = 0; k < 3; ++k) {
    const float cx = (0.2f + 0.25f * k) * w;
    const float ch = (0.2f - 0.03f * k) * h;
    const float yb = 0.92f * h;
    const float yt = yb - ch;
    const Brush stone = SolidBrush(0xC8787382);
    const Pen joint = MakePen(0x64504B5A, 1);
    FillRectangle(g, stone, cx - 11, yt, 22, ch);      // shaft
    FillRectangle(g, stone, cx - 17, yt - 8, 34, 10);  // capital
    FillRectangle(g, stone, cx - 19, yb - 8, 38, 10);  // plinth
    for (int m = 0; m < 4; ++m)
      DrawLine(g, joint, cx - 11, yt + 0.25f * m * ch, cx + 11, yt + 0.25f * m * ch);
  }

  const float slabY = 0.92f * h - 0.22f * h;
  FillRectangle(g, SolidBrush(0xC8827D8C), 0.15f * w, slabY, 0.55f * w, 16);

  const uint8_t glow = uint8_t(int((0.5f * Sin(2 * t) + 0.5f) * 80 + 100));
  FillEllipse(g, SolidBrush(WithAlpha(0x64FFC8, glow)), 0.42f * w - 8, slabY + 20, 16, 16);
}

// A box the retained frame draws again every frame, with a margin for the
// anti-aliased edge.
void AddBox(std::vector<PixelRect>& parts, float x0, float y0, float x1, float y1) {
  parts.push_back(
      {int(std::floor(x0)) - 3, int(std::floor(y0)) - 3, int(std::ceil(x1)) + 4, int(std::ceil(y1)) + 4});
}

// The five clumps of sea grass, which sway faster than the background bands
// come round.
void CoralReefFastParts(int w, int h, std::vector<PixelRect>& parts) {
  for (int j = 0; j < 5; ++j) {
    const float x = (0.15f + 0.18f * j) * w;
    AddBox(parts, x - 10, 0.8f * h - 12, x + 34, 0.95f * h + 2);
  }
}

// The glowing stone, which pulses.
void AncientRuinsFastParts(int w, int h, std::vector<PixelRect>& parts) {
  const float x = 0.42f * w - 8, y = 0.92f * h - 0.22f * h + 20;
  AddBox(parts, x, y, x + 16, y + 16);
}

struct SetPieceDrawing {
  void (*draw)(Graphics& g, float w, float h, double t);
  void (*fastParts)(int w, int h, std::vector<PixelRect>& parts);  // null: nothing moves fast
};
constexpr SetPieceDrawing kSetPieceDrawings[] = {
    {nullptr, nullptr},                         // none
    {DrawCoralReef, CoralReefFastParts},        // Coral Reef
    {DrawShipwreck, nullptr},                   // Shipwreck: nothing moves
    {DrawAncientRuins, AncientRuinsFastParts},  // Ancient Ruins
};
static_assert(std::size(kSetPieceDrawings) == kSetPieceCount, "one drawing per set piece");

const SetPieceDrawing& DrawingOf(int theme) {
  return kSetPieceDrawings[size_t(ThemeRowOf(theme).setPiece)];
}

}  // namespace

void DrawSetPiece(Graphics& g, int theme, int w, int h, double t) {
  const SetPieceDrawing& piece = DrawingOf(theme);
  if (piece.draw) piece.draw(g, float(w), float(h), t);
}

void SetPieceFastParts(int theme, int w, int h, std::vector<PixelRect>& parts) {
  parts.clear();
  const SetPieceDrawing& piece = DrawingOf(theme);
  if (piece.fastParts) piece.fastParts(w, h, parts);
}
