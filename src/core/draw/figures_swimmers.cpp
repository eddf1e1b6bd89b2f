// The open-water fish: the generic body (Tropical Fish, Clownfish), Angelfish,
// Goldfish, Guppy and Shark. Each figure is drawn in the creature frame and
// followed by the shared eye, pectoral fin and haze.
#include <vector>

#include "draw/figures.h"

namespace draw {

namespace {

Path BezierBand(PointF a0, PointF a1, PointF a2, PointF a3, PointF b0, PointF b1, PointF b2, PointF b3) {
  Path path = MakePath();
  StartFigure(path);
  AddBezier(path, a0, a1, a2, a3);
  AddBezier(path, b0, b1, b2, b3);
  CloseFigure(path);
  return path;
}

}  // namespace

void DrawGenericFishBody(Graphics& g, const Creature& c, const CreatureUnits& u) {
  const float L = u.L, H = u.H, K = u.K, w = u.w, phi = u.phi, b = c.tilt;
  // The body bends with the tilt and ripples with a wave running head to tail.
  const float t0 = 0.25f * b * H + 0.16f * Sin(phi) * H;
  const float t1 = 0.7f * t0;
  const float t2 = 0.15f * b * H + 0.09f * Sin(phi + 0.4f) * H;
  const float t3 = 0.05f * b * H + 0.03f * Sin(phi + 0.8f) * H;

  // Tail.
  FillPolygon(
      g, GradientBrush({-0.45f * L, 0}, At(c.color2, u, 0.9f), {-0.45f * L - K, 0}, At(c.color2, u, 0.5f)),
      {{-0.45f * L, 0}, {-0.45f * L - K, w * H - 0.55f * H}, {-0.45f * L - K, w * H + 0.55f * H}});
  // Dorsal fin.
  FillPolygon(g,
              GradientBrush({0, -0.85f * H}, At(c.color2, u, 0.5f), {0, -0.4f * H}, At(c.color2, u, 0.85f)),
              {{-0.2f * L, -0.42f * H},
               {0.05f * L, -(0.85f + 0.15f * Sin(0.8f * phi)) * H},
               {0.25f * L, -0.4f * H},
               {0.1f * L, -0.38f * H}});
  // Ventral fin.
  FillPolygon(g, GradientBrush({0, 0.38f * H}, At(c.color2, u, 0.8f), {0, 0.65f * H}, At(c.color2, u, 0.45f)),
              {{-0.15f * L, 0.4f * H},
               {0.05f * L, (0.65f + 0.12f * Sin(0.8f * phi + 1.5f)) * H},
               {0.2f * L, 0.38f * H},
               {0.05f * L, 0.36f * H}});
  // Body: upper and lower contour; closing adds the tail edge and the blunt nose.
  const Path body =
      BezierBand({0.42f * L, t3 - 0.32f * H}, {0.12f * L, t2 - 0.52f * H}, {-0.12f * L, t1 - 0.52f * H},
                 {-0.42f * L, t0 - 0.38f * H}, {-0.42f * L, t0 + 0.38f * H}, {-0.12f * L, t1 + 0.52f * H},
                 {0.12f * L, t2 + 0.52f * H}, {0.42f * L, t3 + 0.32f * H});
  FillPath(g,
           GradientBrush({0, -0.5f * H}, WithAlpha(c.color1, u.A), {0, 0.5f * H},
                         WithAlpha(Lighten(c.color2, 40), u.A)),
           body);
  // Back shade.
  FillPath(
      g, GradientBrush({0, -0.45f * H}, At(kBlack, u, 0.3f), {0, -0.1f * H}, kClearBlack),
      BezierBand({0.35f * L, t3 - 0.28f * H}, {0.08f * L, t2 - 0.45f * H}, {-0.08f * L, t1 - 0.45f * H},
                 {-0.35f * L, t0 - 0.32f * H}, {-0.35f * L, t0 - 0.15f * H}, {-0.08f * L, t1 - 0.25f * H},
                 {0.08f * L, t2 - 0.25f * H}, {0.35f * L, t3 - 0.12f * H}));
  DrawPatternOverlay(g, c, L, H, body);
  // Highlight.
  FillPath(g, GradientBrush({0, -0.38f * H}, At(kWhite, u, 0.5f), {0, -0.18f * H}, kClearWhite),
           EllipsePath(-0.2f * L, 0.5f * t2 - 0.38f * H, 0.42f * L, 0.2f * H));
  // Outline and gill arc.
  DrawPath(g, MakePen(At(kBlack, u, 0.25f), 1.2f), body);
  DrawArc(g, MakePen(At(c.color3, u, 0.3f), 1.5f), 0.02f * L, 0.5f * t3 - 0.3f * H, 0.24f * L, 0.6f * H, -60,
          120);
}

// A tall disc with long dorsal and anal fins.
void DrawAngelfish(Graphics& g, const Creature& c, const CreatureUnits& u) {
  const float L = u.L, K = u.K, w = u.w, phi = u.phi;
  const float T = 1.6f * u.H;

  // Dorsal fin.
  const Path dorsal = PolygonPath({{-0.3f * L, -0.3f * T},
                                   {-0.1f * L, 0.3f * w * T - 1.1f * T + 0.12f * Sin(0.7f * phi) * T},
                                   {0.2f * L, -0.9f * T},
                                   {0.3f * L, -0.3f * T}});
  FillPath(g, GradientBrush({0, -T}, At(c.color2, u, 0.5f), {0, -0.3f * T}, At(c.color2, u, 0.85f)), dorsal);
  DrawPath(g, MakePen(At(kBlack, u, 0.2f), 1), dorsal);
  // Anal fin.
  const Path anal = PolygonPath({{-0.3f * L, 0.3f * T},
                                 {-0.1f * L, T - 0.3f * w * T + 0.1f * Sin(0.7f * phi + 1.5f) * T},
                                 {0.2f * L, 0.8f * T},
                                 {0.3f * L, 0.3f * T}});
  FillPath(g, GradientBrush({0, 0.3f * T}, At(c.color2, u, 0.85f), {0, 0.9f * T}, At(c.color2, u, 0.5f)),
           anal);
  DrawPath(g, MakePen(At(kBlack, u, 0.2f), 1), anal);
  // Tail.
  FillPolygon(
      g,
      GradientBrush({-0.4f * L, 0}, At(c.color2, u, 0.85f), {-0.4f * L - 0.8f * K, 0},
                    At(c.color2, u, 0.45f)),
      {{-0.4f * L, 0}, {-0.4f * L - 0.8f * K, w * T - 0.4f * T}, {-0.4f * L - 0.8f * K, w * T + 0.4f * T}});
  // Body.
  const Path body = EllipsePath(-0.45f * L, -0.5f * T, 0.9f * L, T);
  FillPath(g,
           GradientBrush({0, -0.5f * T}, WithAlpha(c.color1, u.A), {0, 0.5f * T},
                         WithAlpha(Lighten(c.color2, 35), u.A)),
           body);
  // Back shade.
  FillPath(g, GradientBrush({0, -0.5f * T}, At(kBlack, u, 0.3f), {0, -0.1f * T}, kClearBlack),
           EllipsePath(-0.4f * L, -0.52f * T, 0.8f * L, 0.55f * T));
  DrawPatternOverlay(g, c, 0.9f * L, T, body);
  // Highlight.
  FillPath(g, GradientBrush({0, -0.4f * T}, At(kWhite, u, 0.45f), {0, -0.15f * T}, kClearWhite),
           EllipsePath(-0.2f * L, -0.4f * T, 0.4f * L, 0.25f * T));
  // Outline and gill arc.
  DrawEllipse(g, MakePen(At(kBlack, u, 0.25f), 1.2f), -0.45f * L, -0.5f * T, 0.9f * L, T);
  DrawArc(g, MakePen(At(c.color3, u, 0.3f), 1.5f), 0.02f * L, -0.3f * T, 0.22f * L, 0.6f * T, -60, 120);
}

// A round body with a large two-lobed tail and a dorsal hump.
void DrawGoldfish(Graphics& g, const Creature& c, const CreatureUnits& u) {
  const float K = u.K, w = u.w;
  const float G = 0.85f * u.L, J = 1.3f * u.H;

  // Tail: two lobes, one brush shading both along the same line.
  const Brush tail =
      GradientBrush({-0.4f * G, 0}, At(c.color2, u, 0.85f), {-0.4f * G - 1.3f * K, 0}, At(c.color2, u, 0.4f));
  FillPolygon(g, tail,
              {{-0.4f * G, -0.1f * J},
               {-0.4f * G - 1.3f * K, 1.2f * w * J - 0.7f * J},
               {-0.4f * G - 0.6f * K, -0.05f * J}});
  FillPolygon(g, tail,
              {{-0.4f * G, 0.1f * J},
               {-0.4f * G - 1.3f * K, 1.2f * w * J + 0.7f * J},
               {-0.4f * G - 0.6f * K, 0.05f * J}});
  // Body.
  const Path body = EllipsePath(-0.5f * G, -0.5f * J, G, J);
  FillPath(g,
           GradientBrush({0, -0.5f * J}, WithAlpha(c.color1, u.A), {0, 0.5f * J},
                         WithAlpha(Lighten(c.color2, 40), u.A)),
           body);
  // Back shade.
  FillPath(g, GradientBrush({0, -0.5f * J}, At(kBlack, u, 0.3f), {0, -0.1f * J}, kClearBlack),
           EllipsePath(-0.45f * G, -0.52f * J, 0.9f * G, 0.55f * J));
  DrawPatternOverlay(g, c, G, J, body);
  // Dorsal hump.
  FillPath(g, GradientBrush({0, -0.65f * J}, At(c.color1, u, 0.95f), {0, -0.3f * J}, At(c.color1, u, 0.7f)),
           EllipsePath(-0.15f * G, -0.65f * J, 0.4f * G, 0.35f * J));
  // Highlight.
  FillPath(g, GradientBrush({0, -0.4f * J}, At(kWhite, u, 0.5f), {0, -0.18f * J}, kClearWhite),
           EllipsePath(-0.2f * G, -0.4f * J, 0.4f * G, 0.22f * J));
  // Outline and gill arc.
  DrawEllipse(g, MakePen(At(kBlack, u, 0.25f), 1.2f), -0.5f * G, -0.5f * J, G, J);
  DrawArc(g, MakePen(At(c.color3, u, 0.3f), 1.5f), 0.02f * G, -0.3f * J, 0.22f * G, 0.6f * J, -60, 120);
}

// A small body with a large fan tail.
void DrawGuppy(Graphics& g, const Creature& c, const CreatureUnits& u) {
  const float K = u.K, w = u.w, phi = u.phi;
  const float P = 0.6f * u.L, Q = 0.7f * u.H;

  // Fan tail: the root, then 13 rim points whose radius ripples point by point;
  // the whole fan rises and falls with the tail beat.
  std::vector<PointF> fan;
  fan.reserve(14);
  fan.push_back({-0.3f * P, 0});
  for (int i = 0; i <= 12; ++i) {
    const float a = i * 2.4f / 12 - 1.2f;
    const float rho = (0.85f + 0.15f * Sin(phi + 1.7f * i)) * 1.5f * K;
    fan.push_back({-0.3f * P - Cos(a) * rho, Sin(a) * rho + 0.5f * w * Q});
  }
  const Path tail = PolygonPath(fan.data(), int(fan.size()));
  FillPath(
      g,
      GradientBrush({-0.3f * P, 0}, At(c.color2, u, 0.9f), {-0.3f * P - 1.5f * K, 0}, At(c.color3, u, 0.45f)),
      tail);
  DrawPath(g, MakePen(At(kBlack, u, 0.2f), 0.8f), tail);
  // Body.
  const Path body = EllipsePath(-0.5f * P, -0.5f * Q, P, Q);
  FillPath(g,
           GradientBrush({0, -0.5f * Q}, WithAlpha(c.color1, u.A), {0, 0.5f * Q},
                         WithAlpha(Lighten(c.color2, 40), u.A)),
           body);
  // Back shade.
  FillPath(g, GradientBrush({0, -0.5f * Q}, At(kBlack, u, 0.3f), {0, -0.1f * Q}, kClearBlack),
           EllipsePath(-0.45f * P, -0.52f * Q, 0.9f * P, 0.55f * Q));
  DrawPatternOverlay(g, c, P, Q, body);
  // Highlight.
  FillPath(g, GradientBrush({0, -0.4f * Q}, At(kWhite, u, 0.5f), {0, -0.2f * Q}, kClearWhite),
           EllipsePath(-0.2f * P, -0.4f * Q, 0.38f * P, 0.2f * Q));
  // Outline and gill arc.
  DrawEllipse(g, MakePen(At(kBlack, u, 0.25f), 1), -0.5f * P, -0.5f * Q, P, Q);
  DrawArc(g, MakePen(At(c.color3, u, 0.3f), 1.2f), 0.02f * P, -0.28f * Q, 0.2f * P, 0.56f * Q, -60, 120);
}

// A long, slender, pointed body; no pattern.
void DrawShark(Graphics& g, const Creature& c, const CreatureUnits& u) {
  const float K = u.K, w = u.w;
  const float M = 1.6f * u.L, N = 0.7f * u.H;

  // Forked tail.
  const Path tail = PolygonPath({{-0.45f * M, 0},
                                 {-0.45f * M - K, w * N - 0.8f * N},
                                 {-0.45f * M - 0.5f * K, 0},
                                 {-0.45f * M - K, w * N + 0.8f * N}});
  FillPath(
      g, GradientBrush({-0.45f * M, 0}, At(c.color2, u, 0.85f), {-0.45f * M - K, 0}, At(c.color2, u, 0.45f)),
      tail);
  DrawPath(g, MakePen(At(kBlack, u, 0.2f), 1), tail);
  // Dorsal fin.
  const Path dorsal = PolygonPath({{-0.1f * M, -0.4f * N}, {0.05f * M, -1.3f * N}, {0.2f * M, -0.4f * N}});
  FillPath(g, GradientBrush({0, -1.2f * N}, At(c.color2, u, 0.5f), {0, -0.4f * N}, At(c.color2, u, 0.9f)),
           dorsal);
  DrawPath(g, MakePen(At(kBlack, u, 0.2f), 1), dorsal);
  // Pectoral fin.
  FillPolygon(
      g, GradientBrush({0.1f * M, 0.2f * N}, At(c.color2, u, 0.8f), {0, 0.9f * N}, At(c.color2, u, 0.4f)),
      {{0.1f * M, 0.2f * N}, {0, 0.9f * N}, {0.3f * M, 0.4f * N}});
  // Body.
  const Path body = PolygonPath({{0.5f * M, 0},
                                 {0.2f * M, -0.45f * N},
                                 {-0.3f * M, -0.4f * N},
                                 {-0.45f * M, 0},
                                 {-0.3f * M, 0.4f * N},
                                 {0.2f * M, 0.45f * N}});
  FillPath(g,
           GradientBrush({0, -0.5f * N}, WithAlpha(c.color1, u.A), {0, 0.5f * N},
                         WithAlpha(Lighten(c.color2, 50), u.A)),
           body);
  // Back shade.
  FillPolygon(g, GradientBrush({0, -0.4f * N}, At(kBlack, u, 0.3f), {0, -0.1f * N}, kClearBlack),
              {{0.4f * M, -0.1f * N},
               {0.15f * M, -0.4f * N},
               {-0.25f * M, -0.35f * N},
               {-0.35f * M, -0.1f * N},
               {-0.25f * M, -0.15f * N},
               {0.15f * M, -0.18f * N}});
  // Pale belly.
  FillPath(g, GradientBrush({0, 0.05f * N}, At(0xE6EBF5, u, 0.6f), {0, 0.45f * N}, 0x00E6EBF5),
           EllipsePath(-0.3f * M, 0.05f * N, 0.6f * M, 0.4f * N));
  // Highlight.
  FillPath(g, GradientBrush({0, -0.35f * N}, At(kWhite, u, 0.4f), {0, -0.2f * N}, kClearWhite),
           EllipsePath(-0.15f * M, -0.35f * N, 0.4f * M, 0.15f * N));
  // Outline.
  DrawPath(g, MakePen(At(kBlack, u, 0.25f), 1.2f), body);
  // Five gill slits, each slanting forward from top to bottom.
  const Pen gill = MakePen(At(kBlack, u, 0.35f), 1);
  for (int i = 0; i < 5; ++i) {
    const float x = (0.18f + 0.04f * i) * M;
    DrawLine(g, gill, x, -0.25f * N, x + 0.02f * M, 0.2f * N);
  }
}

}  // namespace draw
