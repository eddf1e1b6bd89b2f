// Drifter figures: Jellyfish, Seahorse, Pufferfish, Sea Turtle and Octopus.
// Their shapes follow only size, swim phase φ, pulse phase ψ, the colours and
// the opacity; none of them reads the pattern.
#include <vector>

#include "draw/figures.h"

namespace draw {

namespace {}  // namespace

void DrawJellyfish(Graphics& g, const Creature& c, const CreatureUnits& u) {
  const float S = u.S, psi = u.psi;
  // The pulse widens and flattens the bell, then narrows and stretches it.
  const float p = 0.85f + 0.15f * Sin(psi);
  const float W = 1.6f * S * p;            // bell width
  const float B = 1.2f * S * (1.85f - p);  // bell height

  // Six tentacles hanging from under the bell, swaying more toward the tips.
  for (int i = 0; i <= 5; ++i) {
    const float root = 0.8f * W * i / 5 - 0.4f * W;
    std::vector<PointF> tentacle;
    for (int j = 0; j <= 7; ++j) {
      const float f = j / 7.0f;
      tentacle.push_back({root + 0.15f * W * f * Sin(0.8f * i + psi + 3 * f), 0.3f * B + 2.5f * S * f});
    }
    Pen pen = MakePen(At(c.color2, u, 0.5f), 0.06f * S);
    SetRoundStartCap(pen);
    DrawPath(g, pen, LinesPath(tentacle.data(), int(tentacle.size())));
  }

  // Bell, and the wavy band of its rim below the straight lower edge.
  const Path bell = PolygonPath(
      {{-0.5f * W, 0.2f * B}, {-0.4f * W, -0.6f * B}, {0.4f * W, -0.6f * B}, {0.5f * W, 0.2f * B}});
  std::vector<PointF> wave{{-0.5f * W, 0.2f * B}};
  for (int k = 0; k <= 10; ++k) {
    const float t = k / 10.0f;
    wave.push_back({t * W - 0.5f * W, 0.2f * B + 0.1f * B * Sin(6.28f * t + psi)});
  }
  const Path rim = PolygonPath(wave.data(), int(wave.size()));

  // One translucent gradient for bell and rim.
  const Brush jelly =
      GradientBrush({0, -0.6f * B}, At(c.color1, u, 0.5f), {0, 0.3f * B}, At(c.color2, u, 0.2f));
  FillPath(g, jelly, bell);
  FillPath(g, jelly, rim);

  // Bell outline.
  DrawPath(g, MakePen(At(kWhite, u, 0.3f), 1), bell);

  // Inner glow.
  FillPath(g, GradientBrush({0, -0.45f * B}, At(kWhite, u, 0.5f), {0, -0.2f * B}, kClearWhite),
           EllipsePath(-0.25f * W, -0.45f * B, 0.4f * W, 0.25f * B));

  // Three pale spots.
  const Brush spot = SolidBrush(At(kWhite, u, 0.25f));
  FillEllipse(g, spot, -0.08f * W, -0.25f * B, 0.12f * W, 0.12f * B);
  FillEllipse(g, spot, 0.12f * W, -0.1f * B, 0.07f * W, 0.07f * B);
  FillEllipse(g, spot, -0.2f * W, -0.1f * B, 0.07f * W, 0.07f * B);
}

void DrawSeahorse(Graphics& g, const Creature& c, const CreatureUnits& u) {
  const float S = u.S, phi = u.phi;
  const float HS = 1.8f * S;  // height: the figure stands upright, head at the top

  // Tail curl: winds inward, the whole curl turning slowly about its centre.
  std::vector<PointF> curl;
  for (int i = 0; i <= 11; ++i) {
    const float f = i / 11.0f;
    const float a = 4.5f * f + 0.3f * phi;
    const float r = (1 - 0.6f * f) * 0.5f * S;
    curl.push_back({Cos(a) * r - 0.2f * HS, Sin(a) * r + 0.3f * HS});
  }
  DrawPath(g, RoundPen(Full(c.color1, u), 0.18f * S), LinesPath(curl.data(), int(curl.size())));

  // Body line, bulging forward, drawn thick and then with a lighter core.
  std::vector<PointF> spine;
  for (int i = 0; i <= 9; ++i) {
    const float f = i / 9.0f;
    spine.push_back({0.15f * HS * Sin(3.14f * f), (0.8f * f - 0.5f) * HS});
  }
  const Path bodyLine = LinesPath(spine.data(), int(spine.size()));
  DrawPath(g, RoundPen(Full(c.color1, u), 0.32f * S), bodyLine);
  DrawPath(g, RoundPen(At(c.color2, u, 0.7f), 0.12f * S), bodyLine);

  // Body rings centred on the body line.
  for (int k = 1; k <= 5; ++k) {
    const float t = k / 6.0f;
    DrawEllipse(g, MakePen(At(c.color3, u, 0.7f), 0.06f * S), 0.15f * HS * Sin(3.14f * t) - 0.16f * S,
                (0.8f * t - 0.5f) * HS - 0.12f * S, 0.32f * S, 0.24f * S);
  }

  // Head, snout and crown share one brush.
  const Brush head =
      GradientBrush({0, -0.65f * HS}, Full(c.color1, u), {0, -0.25f * HS}, At(c.color2, u, 0.8f));
  FillPath(g, head, EllipsePath(-0.2f * S, -0.65f * HS, 0.5f * S, 0.4f * S));
  FillPolygon(g, head, {{0.15f * S, -0.55f * HS}, {0.6f * S, -0.5f * HS}, {0.15f * S, -0.45f * HS}});

  // Head highlight.
  FillEllipse(g, SolidBrush(At(kWhite, u, 0.4f)), -0.08f * S, -0.58f * HS, 0.16f * S, 0.1f * S);

  // Crown.
  FillPolygon(g, head, {{-0.05f * S, -0.65f * HS}, {0, -0.85f * HS}, {0.1f * S, -0.65f * HS}});

  // Eye.
  const float ex = 0.05f * S, ey = -0.56f * HS, r = 0.08f * S;
  FillPath(g, GradientBrush({ex, ey - r}, 0xFFFAFAFA, {ex, ey + r}, 0xFFD2D7E1),
           EllipsePath(ex - r, ey - r, 2 * r, 2 * r));
  FillEllipse(g, SolidBrush(0xFF14141E), ex - 0.45f * r, ey - 0.45f * r, 0.9f * r, 0.9f * r);
  FillEllipse(g, SolidBrush(0xC8FFFFFF), ex - 0.15f * r, ey - 0.35f * r, 0.3f * r, 0.3f * r);
}

void DrawPufferfish(Graphics& g, const Creature& c, const CreatureUnits& u) {
  const float S = u.S, phi = u.phi;
  const float q = 0.8f + 0.4f * Abs(Sin(0.3f * u.psi));  // inflation, 0.8 to 1.2
  const float R = 0.9f * S * q;                          // body radius

  // Tail: keeps its length while the body swells.
  FillPolygon(g,
              GradientBrush({-0.8f * R, 0}, At(c.color2, u, 0.85f), {-0.8f * R - 0.54f * S, 0},
                            At(c.color2, u, 0.45f)),
              {{-0.8f * R, 0},
               {-0.8f * R - 0.54f * S, 0.35f * R * Sin(phi) - 0.4f * R},
               {-0.8f * R - 0.54f * S, 0.4f * R + 0.35f * R * Sin(phi)}});

  // Body.
  FillPath(g, GradientBrush({0, -R}, Full(c.color1, u), {0, R}, Full(Lighten(c.color2, 40), u)),
           EllipsePath(-R, -R, 2 * R, 2 * R));

  // Back shade.
  FillPath(g, GradientBrush({0, -R}, At(kBlack, u, 0.3f), {0, -0.2f * R}, kClearBlack),
           EllipsePath(-0.9f * R, -1.02f * R, 1.8f * R, 1.1f * R));

  // Spots, each rimmed.
  static const PointF kSpots[] = {{-0.4f, -0.3f},  {0.1f, -0.45f}, {-0.2f, -0.05f}, {0.35f, -0.1f},
                                  {-0.35f, 0.25f}, {0.05f, 0.35f}, {0.3f, 0.15f},   {-0.05f, 0.05f}};
  for (const PointF& spot : kSpots) {
    const float x = spot.x * R - 0.1f * R, y = spot.y * R - 0.1f * R;
    FillEllipse(g, SolidBrush(WithAlpha(c.color3, 0xAA)), x, y, 0.2f * R, 0.2f * R);
    DrawEllipse(g, MakePen(At(kBlack, u, 0.25f), 0.7f), x, y, 0.2f * R, 0.2f * R);
  }

  // Top highlight.
  FillPath(g, GradientBrush({0, -0.75f * R}, At(kWhite, u, 0.5f), {0, -0.4f * R}, kClearWhite),
           EllipsePath(-0.35f * R, -0.75f * R, 0.7f * R, 0.35f * R));

  // Outline.
  DrawEllipse(g, MakePen(At(kBlack, u, 0.25f), 1.3f), -R, -R, 2 * R, 2 * R);

  // Gill arc.
  DrawArc(g, MakePen(At(c.color3, u, 0.3f), 1.4f), 0.05f * R, -0.55f * R, 0.45f * R, 1.1f * R, -60, 120);

  // Spines stand out only while the fish is blown up past its rest size.
  if (q > 1) {
    const Pen spine = MakePen(WithAlpha(c.color3, 0x82), 1.5f);
    for (int k = 0; k <= 11; ++k) {
      const float a = 6.28f * k / 12;
      DrawLine(g, spine, 0.85f * R * Cos(a), 0.85f * R * Sin(a), 1.05f * R * Cos(a), 1.05f * R * Sin(a));
    }
  }
}

void DrawSeaTurtle(Graphics& g, const Creature& c, const CreatureUnits& u) {
  const float phi = u.phi;
  const float a = 0.7f * u.S;   // shell half-length
  const float b = 0.55f * u.S;  // shell half-height

  // Flippers: the front pair beats together, the rear pair paddles in
  // opposition at 0.7 of the swim rate.
  const Brush flipper = SolidBrush(At(c.color2, u, 0.9f));
  FillPolygon(g, flipper,
              {{0.25f * a, -0.45f * b},
               {0.55f * a, -0.6f * b},
               {1.15f * a, -(1.1f + 0.5f * Sin(phi)) * b},
               {0.6f * a, -0.2f * b},
               {0.35f * a, -0.3f * b}});
  FillPolygon(g, flipper,
              {{0.25f * a, 0.45f * b},
               {0.55f * a, 0.6f * b},
               {1.15f * a, (1.1f - 0.5f * Sin(phi)) * b},
               {0.6f * a, 0.2f * b},
               {0.35f * a, 0.3f * b}});
  const float upper = Sin(0.7f * phi + 0.5f);
  FillPolygon(g, flipper,
              {{-0.35f * a, -0.4f * b},
               {-(0.95f + 0.25f * upper) * a, -(0.85f + 0.125f * upper) * b},
               {-0.4f * a, -0.2f * b},
               {-0.25f * a, -0.3f * b}});
  const float lower = Sin(0.7f * phi + 0.5f + 3.14159f);
  FillPolygon(g, flipper,
              {{-0.35f * a, 0.4f * b},
               {-(0.95f + 0.25f * lower) * a, (0.85f - 0.125f * lower) * b},
               {-0.4f * a, 0.2f * b},
               {-0.25f * a, 0.3f * b}});

  // Tail.
  FillPolygon(g, SolidBrush(At(c.color2, u, 0.85f)),
              {{-0.85f * a, 0}, {-1.5f * a, -0.22f * b}, {-1.5f * a, 0.22f * b}});

  // Head.
  FillPath(g,
           GradientBrush({0.55f * a, -0.35f * b}, Full(c.color2, u), {0.55f * a, 0.35f * b},
                         Full(Lighten(c.color2, 45), u)),
           EllipsePath(0.55f * a, -0.35f * b, 0.8f * a, 0.7f * b));

  // Head highlight.
  FillEllipse(g, SolidBrush(At(kWhite, u, 0.35f)), 0.62f * a, -0.28f * b, 0.3f * a, 0.15f * b);

  // Eye.
  const float ex = a, ey = -0.22f * b, r = 0.12f * a;
  FillPath(g, GradientBrush({ex, ey - r}, 0xFFFAFAFA, {ex, ey + r}, 0xFFD7DCE6),
           EllipsePath(ex - r, ey - r, 2 * r, 2 * r));
  FillEllipse(g, SolidBrush(Argb(u.A, 15, 15, 25)), ex - 0.55f * r, ey - 0.55f * r, 1.1f * r, 1.1f * r);
  FillEllipse(g, SolidBrush(Full(kWhite, u)), ex - 0.2f * r, ey - 0.45f * r, 0.35f * r, 0.35f * r);

  // Shell, covering the inner ends of flippers, tail and head.
  FillPath(g, GradientBrush({-a, -b}, Full(c.color1, u), {a, b}, Full(c.color3, u)),
           EllipsePath(-a, -b, 2 * a, 2 * b));

  // Shell highlight.
  FillPath(g,
           GradientBrush({-0.75f * a, -0.8f * b}, At(kWhite, u, 0.35f), {-0.75f * a, -0.3f * b}, kClearWhite),
           EllipsePath(-0.75f * a, -0.8f * b, 0.9f * a, 0.5f * b));

  // Shell plates: a central plate and a cross.
  const Pen plates = MakePen(At(c.color3, u, 0.75f), 2);
  DrawEllipse(g, plates, -0.55f * a, -0.45f * b, 1.1f * a, 0.9f * b);
  DrawLine(g, plates, -0.35f * a, 0, 0.35f * a, 0);
  DrawLine(g, plates, 0, -0.35f * b, 0, 0.35f * b);

  // Shell rim.
  DrawEllipse(g, MakePen(At(c.color3, u, 0.9f), 3), -a, -b, 2 * a, 2 * b);
}

void DrawOctopus(Graphics& g, const Creature& c, const CreatureUnits& u) {
  const float psi = u.psi;
  const float R = 0.8f * u.S;  // mantle radius

  // Eight arms under the mantle, fanned forward and backward; a wave runs
  // from root to tip, each arm 0.7 rad behind the one before.
  for (int i = 0; i <= 7; ++i) {
    const float ai = 5.0f * i / 7 - 2.5f;
    const float bx = 0.6f * R * Cos(ai), by = 0.3f * R * Sin(ai) + 0.5f * R;
    std::vector<PointF> arm;
    for (int j = 0; j <= 7; ++j) {
      const float f = j / 7.0f;
      const float wave = 0.3f * R * f * Sin(psi + 0.7f * i + 3.5f * f);
      arm.push_back({bx + 0.8f * f * R * Cos(ai) + wave, by + 1.2f * f * R + 0.3f * wave});
    }
    const Path path = LinesPath(arm.data(), int(arm.size()));
    DrawPath(g, RoundPen(At(c.color1, u, 0.9f), 0.24f * R), path);
    DrawPath(g, RoundPen(At(c.color2, u, 0.6f), 0.1f * R), path);  // lighter core
    const Pen sucker = MakePen(At(c.color3, u, 0.35f), 0.06f * R);
    for (int j : {2, 4, 6})
      DrawEllipse(g, sucker, arm[j].x - 0.05f * R, arm[j].y - 0.05f * R, 0.1f * R, 0.1f * R);
  }

  // Mantle.
  FillPath(g, GradientBrush({0, -R}, Full(c.color1, u), {0, R}, Full(c.color2, u)),
           EllipsePath(-R, -R, 2 * R, 2 * R));

  // Highlight.
  FillPath(g, GradientBrush({0, -0.75f * R}, At(kWhite, u, 0.35f), {0, -0.35f * R}, kClearWhite),
           EllipsePath(-0.55f * R, -0.75f * R, 0.8f * R, 0.4f * R));

  // Outline.
  DrawEllipse(g, MakePen(At(kBlack, u, 0.2f), 1.2f), -R, -R, 2 * R, 2 * R);

  // Eyes: one gradient for both eyeballs, then pupils and glints.
  const Brush eyeball = GradientBrush({-0.4f * R, -0.2f * R}, 0xFFFFFFFF, {-0.4f * R, 0.05f * R}, 0xFFD7DCE6);
  FillPath(g, eyeball, EllipsePath(-0.4f * R, -0.2f * R, 0.25f * R, 0.25f * R));
  FillPath(g, eyeball, EllipsePath(0.15f * R, -0.2f * R, 0.25f * R, 0.25f * R));
  const Brush pupil = SolidBrush(0xFF14141E);
  FillEllipse(g, pupil, -0.32f * R, -0.12f * R, 0.12f * R, 0.12f * R);
  FillEllipse(g, pupil, 0.23f * R, -0.12f * R, 0.12f * R, 0.12f * R);
  const Brush glint = SolidBrush(0xC8FFFFFF);
  FillEllipse(g, glint, -0.28f * R, -0.1f * R, 0.04f * R, 0.04f * R);
  FillEllipse(g, glint, 0.27f * R, -0.1f * R, 0.04f * R, 0.04f * R);
}

}  // namespace draw
