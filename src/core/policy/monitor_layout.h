// Where the aquariums lie on a desktop of several monitors, as a plain
// function of the monitors' rectangles and scale factors and the settings:
// one aquarium across all of them, or one on each, every one a whole scene
// of its own size with its floor at its monitor's bottom. Both desktops
// follow the same decision; the frame loop draws each aquarium into its own
// rectangle of the window.
#pragma once

#include <vector>

#include "base/screen_rect.h"
#include "policy/frame_loop.h"
#include "settings/settings.h"
#include "sim/aquarium.h"

// A monitor as the desktop reports it: its rectangle in screen pixels and its
// scale factor (1 at 96 DPI, 2 at 192).
struct MonitorInfo {
  ScreenRect rect;
  float scale = 1;
};

// The scale factor of a monitor of `dpi` dots per inch: a quarter step
// (125 %, 150 %, ...), from 1 to 4.
float MonitorScaleOfDpi(double dpi);

// One aquarium of a layout: its rectangle in the window's client pixels, and
// how many times larger it draws (it is simulated at its size divided by it).
struct AquariumPlace {
  ScreenRect rect;
  float scale = 1;
};
bool SamePlace(const AquariumPlace& a, const AquariumPlace& b);

struct MonitorLayout {
  bool each = false;  // one aquarium per monitor
  std::vector<AquariumPlace> places;
  // Where the window's client area, which the places are in, lay on the screen.
  int originX = 0, originY = 0;
};

// True when the rectangles cover their bounding box exactly, without
// overlapping, and those that start on the same row have the same height.
bool MonitorsTileTheirBox(const std::vector<ScreenRect>& monitors);

// The aquariums over a window whose client area is `client` (screen pixels):
// with settings.monitors across, one over the whole window at the smallest
// scale of the monitors; each, one per monitor (its part inside the window)
// at its own scale; auto, across when the monitors tile their box, else
// each. Without ScaleWithDpi every scale is 1. No monitor inside the window
// gives one aquarium over it at scale 1.
MonitorLayout DecideMonitorLayout(const std::vector<MonitorInfo>& monitors, const ScreenRect& client,
                                  const Settings& settings);

// An aquarium at its place in the window, with what the frame loop keeps for it.
struct PlacedAquarium {
  AquariumPlace place;
  Aquarium aquarium;  // in its own pixels: place.rect's size divided by place.scale
  FrameView view;
  bool underFullScreen = false;  // a full-screen window covers its monitor: it rests
};

// The aquariums of one window. There is always one at least: before any
// layout, one over nothing.
struct AquariumSet {
  MonitorLayout layout;
  std::vector<PlacedAquarium> aquariums = std::vector<PlacedAquarium>(1);  // one per place, in its order
};

bool SameLayout(const MonitorLayout& a, const MonitorLayout& b);
// Takes a new layout: an aquarium whose place stays (in the window, or on
// the screen: a monitor plugged left of it moves the window's origin) keeps
// swimming, the others are made anew (populated at their first frame). One
// aquarium before and after, at the same scale, stays the same aquarium at
// its new size (as a window over one monitor always did). Returns how many
// were made anew. An empty layout keeps the first aquarium over nothing.
int FollowLayout(AquariumSet& set, const MonitorLayout& layout);
// Every aquarium is populated again at its next frame (a scene chosen,
// settings applied).
void RebuildAquariums(AquariumSet& set);

// A full-screen window fills `monitor` (the window's client pixels): with
// several aquariums, those that lie on it rest and the others go on; with one
// it stays (its pace slows). Returns whether the one aquarium's pace slows.
bool MarkFullScreen(AquariumSet& set, const ScreenRect* monitor);
