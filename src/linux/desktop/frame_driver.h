// The frame driver, whatever the display: one wake-up of the frame loop over
// the views a display hands it, and the pointer as a display hears it.
#pragma once

#include "common/linux_app.h"
#include "draw/toolkit.h"
#include "policy/frame_loop.h"

// The frame tick of every display while frames move: pacing by time makes
// 60, 15 or 6 frames a second of these wake-ups. At rest the displays wake
// at the resting check's rate instead.
constexpr int kFrameTickMs = 16;
constexpr int kRestTickMs = int(kRestCheckNanoseconds / 1000000);

// Runs the frame loop over `views` (each filled in with its view, aquarium,
// pixels and readiness) with what app.lifecycle knows: the one place both
// displays draw frames. After showing the views drawn, the display reports
// what it copied with NoteFramesShown.
WakeResult RunFrames(LinuxApp& app, ViewWake* views, int count);
// A view of this display, ready for RunFrames: its pixels and whether its
// surface can take a frame now.
ViewWake WakeOf(AquariumView& view, const draw::PixelBuffer& pixels, bool ready);
// The timer interval the result asks for, milliseconds.
int TickMsOf(const WakeResult& result);

// The pointer in a view's pixels: creatures flee it from now on.
void PointerMoved(AquariumView& view, float x, float y);
// A left click in a view's pixels: a burst of bubbles at the next frame.
void PointerClicked(AquariumView& view, float x, float y);

// Creatures within `radius` pixels of the view's pointer, for the status line.
int CreaturesNearPointer(const AquariumView& view, float radius);
