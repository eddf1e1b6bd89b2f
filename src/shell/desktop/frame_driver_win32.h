// The frame driver: wake-ups become frames. Each wake-up it reads what the
// system shows of the wallpaper, runs the frame loop over the back buffer and
// hands the presenter what changed; it keeps timer 1 and the high-resolution
// frame timer at the rate the loop asks for.
#pragma once

#include "common/wallpaper_app_win32.h"

// Frames start: the high-resolution frame timer (Windows 10 1803 and later)
// where there is one and `frameTimer` allows it, and timer 1 of the wallpaper
// window; again after the window was made anew.
void StartFrames(WallpaperApp& app, bool frameTimer = true);
// The frame timer closed.
void StopFrames(WallpaperApp& app);
// A wake-up: timer 1's tick or the frame timer's.
void OnTimerTick(WallpaperApp& app);
// Waits for the frame timer or a message, whichever comes first, and runs the
// wake-up when the timer fired. Only with a frame timer.
void WaitForFrameOrMessage(WallpaperApp& app);
// One frame drawn and shown now, whatever the pacing; the window's first
// frame is drawn this way before it is shown.
void RenderFrame(WallpaperApp& app);
void ShowWithFirstFrame(WallpaperApp& app);
// The back buffer shown again whole (the window lost its picture).
void ShowBackBuffer(WallpaperApp& app);
// The next frame is drawn again and shown whole.
void RequestFullFrame(WallpaperApp& app, FullFrameReason reason);
// Frees the back buffer (memory DC and DIB section).
void ReleaseBackBuffer(WallpaperApp& app);
