// The frame driver, whatever the display: whether a tick renders, and one
// frame of one aquarium stepped and drawn straight into a surface's pixels.
#pragma once

#include "common/linux_app.h"
#include "draw/toolkit.h"

// The frame tick of every display: pacing by time (FrameDue) makes 60, 15
// or 6 frames a second of these wake-ups.
constexpr int kFrameTickMs = 16;

int64_t MonotonicNanoseconds();

// Whether this frame tick renders, by the settings' frame rate and the
// full-screen slow-down. The one place the pacing decision is asked.
bool TickRenders(LinuxApp& app);

// Steps `view` by the frame time (or, in the fixed-step test mode, by the
// fixed steps once) and draws the scene into `pixels`, which hold the
// surface's whole picture (32-bit B, G, R, A, rows top-down).
void DrawFrame(LinuxApp& app, AquariumView& view, const draw::PixelBuffer& pixels);

// The rest decision over `app.lifecycle.visibility`; logs each change.
// True while nobody can see the aquarium.
bool DecideRest(LinuxApp& app);

// The pointer in a view's pixels: creatures flee it from now on.
void PointerMoved(LinuxApp& app, AquariumView& view, float x, float y);
// A left click in a view's pixels: a burst of bubbles. Neither in the
// fixed-step test mode, whose picture must stay the tool's.
void PointerClicked(LinuxApp& app, AquariumView& view, float x, float y);

// Creatures within `radius` pixels of the view's pointer, for the status line.
int CreaturesNearPointer(const AquariumView& view, float radius);
