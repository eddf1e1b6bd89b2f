// The aquariums of one window as a shell drives them: laid over the monitors
// again whenever they (or the settings) change, one view each in its own
// rectangle of the window's pixels, and what the views drew gathered back
// into the window's coordinates for the presenter.
#pragma once

#include <vector>

#include "draw/compositing.h"
#include "policy/frame_loop.h"
#include "policy/monitor_layout.h"
#include "sim/pointer_inbox.h"

// Decides the layout over `client` (the window's client area, in the
// monitors' pixels) and follows it, saying so in the log when it changed.
// Returns whether it changed.
bool LayOutAquariums(AquariumSet& set, const std::vector<MonitorInfo>& monitors, const ScreenRect& client,
                     const Settings& settings);

// Appends one view per aquarium of `set` over `window` (the window's pixels;
// null pixels: nothing to draw into), ready unless a full-screen window rests
// it. They share `inbox`, whose coordinates put the window's top left at
// `windowOrigin`.
void AquariumViews(AquariumSet& set, const draw::PixelBuffer& window, PointerInbox* inbox,
                   PointerPoint windowOrigin, std::vector<ViewWake>& views);

// The rectangles that `views` (AquariumViews' of `set`, in its order) drew,
// in the window's pixels; true when that is all of the window (one aquarium
// over it, shown whole).
bool ChangedInWindow(const AquariumSet& set, const ViewWake* views, int count,
                     std::vector<draw::PixelRect>& changed);
