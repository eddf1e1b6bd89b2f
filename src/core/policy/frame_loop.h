// The frame loop both desktops run: at each wake-up the shell says what it
// observed (the time, who can see the aquarium, the power and motion
// preferences, a full-screen window in front) and hands over each view's
// pixels and pointer input; the loop decides whether to rest, steps and
// draws the views whose frame is due (the retained frame), and says what to
// show and when to wake next. The shell keeps only its timers, its windows
// and its presenter.
#pragma once

#include <cstdint>
#include <vector>

#include "draw/compositing.h"
#include "policy/frame_pacing.h"
#include "policy/visibility.h"
#include "scene/retained_scene.h"
#include "settings/settings.h"
#include "sim/aquarium.h"
#include "sim/pointer_inbox.h"

// Why a view's next frame is drawn again from scratch and shown whole.
enum class FullFrameReason : uint8_t {
  kNone,
  kStart,          // its first frame
  kNewBuffer,      // its pixels are new (another size, another surface)
  kNewAquarium,    // a new aquarium (a scene chosen, settings applied)
  kRestEnded,      // frames resume after a rest
  kExposed,        // the window system lost the picture on screen
  kDisplayChange,  // the monitors changed
};
constexpr int kFullFrameReasonCount = 7;
const wchar_t* FullFrameReasonName(FullFrameReason reason);

// One aquarium on one surface (a window, an output), and what the loop keeps
// for it from frame to frame.
struct FrameView {
  RetainedScenePtr retained = MakeRetainedScene();
  int64_t lastFrameTime = 0;  // monotonic clock, nanoseconds; 0 before the first frame
  FullFrameReason fullFrame = FullFrameReason::kStart;  // why the next frame is whole; kNone: it is not
  bool redrawAll = true;                 // and drawn again from scratch: the pixels or the aquarium are new
  const uint32_t* lastPixels = nullptr;  // the target drawn into last
  int lastWidth = 0;
  int lastHeight = 0;
  int lastStride = 0;
  StillFrame still;  // the one frame shown while motion is reduced
  // Test mode: these steps of 1/60 s on a new aquarium, then the same picture.
  int fixedSteps = 0;
};

// The next frame of `view` is shown whole, and for new pixels, a new
// aquarium or new monitors drawn again from scratch. The first reason asked
// for since the last frame is the one reported.
void RequestFullFrame(FrameView& view, FullFrameReason reason);

// What the shell observed at this wake-up.
struct WakeInputs {
  int64_t now = 0;  // MonotonicNanoseconds()
  VisibilityState visibility;
  bool reducedMotion = false;  // the desktop asks for no animation
  bool batterySaver = false;
  bool fullScreenInFront = false;
  // The compositor's clock, where the shell follows it: its refresh period
  // (0: no clock, frames paced by time) and the count of its ticks so far.
  int64_t compositorPeriod = 0;
  int64_t compositorTick = 0;
};

// One view at this wake-up: in, its aquarium, the pixels that show it (they
// keep the last frame drawn into them) and the pointer input heard for it;
// out, what to show.
struct ViewWake {
  FrameView* view = nullptr;
  Aquarium* aquarium = nullptr;
  draw::PixelBuffer target;         // null pixels or an empty size: nothing to draw into
  bool ready = true;                // the surface can take a frame now
  PointerInbox* pointer = nullptr;  // may be null
  PointerPoint origin;              // the target's top left in the inbox's coordinates

  bool drawn = false;
  bool whole = false;                                     // show all of the target, not only `changed`
  const std::vector<draw::PixelRect>* changed = nullptr;  // while drawn: the rectangles that changed
  int clicks = 0;                                         // bubble bursts released
};

struct WakeResult {
  bool restChanged = false;  // frames stopped or resumed at this wake-up
  RestReason resting = RestReason::kNone;
  // Only the resting check's wake-ups are needed: at rest, or with the still
  // frame of reduced motion shown.
  bool slowTicks = false;
  int64_t framePeriod = 0;  // of the pace now asked for
  // Frames come on the compositor's ticks (smooth, with a clock): the shell
  // wakes at each tick rather than at `nextWake`.
  bool onCompositorClock = false;
  int64_t nextWake = 0;  // nanoseconds from now to the next wake-up
  int viewsDrawn = 0;
};

// What the loop keeps between wake-ups, whatever the views.
struct FrameLoop {
  FramePacer pacer;
  int64_t framePeriod = kNanosecondsPerSecond / 60;
  RestReason resting = RestReason::kNone;
  bool slowTicks = false;
  bool onCompositorClock = false;
  int framesRendered = 0;  // views drawn since start
  // The frame cost report (every FrameCostWindow::kFrames frames, with
  // /debug): step and draw here, present as the shell reports it.
  FrameCostWindow costs;
  int64_t drawStart = 0;  // of the wake-up whose frames wait to be shown, 0 when none
  double drawMs = 0;
  double windowDrawMs = 0;  // over the report's frames
  double windowPresentMs = 0;
  double windowCopied = 0;
  double windowPixels = 0;
  size_t keptBytes = 0;  // the retained layers of the views drawn last
};

WakeResult RunFrameLoop(FrameLoop& loop, const Settings& settings, const WakeInputs& wake, ViewWake* views,
                        int count);
// The shell showed the frames of the last wake-up: `copiedPixels` of
// `framePixels` copied, in `presentMs`. Completes their cost record.
void NoteFramesShown(FrameLoop& loop, double copiedPixels, double framePixels, double presentMs);
