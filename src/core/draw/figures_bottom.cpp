// The bottom dwellers: Eel, Crab, Cleaner Shrimp and Hermit Crab. Each draws
// its own eyes; the finishing layer adds only the haze. The crabs face the
// viewer, symmetric about the vertical axis, and d runs over the sides -1, +1.
#include "draw/figures.h"

namespace draw {

namespace {

const int kSides[] = {-1, 1};

// The small eye of the eel and the shrimp: shaded eyeball, pupil and glint.
void DrawSmallEye(Graphics& g, float ex, float ey, float r) {
  FillEllipse(g, GradientBrush({ex, ey - r}, 0xFFFAFAFA, {ex, ey + r}, 0xFFD2D7E1), ex - r, ey - r, 2 * r,
              2 * r);
  FillEllipse(g, SolidBrush(0xFF0F0F19), ex - 0.45f * r, ey - 0.45f * r, 0.9f * r, 0.9f * r);
  FillEllipse(g, SolidBrush(0xC8FFFFFF), ex - 0.15f * r, ey - 0.35f * r, 0.3f * r, 0.3f * r);
}

// The eel's body line at f in [0, 1]: head at f = 0, a wave travelling tailward.
PointF EelPoint(float f, float E, float T, float phi) {
  return {0.5f * E - f * E, 0.6f * T * Sin(5 * f + phi)};
}

// The shrimp's arched body line at f in [0, 1], head end first; it does not move.
PointF ShrimpPoint(float f, float L8, float H8) {
  return {0.4f * L8 - 0.9f * f * L8, 0.4f * H8 * Sin(2.5f * f) + 0.1f * H8};
}

// The hermit crab's shell spiral at f in [0, 1], unwinding outward, flattened vertically.
PointF ShellPoint(float f, float Q, float P) {
  const float a = 5.5f * f;
  const float r = (0.2f + 0.8f * f) * P;
  return {-0.3f * Q - r * Cos(a), 0.7f * r * Sin(a)};
}

}  // namespace

void DrawEel(Graphics& g, const Creature& c, const CreatureUnits& u) {
  const float E = 3.5f * u.S, T = 0.5f * u.S;
  PointF body[16];
  for (int i = 0; i < 16; ++i) body[i] = EelPoint(i / 15.0f, E, T, u.phi);

  // Body, then a lighter stripe along it.
  const Path bodyPath = LinesPath(body, 16);
  DrawPath(g, RoundPen(WithAlpha(c.color1, u.A), 1.4f * T), bodyPath);
  DrawPath(g, RoundPen(WithAlpha(c.color2, Alpha(u, 0.7f)), 0.7f * T), bodyPath);

  // Back marks.
  const Pen mark = MakePen(WithAlpha(c.color3, Alpha(u, 0.5f)), 0.35f * T);
  for (int i : {2, 5, 8, 11, 14})
    DrawEllipse(g, mark, body[i].x - 0.3f * T, body[i].y - 0.55f * T, 0.6f * T, 0.45f * T);

  // Belly dots.
  const Pen dot = MakePen(WithAlpha(c.color2, Alpha(u, 0.4f)), 0.08f * T);
  for (int i : {1, 3, 5, 7, 9, 11, 13})
    DrawEllipse(g, dot, body[i].x - 0.08f * T, body[i].y + 0.3f * T, 0.16f * T, 0.16f * T);

  // Head at the front end of the body line.
  const float hx = 0.5f * E, hy = 0.6f * T * Sin(u.phi);
  FillEllipse(g,
              GradientBrush({hx - 0.7f * T, hy - 0.6f * T}, WithAlpha(c.color1, u.A),
                            {hx - 0.7f * T, hy + 0.6f * T}, WithAlpha(c.color2, Alpha(u, 0.85f))),
              hx - 0.7f * T, hy - 0.6f * T, 1.4f * T, 1.2f * T);

  // Mouth.
  DrawLine(g, MakePen(WithAlpha(c.color3, 200), 1.5f), hx + 0.3f * T, hy, hx + 0.7f * T, hy + 0.1f * T);

  // Eye.
  DrawSmallEye(g, hx + 0.1f * T, hy - 0.2f * T, 0.18f * T);
}

void DrawCrab(Graphics& g, const Creature& c, const CreatureUnits& u) {
  const float S = u.S, W = 1.1f * S, B = 0.8f * S, psi = u.psi;

  // Legs: four a side stepping one after another, knee and foot moving in opposite senses.
  const Pen leg = RoundPen(WithAlpha(c.color2, Alpha(u, 0.8f)), 0.1f * S);
  for (int d : kSides) {
    for (int k = 0; k < 4; ++k) {
      const PointF root = {d * W * (0.2f + 0.18f * k), 0.1f * B};
      const float e = 0.2f * S * Sin(psi + 1.2f * k);
      const PointF knee = {root.x + 0.3f * d * S, 0.2f * S + 0.1f * B + e};
      const PointF foot = {root.x + 0.5f * d * S, 0.5f * S + 0.1f * B - 0.5f * e};
      DrawLine(g, leg, root, knee);
      DrawLine(g, leg, knee, foot);
    }
  }

  // Claws, raised to both sides; their waves are 2 radians apart.
  for (int d : kSides) {
    const float wave = 0.1f * S * Sin(d + 1.5f * psi);
    // Arm.
    FillPolygon(g,
                GradientBrush({0.5f * d * W, -0.1f * B}, WithAlpha(c.color1, Alpha(u, 0.95f)),
                              {0.9f * d * W, -0.5f * B}, WithAlpha(c.color2, Alpha(u, 0.7f))),
                {{0.5f * d * W, -0.1f * B}, {0.9f * d * W, wave - 0.5f * B}, {0.6f * d * W, -0.05f * B}});
    // Pincer.
    const float px = 0.85f * d * W, py = wave - 0.6f * B;
    FillEllipse(g,
                GradientBrush({px - 0.2f * S, py - 0.15f * S}, WithAlpha(c.color1, u.A),
                              {px + 0.2f * S, py + 0.15f * S}, WithAlpha(c.color2, Alpha(u, 0.75f))),
                px - 0.2f * S, py - 0.15f * S, 0.4f * S, 0.3f * S);
    // Pincer slit.
    DrawLine(g, MakePen(WithAlpha(c.color3, 200), 1.5f), 0.95f * d * W, wave - 0.55f * B, 1.05f * d * W,
             wave - 0.45f * B);
  }

  // Carapace, over the roots of legs and claws.
  FillEllipse(g, GradientBrush({0, -B}, WithAlpha(c.color1, u.A), {0, B}, WithAlpha(c.color2, u.A)), -W, -B,
              2 * W, 2 * B);

  // Highlight.
  FillEllipse(g,
              GradientBrush({0, -0.8f * B}, WithAlpha(0xFFFFFF, Alpha(u, 0.35f)), {0, -0.3f * B}, 0x00FFFFFF),
              -0.65f * W, -0.8f * B, 0.8f * W, 0.5f * B);

  // Mark: the lower half of an inner ellipse.
  DrawArc(g, MakePen(WithAlpha(c.color3, Alpha(u, 0.45f)), 1.2f), -0.6f * W, -0.5f * B, 1.2f * W, B, 0, 180);

  // Outline.
  DrawEllipse(g, MakePen(WithAlpha(0x000000, Alpha(u, 0.2f)), 1), -W, -B, 2 * W, 2 * B);

  // Eye stalks with their eyes.
  for (int d : kSides) {
    DrawLine(g, MakePen(WithAlpha(c.color1, u.A), 0.08f * S), 0.2f * d * W, -0.7f * B, 0.25f * d * W, -B);
    FillEllipse(g, SolidBrush(0xFF14141E), 0.22f * d * W - 0.06f * S, -1.05f * B, 0.12f * S, 0.12f * S);
    FillEllipse(g, SolidBrush(0xC8FFFFFF), 0.22f * d * W - 0.03f * S, -1.02f * B, 0.04f * S, 0.04f * S);
  }
}

void DrawCleanerShrimp(Graphics& g, const Creature& c, const CreatureUnits& u) {
  const float S = u.S, L8 = 1.3f * S, H8 = 0.6f * S, psi = u.psi;

  // Antennae, upper then lower: reaching forward, spreading apart, waving.
  const Pen antenna = MakePen(WithAlpha(c.color2, Alpha(u, 0.6f)), 0.05f * S);
  for (int d : kSides) {
    PointF line[6];
    for (int j = 0; j < 6; ++j) {
      const float f = j / 5.0f;
      line[j] = {0.4f * L8 + 1.2f * f * L8, d * (0.8f * f * H8 + 0.2f * H8 * Sin(3 * f + psi)) - 0.2f * H8};
    }
    DrawLines(g, antenna, line, 6);
  }

  // Legs.
  const Pen leg = MakePen(WithAlpha(c.color2, Alpha(u, 0.5f)), 0.06f * S);
  for (int k = 0; k < 5; ++k) {
    const float rx = 0.15f * k * L8 - 0.2f * L8;
    const PointF knee = {rx + 0.1f * L8, 0.5f * H8 + 0.2f * H8 * Sin(k + psi)};
    DrawLine(g, leg, {rx, 0.2f * H8}, knee);
    DrawLine(g, leg, knee, {rx + 0.05f * L8, 0.8f * H8});
  }

  // Body: the arched line stroked wide, then a lighter core.
  PointF body[8];
  for (int j = 0; j < 8; ++j) body[j] = ShrimpPoint(j / 7.0f, L8, H8);
  const Path bodyPath = LinesPath(body, 8);
  DrawPath(g, RoundPen(WithAlpha(c.color1, Alpha(u, 0.8f)), 0.85f * H8), bodyPath);
  DrawPath(g, RoundPen(WithAlpha(c.color2, Alpha(u, 0.55f)), 0.4f * H8), bodyPath);

  // Stripes across the body.
  const Pen stripe = MakePen(WithAlpha(c.color3, Alpha(u, 0.5f)), 1.2f);
  for (int i = 1; i <= 5; ++i) {
    const PointF p = ShrimpPoint(i / 6.0f, L8, H8);
    DrawLine(g, stripe, p.x - 0.1f * H8, p.y - 0.35f * H8, p.x + 0.1f * H8, p.y + 0.35f * H8);
  }

  // Head.
  FillEllipse(g,
              GradientBrush({0.25f * L8, -0.25f * H8}, WithAlpha(c.color1, Alpha(u, 0.9f)),
                            {0.25f * L8, 0.25f * H8}, WithAlpha(c.color2, Alpha(u, 0.7f))),
              0.25f * L8, -0.25f * H8, 0.35f * L8, 0.5f * H8);

  // Eye.
  DrawSmallEye(g, 0.45f * L8, -0.05f * H8, 0.12f * H8);

  // Tail fan, last, over the end of the body.
  FillPolygon(g,
              GradientBrush({-0.55f * L8, 0}, WithAlpha(c.color2, Alpha(u, 0.7f)), {-0.85f * L8, 0},
                            WithAlpha(c.color2, Alpha(u, 0.35f))),
              {{-0.55f * L8, 0.3f * H8}, {-0.85f * L8, 0}, {-0.55f * L8, -0.2f * H8}});
}

void DrawHermitCrab(Graphics& g, const Creature& c, const CreatureUnits& u) {
  const float Q = 0.6f * u.S, P = 0.9f * u.S, psi = u.psi;

  // Shell: a thick spiral stroke.
  PointF spiral[20];
  for (int i = 0; i < 20; ++i) spiral[i] = ShellPoint(i / 19.0f, Q, P);
  DrawPath(g, RoundPen(WithAlpha(c.color2, u.A), 0.35f * P), LinesPath(spiral, 20));

  // Shell sheen: the spiral moved up and forward.
  PointF sheen[20];
  for (int i = 0; i < 20; ++i) sheen[i] = {spiral[i].x + 0.12f * P, spiral[i].y - 0.1f * P};
  DrawPath(g, RoundPen(WithAlpha(c.color3, Alpha(u, 0.45f)), 0.1f * P), LinesPath(sheen, 20));

  // Shell disc.
  FillEllipse(g, SolidBrush(WithAlpha(c.color3, 220)), -0.5f * Q - 0.15f * P, -0.25f * P, 0.5f * P, 0.5f * P);

  // Shell ridges, between the sample points of the spiral.
  const Pen ridge = MakePen(WithAlpha(c.color3, Alpha(u, 0.5f)), 1.2f);
  for (int i : {3, 7, 11, 15}) {
    const PointF p = ShellPoint(i / 20.0f, Q, P);
    DrawEllipse(g, ridge, p.x - 0.12f * P, p.y - 0.08f * P, 0.24f * P, 0.16f * P);
  }

  // Body, over the inner end of the spiral.
  FillEllipse(g,
              GradientBrush({-0.3f * Q, -0.35f * Q}, WithAlpha(c.color1, u.A), {-0.3f * Q, 0.35f * Q},
                            WithAlpha(c.color2, Alpha(u, 0.85f))),
              -0.3f * Q, -0.35f * Q, 0.7f * Q, 0.7f * Q);

  // Body highlight.
  FillEllipse(g, SolidBrush(WithAlpha(0xFFFFFF, Alpha(u, 0.3f))), -0.2f * Q, -0.25f * Q, 0.25f * Q,
              0.12f * Q);

  // Claws: arm and pincer on each side, the sides 2 radians apart.
  const Brush claw = SolidBrush(WithAlpha(c.color1, u.A));
  for (int d : kSides) {
    const float wave = 0.1f * Q * Sin(d + psi);
    FillPolygon(g, claw,
                {{0.1f * d * Q, -0.2f * Q}, {0.5f * d * Q, wave - 0.5f * Q}, {0.2f * d * Q, -0.05f * Q}});
    FillEllipse(g, claw, 0.45f * d * Q - 0.12f * Q, wave - 0.55f * Q - 0.1f * Q, 0.24f * Q, 0.2f * Q);
  }

  // Legs: three a side.
  const Pen leg = MakePen(WithAlpha(c.color1, Alpha(u, 0.8f)), 0.08f * Q);
  for (int d : kSides) {
    for (int k = 0; k < 3; ++k) {
      const float rx = 0.15f * k * d * Q;
      const float e = 0.15f * Q * Sin(1.1f * k + psi);
      const PointF knee = {rx + 0.2f * d * Q, 0.35f * Q + e};
      DrawLine(g, leg, {rx, 0.1f * Q}, knee);
      DrawLine(g, leg, knee, {rx + 0.15f * d * Q, 0.6f * Q});
    }
  }

  // Eye stalks with their eyes.
  for (int d : kSides) {
    DrawLine(g, MakePen(WithAlpha(c.color1, u.A), 0.06f * Q), 0.1f * d * Q, -0.3f * Q, 0.15f * d * Q,
             -0.55f * Q);
    FillEllipse(g, SolidBrush(0xFF14141E), 0.13f * d * Q - 0.05f * Q, -0.6f * Q, 0.1f * Q, 0.1f * Q);
    FillEllipse(g, SolidBrush(0xC8FFFFFF), 0.13f * d * Q - 0.02f * Q, -0.57f * Q, 0.035f * Q, 0.035f * Q);
  }
}

}  // namespace draw
