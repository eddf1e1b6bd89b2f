// Overlays drawn over the creatures: the Deep Sea haze and the Koi Pond
// ripple lines. Other themes have none.
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

}  // namespace

void DrawOverlay(Graphics& g, int theme, int w, int h, double t) {
  switch (theme) {
    case 2:
      DrawDeepSeaTint(g, w, h);
      break;
    case 3:
      DrawKoiRipples(g, w, h, t);
      break;
    default:
      break;
  }
}
