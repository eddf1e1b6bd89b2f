// Whether anybody can see the wallpaper: the decision to rest, as plain
// functions of plain values so that they are tested without a desktop.
#pragma once

#include <vector>

#include "policy/frame_pacing.h"

// A top-level window above the desktop, as the coverage test sees it.
struct CoveringWindow {
  ScreenRect rect;  // window rectangle, screen coordinates
  bool visible = true;
  bool minimized = false;
  bool cloaked = false;      // hidden by the window manager (other virtual desktops, suspended apps)
  bool translucent = false;  // layered, or otherwise lets what lies below show through
};

// True when the opaque windows together cover the whole of every monitor.
// No monitor at all counts as not covered.
bool IsEveryMonitorCovered(const std::vector<ScreenRect>& monitors,
                           const std::vector<CoveringWindow>& windows);

// Why the wallpaper rests instead of drawing frames.
enum class RestReason {
  kNone,
  kSessionLocked,  // locked, or disconnected from the console
  kRemoteSession,  // a remote-desktop session: nobody sees the desktop here
  kDisplayOff,
  kSuspending,
  kCovered,
  kDetached,  // no wallpaper window: waiting for the shell to come back
};

struct VisibilityState {
  bool sessionLocked = false;
  bool remoteSession = false;
  bool displayOff = false;
  bool suspending = false;
  bool covered = false;
  bool detached = false;
};

// The reason the wallpaper rests: no window first, then the others in the
// order of the fields above.
RestReason RestReasonFor(const VisibilityState& state);
// A short name for the log.
const wchar_t* RestReasonName(RestReason reason);

// A session locked before the program started (a Run-key start behind the
// lock screen) is read from WTSQuerySessionInformation's SessionFlags: 0
// locked, 1 unlocked, -1 unknown (taken as unlocked). Windows 7 and Server
// 2008 R2 report the two the other way round (`reversedFlags`).
bool SessionFlagsSayLocked(long sessionFlags, bool reversedFlags);

// Battery saver caps the frame rate at the power-saver rate.
int EffectiveFpsMode(int fpsMode, bool batterySaver);

// With the system's reduced-motion switch on, one still frame is drawn and
// drawn again only when what it shows would change.
struct StillFrame {
  bool drawn = false;
  int theme = 0;
  int width = 0;
  int height = 0;
};
bool StillFrameNeedsDrawing(const StillFrame& still, bool populated, int theme, int width, int height);
