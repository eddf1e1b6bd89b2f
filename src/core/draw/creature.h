// Drawing one creature: shadow, the local frame that follows position, facing,
// tilt and size, the species figure, and the finishing layer (eye, pectoral
// fin, depth haze).
#pragma once

#include <cstdint>

#include "draw/toolkit.h"
#include "sim/aquarium.h"

namespace draw {

// The units every species figure is written in.
struct CreatureUnits {
  float S = 0;      // size
  float L = 0;      // nominal body length 2.2 S
  float H = 0;      // nominal body height 1.1 S
  float K = 0;      // nominal tail length 0.9 S
  float phi = 0;    // swim phase
  float w = 0;      // tail beat 0.35 sin(phi)
  float psi = 0;    // pulse phase
  uint8_t A = 255;  // opacity byte: trunc(depth * 115 + 140)
};

CreatureUnits MakeCreatureUnits(const Creature& creature);
// alpha(k) = trunc(k * A)
uint8_t Alpha(const CreatureUnits& u, float k);
// Adds n to each of red, green and blue of an RGB value, saturating at 255.
uint32_t Lighten(uint32_t rgb, int n);

// Colours the figures are written in.
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr Color kClearBlack = 0x00000000;
constexpr Color kClearWhite = 0x00FFFFFF;
// An RGB value (a creature colour or a constant) at the alpha byte alpha(k).
inline Color At(uint32_t rgb, const CreatureUnits& u, float k) {
  return WithAlpha(rgb, Alpha(u, k));
}
// An RGB value at the creature's full opacity A.
inline Color Full(uint32_t rgb, const CreatureUnits& u) {
  return WithAlpha(rgb, u.A);
}

// How far a species' figure reaches from the creature's position, in sizes
// S, over every pose and both facings: sideways, up and down.
struct FigureReach {
  float side, up, down;
};
// How far its outline moves per radian of swim phase and of pulse phase, in
// sizes S, at most: tails, fins and bodies swing with the swim phase; bells,
// tentacles, arms and legs with the pulse phase.
struct FigureMotion {
  float swim, pulse;
};
// From the species' row of the figure table (creature.cpp); a species
// without a figure reaches a small box and does not move.
FigureReach FigureReachOf(uint8_t species);
FigureMotion FigureMotionOf(uint8_t species);
// The same for the shadow and the depth haze, which every species shares.
FigureReach ShadowReach();
FigureReach HazeReach();

void DrawCreature(Graphics& g, const Creature& creature);
// DrawCreature's three layers, in the order it draws them, for a caller that
// keeps them apart: the soft shadow below (it follows size and depth only),
// the figure (everything that moves with the swim and pulse phases), and the
// depth haze over it (size, depth, facing and tilt).
void DrawCreatureShadow(Graphics& g, const Creature& creature);
void DrawCreatureFigure(Graphics& g, const Creature& creature);
void DrawCreatureHaze(Graphics& g, const Creature& creature);
void DrawPatternOverlay(Graphics& g, const Creature& creature, float bodyLength, float bodyHeight,
                        const Path& clipPath);

}  // namespace draw
