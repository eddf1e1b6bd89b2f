// The operations that change the aquarium: population, the per-frame step and
// the pointer input. W and H are the client width and height in pixels.
#pragma once

#include <cstddef>

#include "sim/aquarium.h"
#include "sim/creature_tables.h"

struct Settings;

// Replaces every list with fresh creatures (from the settings' species counts
// and total) and scenery, and logs one line. W and H must be positive.
void PopulateAquarium(Aquarium& aquarium, const Settings& settings, int W, int H);
// Builds one creature from a variant row and appends it.
void AddCreature(Aquarium& aquarium, const SpeciesVariant& row, int W, int H);

// Advances everything by dt seconds (0..0.1), populating first when needed,
// and first moving everything to a new size (FitAquarium) when W x H differs
// from the size the aquarium was laid out for. Does nothing at all while W or
// H is not positive. The scene clock `elapsed` moves on by dt with it.
void StepAquarium(Aquarium& aquarium, const Settings& settings, float dt, int W, int H);
// The scene clock alone, as StepAquarium moves it.
void AdvanceSceneClock(Aquarium& aquarium, float dt);

// Moves every position to the same place relative to a new W x H (after a
// display change): scenery stays on the floor, creatures keep their depth
// band. Sizes stay as they are.
void FitAquarium(Aquarium& aquarium, int W, int H);

// A pointer move in client coordinates: creatures flee this point from now on.
void RecordPointerMove(Aquarium& aquarium, float x, float y);
// The pointer went over another aquarium: nobody here flees it any more.
void ForgetPointer(Aquarium& aquarium);
// A left click in client coordinates: a burst of 15 to 25 bubbles around it.
// At most kMaxClickBubbles of them are alive: the oldest go first.
constexpr size_t kMaxClickBubbles = 300;
void AddClickBurst(Aquarium& aquarium, float px, float py);
