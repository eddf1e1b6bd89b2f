// Reef figures: Ray, Betta, Butterflyfish, Blue Tang and Lionfish. Each is a
// fixed list of fills and outlines in the creature frame (+x toward the head).
#include <vector>

#include "draw/figures.h"

namespace draw {

namespace {

// The dark top of an oval body, fading out toward its middle.
void FillBackShade(Graphics& g, const CreatureUnits& u, float length, float height) {
  FillPath(g, GradientBrush({0, -0.5f * height}, At(kBlack, u, 0.3f), {0, -0.1f * height}, kClearBlack),
           EllipsePath(-0.45f * length, -0.52f * height, 0.9f * length, 0.55f * height));
}

}  // namespace

void DrawRay(Graphics& g, const Creature& c, const CreatureUnits& u) {
  const float S = u.S, K = u.K, phi = u.phi, w = u.w;
  const float E = 1.4f * u.L;  // body length
  const float F = 1.8f * u.H;  // body height, wing tip to wing tip

  // Tail whip: starts on the axis, its wave grows toward the tip.
  std::vector<PointF> whip;
  for (int i = 0; i <= 7; ++i) {
    const float t = i / 7.0f;
    whip.push_back({-0.3f * E - 2.5f * K * t, 0.15f * t * F * Sin(phi + 4 * t)});
  }
  DrawPath(g, RoundPen(At(c.color2, u, 0.8f), 0.12f * S), LinesPath(whip.data(), int(whip.size())));

  // Body: a diamond whose wing tips sway with the tail beat.
  const Path body = PolygonPath(
      {{0.4f * E, 0}, {0, 0.1f * w * F - 0.6f * F}, {-0.35f * E, 0}, {0, 0.1f * w * F + 0.6f * F}});
  FillPath(g, GradientBrush({0, -0.6f * F}, Full(c.color1, u), {0, 0.6f * F}, Full(Lighten(c.color2, 40), u)),
           body);

  // Back shade.
  FillPolygon(g, GradientBrush({0, -0.5f * F}, At(kBlack, u, 0.3f), {0, -0.15f * F}, kClearBlack),
              {{0.3f * E, 0}, {0, -0.5f * F}, {-0.25f * E, 0}, {0, -0.15f * F}});

  // Spots, spotted variants only; each has a dark rim. Not clipped.
  if (c.pattern == 2) {
    static const PointF kSpots[] = {
        {-0.12f, -0.25f}, {0.1f, -0.1f}, {-0.05f, 0.12f}, {0.15f, 0.2f}, {0.02f, -0.02f}};
    for (const PointF& spot : kSpots) {
      const float x = spot.x * E - 0.1f * S, y = spot.y * F - 0.1f * S;
      FillEllipse(g, SolidBrush(WithAlpha(c.color3, 0xA0)), x, y, 0.2f * S, 0.2f * S);
      DrawEllipse(g, MakePen(At(kBlack, u, 0.3f), 0.8f), x, y, 0.2f * S, 0.2f * S);
    }
  }

  // Highlight.
  FillPath(g, GradientBrush({0, -0.25f * F}, At(kWhite, u, 0.4f), {0, -0.1f * F}, kClearWhite),
           EllipsePath(-0.1f * E, -0.25f * F, 0.35f * E, 0.15f * F));

  // Outline.
  DrawPath(g, MakePen(At(kBlack, u, 0.25f), 1.2f), body);

  // Two eyes on top of the head. They share the first eye's gradient, so the
  // tiled ramp meets the second eye at another phase.
  const float e = 0.1f * S;
  const PointF eyes[] = {{0.12f * E, -0.12f * F}, {0.12f * E, 0.02f * F}};
  const Brush eyeball =
      GradientBrush({eyes[0].x, eyes[0].y - e}, 0xFFF0F0F5, {eyes[0].x, eyes[0].y + e}, 0xFFC8CDD7);
  const Brush pupil = SolidBrush(0xFF14141E);
  const Brush glint = SolidBrush(0xC8FFFFFF);
  for (const PointF& eye : eyes) {
    FillPath(g, eyeball, EllipsePath(eye.x - e, eye.y - e, 2 * e, 2 * e));
    FillEllipse(g, pupil, eye.x - 0.5f * e, eye.y - 0.5f * e, e, e);
    FillEllipse(g, glint, eye.x - 0.2f * e, eye.y - 0.4f * e, 0.35f * e, 0.35f * e);
  }
}

void DrawBetta(Graphics& g, const Creature& c, const CreatureUnits& u) {
  const float K = u.K, phi = u.phi, w = u.w;
  const float B = 0.7f * u.L;  // body length
  const float D = 0.8f * u.H;  // body height

  // Fan tail: root, then 17 rim points from -1.4 to 1.4 rad, the rim rippling
  // point by point and the whole fan following the tail beat.
  std::vector<PointF> fan{{-0.35f * B, 0}};
  for (int i = 0; i <= 16; ++i) {
    const float a = i * 2.8f * 0.0625f - 1.4f;
    const float rho = (0.7f + 0.3f * Sin(1.2f * i + 0.8f * phi)) * 2.2f * K;
    fan.push_back({-0.35f * B - Cos(a) * rho, Sin(a) * rho + 0.45f * w * D});
  }
  const Path tail = PolygonPath(fan.data(), int(fan.size()));
  FillPath(
      g,
      GradientBrush({-0.35f * B, 0}, At(c.color2, u, 0.85f), {-0.35f * B - 2 * K, 0}, At(c.color3, u, 0.4f)),
      tail);
  DrawPath(g, MakePen(At(kBlack, u, 0.18f), 1), tail);

  // Dorsal fin, its tip drifting slowly.
  const Path dorsal = PolygonPath({{-0.2f * B, -0.35f * D},
                                   {0, 0.2f * w * D - 1.2f * D + 0.1f * Sin(0.6f * phi) * D},
                                   {0.25f * B, -0.9f * D},
                                   {0.3f * B, -0.3f * D}});
  FillPath(g, GradientBrush({0, -1.1f * D}, At(c.color2, u, 0.45f), {0, -0.35f * D}, At(c.color2, u, 0.85f)),
           dorsal);
  DrawPath(g, MakePen(At(kBlack, u, 0.18f), 0.9f), dorsal);

  // Anal fin, drifting out of step with the dorsal fin.
  const Path anal = PolygonPath({{-0.2f * B, 0.35f * D},
                                 {0, D - 0.2f * w * D + 0.1f * Sin(0.6f * phi + 1.2f) * D},
                                 {0.25f * B, 0.75f * D},
                                 {0.3f * B, 0.3f * D}});
  FillPath(g, GradientBrush({0, 0.35f * D}, At(c.color2, u, 0.85f), {0, 0.95f * D}, At(c.color2, u, 0.5f)),
           anal);
  DrawPath(g, MakePen(At(kBlack, u, 0.18f), 0.9f), anal);

  // Body.
  FillPath(g, GradientBrush({0, -0.5f * D}, Full(c.color1, u), {0, 0.5f * D}, Full(Lighten(c.color2, 40), u)),
           EllipsePath(-0.5f * B, -0.5f * D, B, D));

  // Back shade.
  FillBackShade(g, u, B, D);

  // Highlight.
  FillPath(g, GradientBrush({0, -0.38f * D}, At(kWhite, u, 0.5f), {0, -0.16f * D}, kClearWhite),
           EllipsePath(-0.18f * B, -0.38f * D, 0.4f * B, 0.22f * D));

  // Outline.
  DrawEllipse(g, MakePen(At(kBlack, u, 0.25f), 1.2f), -0.5f * B, -0.5f * D, B, D);

  // Gill arc.
  DrawArc(g, MakePen(At(c.color3, u, 0.3f), 1.3f), 0.02f * B, -0.28f * D, 0.2f * B, 0.56f * D, -60, 120);
}

void DrawButterflyfish(Graphics& g, const Creature& c, const CreatureUnits& u) {
  const float L = u.L, K = u.K, w = u.w;
  const float U = 1.4f * u.H;  // body height: a tall oval

  // Tail.
  FillPolygon(g,
              GradientBrush({-0.45f * L, 0}, At(c.color2, u, 0.85f), {-0.45f * L - 0.6f * K, 0},
                            At(c.color2, u, 0.45f)),
              {{-0.45f * L, 0},
               {-0.45f * L - 0.6f * K, w * U - 0.3f * U},
               {-0.45f * L - 0.6f * K, w * U + 0.3f * U}});

  // Body.
  const Path body = EllipsePath(-0.5f * L, -0.5f * U, L, U);
  FillPath(g, GradientBrush({0, -0.5f * U}, Full(c.color1, u), {0, 0.5f * U}, Full(Lighten(c.color2, 35), u)),
           body);

  // Back shade.
  FillBackShade(g, u, L, U);

  // Two vertical bands, the front one through the eye, kept inside the body.
  const uint32_t saved = SaveState(g);
  ClipToPath(g, body);
  const Brush band = SolidBrush(WithAlpha(c.color3, 0xD2));
  FillRectangle(g, band, 0.1f * L, -0.5f * U, 0.18f * L, U);
  FillRectangle(g, band, -0.3f * L, -0.5f * U, 0.12f * L, U);
  RestoreState(g, saved);

  // Highlight.
  FillPath(g, GradientBrush({0, -0.4f * U}, At(kWhite, u, 0.45f), {0, -0.2f * U}, kClearWhite),
           EllipsePath(-0.2f * L, -0.4f * U, 0.4f * L, 0.2f * U));

  // Outline.
  DrawEllipse(g, MakePen(At(kBlack, u, 0.25f), 1.2f), -0.5f * L, -0.5f * U, L, U);

  // Gill arc.
  DrawArc(g, MakePen(At(c.color3, u, 0.3f), 1.3f), 0.02f * L, -0.3f * U, 0.2f * L, 0.6f * U, -60, 120);
}

void DrawBlueTang(Graphics& g, const Creature& c, const CreatureUnits& u) {
  const float H = u.H, K = u.K, w = u.w;
  const float V = 1.1f * u.L;  // body length

  // Tail.
  const Path tail = PolygonPath(
      {{-0.4f * V, 0}, {-0.4f * V - 0.9f * K, w * H - 0.5f * H}, {-0.4f * V - 0.9f * K, w * H + 0.5f * H}});
  FillPath(g,
           GradientBrush({-0.4f * V, 0}, Full(c.color2, u), {-0.4f * V - 0.9f * K, 0}, At(c.color2, u, 0.5f)),
           tail);
  DrawPath(g, MakePen(At(kBlack, u, 0.2f), 1), tail);

  // Dorsal fin.
  const Path dorsal = PolygonPath({{-0.2f * V, -0.4f * H}, {0.05f * V, -0.8f * H}, {0.3f * V, -0.35f * H}});
  FillPath(g, GradientBrush({0, -0.75f * H}, At(c.color2, u, 0.5f), {0, -0.35f * H}, At(c.color2, u, 0.9f)),
           dorsal);
  DrawPath(g, MakePen(At(kBlack, u, 0.2f), 1), dorsal);

  // Body, shaded in its own colour.
  const Path body = EllipsePath(-0.5f * V, -0.5f * H, V, H);
  FillPath(g, GradientBrush({0, -0.5f * H}, Full(c.color1, u), {0, 0.5f * H}, Full(Lighten(c.color1, 40), u)),
           body);

  // Back shade.
  FillBackShade(g, u, V, H);

  // Dark mask, kept inside the body.
  const uint32_t saved = SaveState(g);
  ClipToPath(g, body);
  FillPolygon(g, SolidBrush(WithAlpha(c.color3, 0xE6)),
              {{-0.1f * V, -0.45f * H},
               {0.15f * V, -0.3f * H},
               {0.2f * V, 0},
               {0.15f * V, 0.3f * H},
               {-0.1f * V, 0.45f * H},
               {-0.25f * V, 0}});
  RestoreState(g, saved);

  // Highlight.
  FillPath(g, GradientBrush({0, -0.38f * H}, At(kWhite, u, 0.45f), {0, -0.18f * H}, kClearWhite),
           EllipsePath(-0.18f * V, -0.38f * H, 0.38f * V, 0.2f * H));

  // Outline.
  DrawEllipse(g, MakePen(At(kBlack, u, 0.25f), 1.2f), -0.5f * V, -0.5f * H, V, H);

  // Gill arc, black on this species.
  DrawArc(g, MakePen(At(kBlack, u, 0.3f), 1.3f), 0.02f * V, -0.28f * H, 0.2f * V, 0.56f * H, -60, 120);
}

void DrawLionfish(Graphics& g, const Creature& c, const CreatureUnits& u) {
  const float L = u.L, H = u.H, K = u.K, phi = u.phi, w = u.w;

  // Crest of eight dorsal spines, rising and falling in a wave.
  for (int i = 0; i <= 7; ++i) {
    const float x = i * 0.55f * 0.125f * L - 0.25f * L;
    const float h = (1 + 0.4f * Sin(0.9f * i + 0.5f * phi)) * H;
    FillPolygon(
        g, GradientBrush({x, -0.35f * H}, At(c.color2, u, 0.7f), {x, -0.35f * H - h}, At(c.color1, u, 0.4f)),
        {{x, -0.35f * H}, {x + 0.03f * L, -0.35f * H - h}, {x + 0.06f * L, -0.35f * H}});
  }

  // Pectoral fan: from the body's centre, opening downward and backward.
  std::vector<PointF> fan{{0, 0}};
  for (int i = 0; i <= 10; ++i) {
    const float a = 2 * i / 10.0f + 0.2f;
    const float rho = (0.8f + 0.2f * Sin(1.1f * i + phi)) * 1.3f * H;
    fan.push_back({Cos(a) * rho, Sin(a) * rho + 0.16f * w * H});
  }
  FillPolygon(g, GradientBrush({0, 0}, At(c.color2, u, 0.6f), {0, 1.3f * H}, At(c.color1, u, 0.3f)),
              fan.data(), int(fan.size()));

  // Tail.
  FillPolygon(g,
              GradientBrush({-0.45f * L, 0}, At(c.color2, u, 0.85f), {-0.45f * L - 0.7f * K, 0},
                            At(c.color2, u, 0.45f)),
              {{-0.45f * L, 0},
               {-0.45f * L - 0.7f * K, w * H - 0.4f * H},
               {-0.45f * L - 0.7f * K, w * H + 0.4f * H}});

  // Body.
  const Path body = EllipsePath(-0.5f * L, -0.5f * H, L, H);
  FillPath(g, GradientBrush({0, -0.5f * H}, Full(c.color1, u), {0, 0.5f * H}, Full(Lighten(c.color2, 35), u)),
           body);

  // Back shade.
  FillBackShade(g, u, L, H);

  // Five stripes, kept inside the body.
  const uint32_t saved = SaveState(g);
  ClipToPath(g, body);
  for (int i = 0; i <= 4; ++i) {
    FillRectangle(g, SolidBrush(WithAlpha(c.color3, 0xBE)), i * 0.18f * L - 0.3f * L, -0.5f * H, 0.07f * L,
                  H);
  }
  RestoreState(g, saved);

  // Highlight.
  FillPath(g, GradientBrush({0, -0.38f * H}, At(kWhite, u, 0.45f), {0, -0.18f * H}, kClearWhite),
           EllipsePath(-0.18f * L, -0.38f * H, 0.38f * L, 0.2f * H));

  // Outline.
  DrawEllipse(g, MakePen(At(kBlack, u, 0.25f), 1.2f), -0.5f * L, -0.5f * H, L, H);

  // Gill arc.
  DrawArc(g, MakePen(At(c.color3, u, 0.3f), 1.3f), 0.02f * L, -0.28f * H, 0.2f * L, 0.56f * H, -60, 120);
}

}  // namespace draw
