// The frame driver, whatever the display: one wake-up of the frame loop over
// the views a display hands it, and the pointer as a display hears it.
#pragma once

#include <vector>

#include "common/linux_app.h"
#include "draw/toolkit.h"
#include "policy/frame_loop.h"
#include "policy/window_aquariums.h"

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
// The timer interval the result asks for, milliseconds.
int TickMsOf(const WakeResult& result);

// Lays a surface's aquariums over its monitors again (when they or the
// settings changed); new ones take the test mode's fixed steps.
void LayOutSurface(LinuxApp& app, SurfaceAquariums& surface, const std::vector<MonitorInfo>& monitors,
                   const ScreenRect& client);

// The pointer in a surface's pixels: creatures of the aquarium under it flee
// it from now on.
void PointerMoved(SurfaceAquariums& surface, float x, float y);
// A left click in a surface's pixels: a burst of bubbles at the next frame.
void PointerClicked(SurfaceAquariums& surface, float x, float y);

// Creatures within `radius` pixels of the aquarium's pointer, for the status line.
int CreaturesNearPointer(const Aquarium& aquarium, float radius);
