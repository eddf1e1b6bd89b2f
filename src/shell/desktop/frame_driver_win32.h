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
// A wake-up: timer 1's tick, the frame timer's or the compositor's.
void OnTimerTick(WallpaperApp& app);
// Timer 1 ticked (WM_TIMER): a wake-up, and inside a modal loop, which never
// reaches the program's own wait, timer 1 takes over the frames' pace.
void OnWindowTimer(WallpaperApp& app);
// Whether the program's loop waits in WaitForFrameOrMessage (a frame timer
// or the compositor's clock) rather than for timer 1 alone.
bool FramesWaitInTheLoop(const WallpaperApp& app);
// Waits for the frame timer (or the compositor's next tick, while frames
// follow it) or a message, whichever comes first, and runs the wake-up when
// the timer or the clock woke it.
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
