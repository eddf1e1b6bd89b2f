// The frame driver's decisions, as plain functions of plain values so that
// they are tested without a window: is a full-screen application in front,
// does this wake-up render (by time, or on the compositor's clock), how long
// was the last frame, and what did the last frames cost.
#pragma once

#include <cstdint>
#include <vector>

#include "base/screen_rect.h"

// What the frame driver reads of the foreground window.
struct ForegroundWindowInfo {
  bool exists = false;
  bool isOwnWindow = false;  // the wallpaper or the message-only window
  bool minimized = false;
  bool rectKnown = false;
  ScreenRect rect;             // window rectangle, screen coordinates
  wchar_t className[64] = {};  // read every tick: no allocation
};

// The monitor a window is on, picked as Windows picks it for
// MonitorFromWindow: the one its rectangle overlaps most (the first of equals).
// Null when it overlaps none.
const ScreenRect* MonitorOf(const ScreenRect& window, const std::vector<ScreenRect>& monitors);

// A window that covers the monitor it is on within 2 pixels and is not part
// of the shell's desktop.
bool IsFullScreenApplication(const ForegroundWindowInfo& window, const std::vector<ScreenRect>& monitors);

// Frame rate modes of the settings.
constexpr int kFpsSmooth = 0;
constexpr int kFpsPowerSaver = 1;

// Frames are paced by time, not by counting timer ticks: a system timer
// fires on its own grid (15.625 ms on Windows), so a 16 ms tick comes every
// 31.25 ms and counting ticks halves the rate. A frame is due every 1/60 s in
// smooth mode, 1/15 s in power-saver mode and 1/6 s while a full-screen
// application is in front, whatever the grid the wake-ups fall on.
constexpr int64_t kNanosecondsPerSecond = 1000000000;
int64_t FramePeriodNanoseconds(bool fullScreenInFront, int fpsMode);

// While resting (nobody can see the wallpaper) the program only wakes to
// check whether that is still so.
constexpr int64_t kRestCheckNanoseconds = 250000000;

struct FramePacer {
  int64_t nextDue = 0;   // monotonic clock, nanoseconds; 0: the next wake-up renders
  int64_t nextTick = 0;  // on the compositor's clock: its tick; 0: the next tick renders
};

// True when a frame is due at `now` (a wake-up up to half a millisecond early
// counts as on time). The due time then moves on by one period; a wake-up
// more than a period late starts afresh from now, so a stall is never
// followed by a burst of catch-up frames.
bool FrameDue(FramePacer& pacer, int64_t now, int64_t period);
// How long to sleep from `now`: until the next frame is due, or the resting
// check's period while resting. Never negative.
int64_t NextWakeDelay(const FramePacer& pacer, int64_t now, bool resting);

// Smooth frames on the compositor's clock come every Nth of its ticks, N the
// fewest that keep the rate at 60 a second (2% over still counts as 60: a
// 60.5 Hz panel), so that they are evenly spaced at any refresh rate: every
// tick at 59.94 or 60 Hz, every 2nd at 120 Hz, every 3rd at 144 Hz (48 a second).
int CompositorTicksPerFrame(int64_t refreshPeriodNanoseconds);
// True when a frame is due at compositor tick `tick` (counted from 1). The due
// tick then moves on by `ticksPerFrame`; ticks missed by a whole frame or more
// start afresh, as FrameDue does for time.
bool FrameDueOnTick(FramePacer& pacer, int64_t tick, int ticksPerFrame);

// The frame time in seconds: from the previous frame's clock reading to now,
// clamped to 0..0.1 s so that a pause never makes the aquarium jump.
float ClampedFrameSeconds(int64_t nowNanoseconds, int64_t lastNanoseconds);

// The cost of the last frames for the /debug report: the time spent in a
// frame (step, scene and present), and the frames per wall-clock second.
struct FrameCostWindow {
  static constexpr int kFrames = 100;
  double costMs[kFrames] = {};
  int count = 0;
  int64_t previousFrameNs = 0;  // start of the frame recorded last, 0 before any
  int intervals = 0;            // frame-to-frame intervals summed in wallSeconds
  double wallSeconds = 0;
};

struct FrameCostReport {
  double medianMs = 0;
  double maxMs = 0;
  double fps = 0;
};

// Records one frame that began at `frameStartNs` and cost `costMs`. Every
// kFrames frames it fills `report`, starts a new window and returns true.
bool RecordFrameCost(FrameCostWindow& window, int64_t frameStartNs, double costMs, FrameCostReport& report);
