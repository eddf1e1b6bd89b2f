// From the X server's stacking list to the coverage decision: which of the
// windows stacked above the aquarium can hide it. Plain values read from the
// server, so the adapter is tested without one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "policy/visibility.h"

constexpr uint32_t kAllDesktops = 0xFFFFFFFF;

// One managed window of _NET_CLIENT_LIST_STACKING, as read from the server.
struct StackedWindow {
  uint32_t id = 0;
  ScreenRect frame;                 // root coordinates, with the window manager's frame
  bool viewable = true;             // mapped, and its parents too
  bool hidden = false;              // _NET_WM_STATE_HIDDEN: minimised or shaded
  uint32_t desktop = kAllDesktops;  // _NET_WM_DESKTOP
  bool argbVisual = false;          // a 32-bit visual: the background may show through
  uint32_t opacity = 0xFFFFFFFF;    // _NET_WM_WINDOW_OPACITY
  bool desktopType = false;         // _NET_WM_WINDOW_TYPE_DESKTOP
  std::string className;            // WM_CLASS's class, for the log
};

// The windows above `own` in `stacking` (bottom to top) as the coverage
// decision sees them: a window on another desktop counts as cloaked, a
// translucent one (ARGB visual or opacity below full) lets the aquarium show.
// Without `own` in the list every window counts as above it.
std::vector<CoveringWindow> CoveringWindowsAbove(const std::vector<StackedWindow>& stacking, uint32_t own,
                                                 uint32_t currentDesktop);

// Another desktop window above `own` on the current desktop: a file manager
// drawing the desktop itself. Null when there is none.
const StackedWindow* DesktopWindowAbove(const std::vector<StackedWindow>& stacking, uint32_t own,
                                        uint32_t currentDesktop);
