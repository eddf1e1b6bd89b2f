// One creature: soft shadow, the local frame (position, facing, tilt), the
// species figure, then the finishing layer shared by the fish-like species.
#include "draw/creature.h"

#include <iterator>

#include "draw/figures.h"
#include "settings/settings.h"

namespace draw {

namespace {

// Float to byte with truncation; out-of-range values saturate instead of
// wrapping, so a depth slightly outside 0.4..1.0 cannot flip a creature to
// transparent.
uint8_t TruncByte(float value) {
  if (!(value > 0)) return 0;
  if (value >= 255) return 255;
  return uint8_t(value);
}

bool FacesLeft(const Creature& c) {
  return c.vx < 0;
}

// The shadow: an ellipse 1.21 S to each side, from 0.525 S to 1.075 S below.
constexpr FigureReach kShadowReach = {1.25f, -0.5f, 1.1f};

void DrawShadow(Graphics& g, const Creature& c, const CreatureUnits& u) {
  const float L = u.L, H = u.H;
  const uint32_t screen = SaveState(g);
  Translate(g, c.x, c.y + 0.8f * u.S);
  FillPath(g,
           GradientBrush({0, -0.25f * H}, WithAlpha(kBlack, TruncByte(c.depth * 35 + 25)), {0, 0.25f * H},
                         0x00000000),
           EllipsePath(-0.55f * L, -0.25f * H, 1.1f * L, 0.5f * H));
  RestoreState(g, screen);
}

// Maps the local frame (+x toward the head) onto the screen: the tilt pivots
// about 0.25 L to the right of the position, and a left-facing creature is
// mirrored inside the tilt so a positive tilt always dips the head.
void EnterCreatureFrame(Graphics& g, const Creature& c, const CreatureUnits& u) {
  Translate(g, c.x, c.y);
  const float r = FacesLeft(c) ? -12 * c.tilt : 12 * c.tilt;
  Translate(g, 0.25f * u.L, 0);
  Rotate(g, r);
  Translate(g, -0.25f * u.L, 0);
  if (FacesLeft(c)) Scale(g, -1, 1);
}

using SpeciesFigure = void (*)(Graphics&, const Creature&, const CreatureUnits&);

// What each species gets: its figure, then the finishing layer's eye (centre
// in the nominal L and H, whatever the species' own body size) and pectoral
// fin; how far the figure reaches and how fast its outline moves (the
// retained frame keeps it as a sprite of that size, drawn again when it moved).
struct SpeciesDrawing {
  SpeciesFigure figure;
  bool eye;
  float eyeX;  // multiple of L
  float eyeY;  // multiple of H
  bool pectoralFin;
  FigureReach reach;
  FigureMotion motion;
};

// Reaches were measured over every pose and both facings with the shadow and
// haze, which have sprites of their own now: the figure alone reaches less far.
constexpr SpeciesDrawing kSpeciesDrawings[] = {
    {DrawGenericFishBody, true, 0.3f, -0.12f, true, {2.0f, 1.25f, 1.3f}, {0.4f, 0}},  // Tropical Fish
    {DrawAngelfish, true, 0.25f, -0.3f, true, {1.75f, 2.4f, 2.25f}, {0.4f, 0}},       // Angelfish
    {DrawGenericFishBody, true, 0.3f, -0.12f, true, {2.0f, 1.25f, 1.3f}, {0.4f, 0}},  // Clownfish
    {DrawGoldfish, true, 0.3f, -0.15f, true, {2.1f, 1.85f, 1.9f}, {0.4f, 0}},         // Goldfish
    {DrawGuppy, true, 0.3f, -0.12f, true, {1.8f, 1.4f, 1.5f}, {0.4f, 0}},             // Guppy
    {DrawShark, true, 0.6f, -0.1f, false, {2.65f, 1.25f, 1.3f}, {0.4f, 0}},           // Shark
    {DrawRay, false, 0, 0, false, {3.3f, 1.35f, 1.35f}, {0.4f, 0}},                   // Ray: its own eyes
    {DrawBetta, true, 0.3f, -0.12f, true, {2.55f, 2.25f, 2.25f}, {0.4f, 0}},          // Betta
    {DrawButterflyfish, true, 0.25f, -0.15f, true, {1.65f, 1.2f, 1.25f}, {0.4f, 0}},  // Butterflyfish
    {DrawBlueTang, true, 0.3f, -0.1f, true, {1.9f, 1.2f, 1.25f}, {0.4f, 0}},          // Blue Tang
    {DrawLionfish, true, 0.3f, -0.12f, false, {1.75f, 2.05f, 1.6f}, {0.4f, 0}},       // Lionfish
    {DrawJellyfish, false, 0, 0, false, {1.45f, 0.95f, 3.05f}, {0, 0.3f}},            // Jellyfish
    {DrawSeahorse, false, 0, 0, false, {1.45f, 1.6f, 1.25f}, {0.4f, 0}},              // Seahorse
    {DrawPufferfish, true, 0.3f, -0.12f, true, {1.5f, 1.2f, 1.2f}, {0.4f, 0.15f}},    // Pufferfish
    {DrawSeaTurtle, false, 0, 0, false, {1.45f, 1.05f, 1.1f}, {0.5f, 0}},             // Sea Turtle
    {DrawOctopus, false, 0, 0, false, {1.6f, 0.95f, 1.9f}, {0, 0.3f}},                // Octopus
    {DrawEel, false, 0, 0, false, {2.15f, 0.95f, 1.1f}, {0.4f, 0}},                   // Eel
    {DrawCrab, false, 0, 0, false, {1.45f, 0.95f, 1.1f}, {0, 0.3f}},                  // Crab
    {DrawCleanerShrimp, false, 0, 0, false, {2.2f, 1.0f, 1.1f}, {0, 0.15f}},          // Cleaner Shrimp
    {DrawHermitCrab, false, 0, 0, false, {1.45f, 0.95f, 1.1f}, {0, 0.15f}},           // Hermit Crab
};
static_assert(std::size(kSpeciesDrawings) == kSpeciesCount, "one drawing per species, in SpeciesId order");

void DrawEye(Graphics& g, const CreatureUnits& u, PointF e) {
  const float r = 0.13f * u.S, p = 0.07f * u.S, gl = 0.025f * u.S;
  // Eyeball, pupil set slightly forward, glint, rim.
  FillPath(g, GradientBrush({e.x, e.y - r}, 0xFFFFFFFF, {e.x, e.y + r}, 0xFFDCE1EB),
           EllipsePath(e.x - r, e.y - r, 2 * r, 2 * r));
  FillEllipse(g, SolidBrush(0xFF0F0F19), e.x + 0.3f * p - p, e.y - p, 2 * p, 2 * p);
  FillEllipse(g, SolidBrush(0xFFFFFFFF), e.x + 0.1f * p - gl, e.y - 0.6f * p - gl, 2 * gl, 2 * gl);
  DrawEllipse(g, MakePen(WithAlpha(kBlack, Alpha(u, 0.3f)), 0.8f), e.x - r, e.y - r, 2 * r, 2 * r);
}

// The fin's tip swings back and forth by 0.25 L.
void DrawPectoralFin(Graphics& g, const Creature& c, const CreatureUnits& u) {
  const float L = u.L, H = u.H;
  const float s = Sin(1.3f * u.phi);
  const Path fin = PolygonPath({{0.05f * L, 0.08f * H},
                                {0.25f * s * L - 0.18f * L, 0.55f * H},
                                {0.08f * L, 0.38f * H},
                                {0.12f * L, 0.15f * H}});
  FillPath(g,
           GradientBrush({0.08f * L, 0.15f * H}, WithAlpha(c.color2, Alpha(u, 0.75f)),
                         {-0.18f * L, 0.55f * H}, WithAlpha(c.color2, Alpha(u, 0.25f))),
           fin);
  DrawPath(g, MakePen(WithAlpha(kBlack, Alpha(u, 0.2f)), 0.8f), fin);
}

// The haze: an ellipse 1.43 S to each side and 0.88 S up and down, turned by
// the tilt (at most 6 degrees) about a point 0.55 S ahead: 0.23 S more.
constexpr FigureReach kHazeReach = {1.7f, 1.15f, 1.15f};

// A bluish veil, strongest for the farthest creatures.
void DrawDepthHaze(Graphics& g, const Creature& c, const CreatureUnits& u) {
  const float L = u.L, H = u.H;
  const float h = (1 - c.depth) * 0.45f;
  if (!(h > 0.01f)) return;
  const uint8_t a = TruncByte(h * 255);
  FillPath(g,
           GradientBrush({0, -0.8f * H}, WithAlpha(0x2878B4, TruncByte(0.3f * a)), {0, 0.8f * H},
                         WithAlpha(0x14508C, a)),
           EllipsePath(-0.65f * L, -0.8f * H, 1.3f * L, 1.6f * H));
}

}  // namespace

CreatureUnits MakeCreatureUnits(const Creature& creature) {
  CreatureUnits u;
  u.S = creature.size;
  u.L = 2.2f * u.S;
  u.H = 1.1f * u.S;
  u.K = 0.9f * u.S;
  u.phi = creature.swimPhase;
  u.w = 0.35f * Sin(u.phi);
  u.psi = creature.pulsePhase;
  u.A = TruncByte(creature.depth * 115 + 140);
  return u;
}

uint8_t Alpha(const CreatureUnits& u, float k) {
  return TruncByte(k * float(u.A));
}

uint32_t Lighten(uint32_t rgb, int n) {
  auto channel = [n](int value) {
    const int sum = value + n;
    return uint32_t(sum > 255 ? 255 : sum < 0 ? 0 : sum);
  };
  return channel(RedOf(rgb)) << 16 | channel(GreenOf(rgb)) << 8 | channel(BlueOf(rgb));
}

FigureReach FigureReachOf(uint8_t species) {
  // A species without a figure draws nothing: a small box.
  return species < std::size(kSpeciesDrawings) ? kSpeciesDrawings[species].reach
                                               : FigureReach{1.45f, 0.95f, 1.1f};
}

FigureMotion FigureMotionOf(uint8_t species) {
  return species < std::size(kSpeciesDrawings) ? kSpeciesDrawings[species].motion : FigureMotion{0, 0};
}

FigureReach ShadowReach() {
  return kShadowReach;
}

FigureReach HazeReach() {
  return kHazeReach;
}

void DrawCreatureShadow(Graphics& g, const Creature& creature) {
  DrawShadow(g, creature, MakeCreatureUnits(creature));
}

void DrawCreatureFigure(Graphics& g, const Creature& creature) {
  if (creature.species >= std::size(kSpeciesDrawings)) return;
  const CreatureUnits u = MakeCreatureUnits(creature);
  const uint32_t frame = SaveState(g);
  EnterCreatureFrame(g, creature, u);
  const SpeciesDrawing& drawing = kSpeciesDrawings[creature.species];
  drawing.figure(g, creature, u);
  if (drawing.eye) DrawEye(g, u, {drawing.eyeX * u.L, drawing.eyeY * u.H});
  if (drawing.pectoralFin) DrawPectoralFin(g, creature, u);
  RestoreState(g, frame);
}

void DrawCreatureHaze(Graphics& g, const Creature& creature) {
  const CreatureUnits u = MakeCreatureUnits(creature);
  const uint32_t frame = SaveState(g);
  EnterCreatureFrame(g, creature, u);
  DrawDepthHaze(g, creature, u);
  RestoreState(g, frame);
}

void DrawCreature(Graphics& g, const Creature& creature) {
  DrawCreatureShadow(g, creature);
  DrawCreatureFigure(g, creature);
  DrawCreatureHaze(g, creature);
}

void DrawPatternOverlay(Graphics& g, const Creature& creature, float bodyLength, float bodyHeight,
                        const Path& clipPath) {
  if (creature.pattern == 0) return;
  const float Lp = bodyLength, Hp = bodyHeight;
  const uint32_t state = SaveState(g);
  ClipToPath(g, clipPath);
  if (creature.pattern == 1) {
    // Four vertical bands across the body.
    for (int i = 0; i < 4; ++i) {
      FillRectangle(g, SolidBrush(WithAlpha(creature.color3, 0xB4)), -0.35f * Lp + i * 0.175f * Lp,
                    -0.5f * Hp, 0.08f * Lp, Hp);
    }
  } else if (creature.pattern == 2) {
    static constexpr PointF kSpots[] = {{-0.25f, -0.2f}, {0.1f, -0.25f}, {-0.1f, 0.05f},
                                        {0.2f, 0.1f},    {-0.2f, 0.25f}, {0.05f, -0.05f}};
    const float radius = 0.06f * Lp;
    for (const PointF& f : kSpots) {
      FillEllipse(g, SolidBrush(WithAlpha(creature.color3, 0xA0)), f.x * Lp - radius, f.y * Hp - radius,
                  2 * radius, 2 * radius);
    }
  }
  RestoreState(g, state);
}

}  // namespace draw
