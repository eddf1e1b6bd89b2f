// One figure per species, drawn inside the creature frame (origin at the
// creature, +x toward the head, +y down). DrawCreature dispatches to them.
#pragma once

#include "draw/creature.h"

namespace draw {

// Tropical Fish and Clownfish.
void DrawGenericFishBody(Graphics& g, const Creature& c, const CreatureUnits& u);

void DrawAngelfish(Graphics& g, const Creature& c, const CreatureUnits& u);
void DrawGoldfish(Graphics& g, const Creature& c, const CreatureUnits& u);
void DrawGuppy(Graphics& g, const Creature& c, const CreatureUnits& u);
void DrawShark(Graphics& g, const Creature& c, const CreatureUnits& u);

void DrawRay(Graphics& g, const Creature& c, const CreatureUnits& u);
void DrawBetta(Graphics& g, const Creature& c, const CreatureUnits& u);
void DrawButterflyfish(Graphics& g, const Creature& c, const CreatureUnits& u);
void DrawBlueTang(Graphics& g, const Creature& c, const CreatureUnits& u);
void DrawLionfish(Graphics& g, const Creature& c, const CreatureUnits& u);

void DrawJellyfish(Graphics& g, const Creature& c, const CreatureUnits& u);
void DrawSeahorse(Graphics& g, const Creature& c, const CreatureUnits& u);
void DrawPufferfish(Graphics& g, const Creature& c, const CreatureUnits& u);
void DrawSeaTurtle(Graphics& g, const Creature& c, const CreatureUnits& u);
void DrawOctopus(Graphics& g, const Creature& c, const CreatureUnits& u);

void DrawEel(Graphics& g, const Creature& c, const CreatureUnits& u);
void DrawCrab(Graphics& g, const Creature& c, const CreatureUnits& u);
void DrawCleanerShrimp(Graphics& g, const Creature& c, const CreatureUnits& u);
void DrawHermitCrab(Graphics& g, const Creature& c, const CreatureUnits& u);

}  // namespace draw
