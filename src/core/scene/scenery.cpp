// The scenery the aquarium holds as records: starfish, corals, plants and
// bubbles. Same shapes and colours in every theme.
#include <cstddef>
#include <vector>

#include "scene/layers.h"

using namespace draw;

namespace {

void DrawFanCoral(Graphics& g, const Coral& c, float sw) {
  const float s = c.size;
  PointF fan[14] = {{c.x, c.y}};
  for (int k = 0; k <= 12; ++k) {
    const float ak = 4.4f * k / 12 - 2.2f;
    const float rk = (0.8f + 0.2f * Sin(0.8f * k + c.phase)) * s;
    fan[k + 1] = {c.x + Sin(ak) * rk + sw, c.y - Cos(ak) * rk};
  }
  FillPolygon(
      g, GradientBrush({c.x, c.y}, WithAlpha(c.color, 0xDC), {c.x + sw, c.y - s}, WithAlpha(c.color, 0x8C)),
      fan, 14);
}

void DrawFingerCoral(Graphics& g, const Coral& c, float sw) {
  const float s = c.size;
  const Brush brush = SolidBrush(WithAlpha(c.color, 0xC8));
  for (int j = 0; j <= 4; ++j) {
    const float bx = c.x + (j - 2) * 0.25f * s;
    const float hj = (0.6f + 0.4f * Sin(1.3f * j + c.phase)) * s;
    const float lj = (0.5f + 0.1f * j) * sw;
    FillPolygon(g, brush,
                {{bx - 0.08f * s, c.y},
                 {bx + lj - 0.05f * s, c.y - 0.7f * hj},
                 {bx + lj + 0.12f * s, c.y - hj},
                 {bx + 0.08f * s, c.y}});
  }
}

void DrawBoulderCoral(Graphics& g, const Coral& c) {
  const float s = c.size;
  for (int j = 0; j <= 3; ++j) {
    const float cx = c.x + (j - 1.5f) * 0.3f * s;
    const float cy = c.y - 0.2f * s - (j % 2 == 1 ? 0.15f * s : 0);
    const float rj = (0.3f + 0.1f * Sin(j + c.phase)) * s;
    FillEllipse(g,
                GradientBrush({cx - rj, cy - rj}, WithAlpha(c.color, 0xD2), {cx + rj, cy + rj},
                              WithAlpha(c.color, 0x96)),
                cx - rj, cy - 0.8f * rj, 2 * rj, 1.6f * rj);
  }
}

void DrawTubeSponges(Graphics& g, const Coral& c) {
  const float s = c.size;
  for (int j = 0; j <= 5; ++j) {
    const float tx = c.x + (j - 2.5f) * 0.18f * s;
    const float th = (0.5f + 0.5f * Sin(1.1f * j + c.phase)) * s;
    // Tube, then its opening.
    FillEllipse(g,
                GradientBrush({tx, c.y}, WithAlpha(c.color, 0xC8), {tx, c.y - th}, WithAlpha(c.color, 0x78)),
                tx - 0.07f * s, c.y - th, 0.14f * s, th);
    FillEllipse(g, SolidBrush(WithAlpha(c.color, 0xF0)), tx - 0.08f * s, c.y - th - 0.04f * s, 0.16f * s,
                0.08f * s);
  }
}

}  // namespace

void DrawStarfish(Graphics& g, const Starfish& star) {
  const float s = star.size;
  const uint32_t token = SaveState(g);
  Translate(g, star.x, star.y);
  Rotate(g, star.rotation * 57.3f);

  // Five arms: tips at radius s, notches at 0.45 s, the first tip straight up.
  PointF outline[10];
  for (int i = 0; i < 10; ++i) {
    const float ai = i * 3.14159f / 5 - 1.570795f;
    const float ri = i % 2 == 0 ? s : 0.45f * s;
    outline[i] = {Cos(ai) * ri, Sin(ai) * ri};
  }
  FillPolygon(g, GradientBrush({0, -s}, WithAlpha(star.color, 0xE6), {0, s}, WithAlpha(star.color, 0xB4)),
              outline, 10);
  FillEllipse(g, SolidBrush(WithAlpha(star.color, 0xFF)), -0.15f * s, -0.15f * s, 0.3f * s, 0.3f * s);

  RestoreState(g, token);
}

void DrawCoral(Graphics& g, const Coral& coral, double t) {
  const float sw = 0.08f * coral.size * Sin(0.5f * t + coral.phase);
  switch (coral.kind) {
    case 0:
      DrawFanCoral(g, coral, sw);
      break;
    case 1:
      DrawFingerCoral(g, coral, sw);
      break;
    case 2:
      DrawBoulderCoral(g, coral);
      break;
    default:
      DrawTubeSponges(g, coral);
      break;
  }
}

void DrawPlant(Graphics& g, const PlantClump& plant, int h) {
  const float yb = 0.9f * h;
  // A record without steps would divide by zero: draw it with one step.
  const int n = plant.blades < 1 ? 1 : plant.blades;

  // One closed outline of 2n + 3 points: the root, the left edge upwards, the
  // right edge downwards lagging 0.5 rad of sway behind.
  std::vector<PointF> outline;
  outline.reserve(2 * std::size_t(n) + 3);
  outline.push_back({plant.x - 0.3f * plant.width, yb});
  for (int i = 0; i <= n; ++i) {
    const float f = float(i) / n;
    outline.push_back(
        {plant.x + 0.8f * plant.width * f * Sin(2.5f * f + plant.swayPhase), yb - f * plant.height});
  }
  for (int i = n; i >= 0; --i) {
    const float f = float(i) / n;
    outline.push_back({plant.x + 0.8f * plant.width * f * Sin(2.5f * f + plant.swayPhase + 0.5f) +
                           0.5f * plant.width * (1 - 0.5f * f),
                       yb - f * plant.height});
  }
  FillPolygon(g,
              GradientBrush({plant.x, yb}, WithAlpha(plant.color, 0xFF), {plant.x, yb - plant.height},
                            Darkened(plant.color, 0.6, 0xC8)),
              outline.data(), int(outline.size()));
}

void DrawBubble(Graphics& g, const Bubble& b) {
  const float r = b.radius;
  DrawEllipse(g, MakePen(0x78C8E6FF, 1.2f), b.x - r, b.y - r, 2 * r, 2 * r);
  FillEllipse(g, SolidBrush(0x50FFFFFF), b.x - 0.3f * r, b.y - 0.4f * r, 0.5f * r, 0.5f * r);
}

void DrawScenery(Graphics& g, const Aquarium& aquarium, int h) {
  for (const Starfish& star : aquarium.starfish) DrawStarfish(g, star);
  for (const Coral& coral : aquarium.corals) DrawCoral(g, coral, aquarium.elapsed);
  for (const PlantClump& plant : aquarium.plants) DrawPlant(g, plant, h);
  for (const Bubble& bubble : aquarium.bubbles) DrawBubble(g, bubble);
}
