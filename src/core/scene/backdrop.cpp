// Water, surface, light rays, sand and rocks: the same shapes in every theme,
// only the palette (and the Koi Pond glow) changes.
#include <vector>

#include "scene/layers.h"

using namespace draw;

namespace {

// Alphas computed from a ray's intensity keep only their low byte.
uint8_t LowByte(float value) {
  if (!(value > -2147483648.0f && value < 2147483647.0f)) return 0;  // NaN or out of int range
  return uint8_t(int(value) & 0xFF);
}

struct Rock {
  float cx, cy, r;  // centre as fractions of w and h, radius in pixels
};
constexpr Rock kRocks[] = {{0.12f, 0.93f, 18}, {0.35f, 0.95f, 22}, {0.62f, 0.92f, 26}, {0.85f, 0.94f, 30}};

}  // namespace

void DrawWater(Graphics& g, const ScenePalette& palette, int theme, int w, int h, double t) {
  DrawWaterColumn(g, palette, theme, w, h);
  DrawSurfaceRipples(g, w, h, t);
}

void DrawWaterColumn(Graphics& g, const ScenePalette& palette, int theme, int w, int h) {
  // Water column, top to bottom.
  FillRectangleI(g, GradientBrushI(0, 0, palette.waterTop, 0, h, palette.waterBottom), 0, 0, w, h);

  // Mid-water band: fades in downwards, hard edge at about 0.7 h.
  FillRectangleI(g,
                 GradientBrushI(0, int(0.2 * h), WithAlpha(palette.midWater, 0), 0, int(0.7 * h),
                                WithAlpha(palette.midWater, 0xFF)),
                 0, int(0.2 * h), w, int(0.5 * h));

  // Surface glow.
  FillRectangleI(
      g, GradientBrushI(0, 0, WithAlpha(0xFFFFFF, SurfaceGlowAlpha(theme)), 0, int(0.08 * h), 0x00FFFFFF), 0,
      0, w, int(0.08 * h));
}

void DrawSurfaceRipples(Graphics& g, int w, int h, double t) {
  // Three wavy lines just under the surface.
  const Pen ripple = MakePen(0x1EC8E6FF, 1.5f);
  for (int i = 0; i < 3; ++i) {
    const int yi = int((0.02 + 0.015 * i) * h);
    std::vector<PointF> line;
    for (int x = 0; x <= w; x += 8) line.push_back({float(x), yi + 2 * Sin(0.02f * x + 1.5f * t + i)});
    DrawLines(g, ripple, line.data(), int(line.size()));
  }
}

void DrawLightRays(Graphics& g, const std::vector<LightRay>& rays, Color light, int h, double t) {
  const float H = float(h);
  for (const LightRay& ray : rays) {
    const double s = t * ray.rate;
    const float X = ray.x + 25 * Sin(ray.phase + s);
    const float B = X + 15 * Sin(0.7f * ray.phase + 0.5f * s) + 0.7f * ray.slant * H;
    const float wd = ray.width;

    // Beam.
    FillPolygon(
        g,
        GradientBrushI(0, 0, WithAlpha(light, LowByte(0.8f * ray.intensity)), 0, int(0.78 * h),
                       WithAlpha(light, 0)),
        {{X - 0.6f * wd, 0}, {X + 0.6f * wd, 0}, {B + 1.5f * wd, 0.78f * H}, {B - 1.5f * wd, 0.78f * H}});
    // Core.
    FillPolygon(
        g,
        GradientBrushI(0, 0, WithAlpha(light, LowByte(1.2f * ray.intensity)), 0, int(0.65 * h),
                       WithAlpha(light, 0)),
        {{X - 0.15f * wd, 0}, {X + 0.15f * wd, 0}, {B + 0.4f * wd, 0.65f * H}, {B - 0.4f * wd, 0.65f * H}});
    // Source glow, centred on (X, 0).
    FillEllipse(g, SolidBrush(WithAlpha(light, LowByte(0.5f * ray.intensity))), X - 0.8f * wd, -0.24f * wd,
                1.6f * wd, 0.48f * wd);
  }
}

void DrawSeaFloor(Graphics& g, Color floor, int w, int h, double t) {
  const int yf = h - int(0.12 * h);
  std::vector<PointF> sand{{0, float(h)}};
  for (int x = 0; x <= w; x += 20) sand.push_back({float(x), yf + 6 * Sin(0.015f * x + 0.3f * t)});
  sand.push_back({float(w), float(h)});
  FillPolygon(g, GradientBrushI(0, yf, WithAlpha(floor, 0xC8), 0, h, Darkened(floor, 0.7, 0xFF)), sand.data(),
              int(sand.size()));
}

void DrawRocks(Graphics& g, int w, int h) {
  for (const Rock& rock : kRocks) {
    const float cx = rock.cx * w, cy = rock.cy * h, r = rock.r;
    FillEllipse(g, GradientBrush({cx - r, cy - r}, 0xFF786E64, {cx + r, cy + r}, 0xFF3C3732), cx - r,
                cy - 0.6f * r, 2 * r, 1.2f * r);
  }
}
