// Overlays drawn over the creatures: the Deep Sea haze and the Koi Pond
// ripple lines. Other themes have none.
#include <algorithm>
#include <iterator>
#include <vector>

#include "scene/layers.h"

using namespace draw;

namespace {

// A faint blue haze over the top 30 % of the window, creatures included.
void DrawDeepSeaTint(Graphics& g, int w, int h) {
  const int bottom = int(0.3 * h);
  FillRectangleI(g, GradientBrushI(0, 0, 0x1928508C, 0, bottom, 0x0028508C), 0, 0, w, bottom);
}

// Five faint wavy lines across the upper water, drifting sideways with time.
void DrawKoiRipples(Graphics& g, int w, int h, double t) {
  const Pen pen = MakePen(0x19FFFFFF, 1);
  for (int i = 0; i < 5; ++i) {
    const float yi = (0.15f + 0.1f * i) * h;
    const double pi = 1.2f * i + 0.8 * t;
    std::vector<PointF> line;
    for (int x = 0; x <= w; x += 12) line.push_back({float(x), yi + 3 * Sin(0.01f * x + pi)});
    DrawLines(g, pen, line.data(), int(line.size()));
  }
}

// The rows each overlay covers, with a margin for its anti-aliased edges.
void DeepSeaTintRows(int h, int& top, int& bottom) {
  top = 0;
  bottom = int(0.3 * h) + 1;
}

void KoiRipplesRows(int h, int& top, int& bottom) {
  top = std::max(0, int(0.15f * h) - 5);
  bottom = int(0.55f * h) + 6;
}

struct OverlayDrawing {
  void (*draw)(Graphics& g, int w, int h, double t);
  void (*rows)(int h, int& top, int& bottom);
};
void DrawDeepSeaTintAt(Graphics& g, int w, int h, double) {
  DrawDeepSeaTint(g, w, h);
}
constexpr OverlayDrawing kOverlayDrawings[] = {
    {nullptr, nullptr},                    // none
    {DrawDeepSeaTintAt, DeepSeaTintRows},  // Deep Sea Aquarium
    {DrawKoiRipples, KoiRipplesRows},      // Koi Pond
};
static_assert(std::size(kOverlayDrawings) == kOverlayCount, "one drawing per overlay");

const OverlayDrawing& DrawingOf(int theme) {
  return kOverlayDrawings[size_t(ThemeRowOf(theme).overlay)];
}

}  // namespace

void DrawOverlay(Graphics& g, int theme, int w, int h, double t) {
  const OverlayDrawing& overlay = DrawingOf(theme);
  if (overlay.draw) overlay.draw(g, w, h, t);
}

void OverlayRows(int theme, int h, int& top, int& bottom) {
  top = bottom = 0;
  const OverlayDrawing& overlay = DrawingOf(theme);
  if (overlay.rows) overlay.rows(h, top, bottom);
  bottom = std::min(bottom, h);
}
