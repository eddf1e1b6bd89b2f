// The aquarium as the X11 desktop: one window over the whole X screen with
// the desktop window type, below every other window, on every desktop and in
// no taskbar or pager. Frames are drawn straight into its backing store's
// image; it rests while it is covered.
#pragma once

#include <string>
#include <vector>

#include "common/linux_app.h"

// Makes and shows the window on the X display Qt is connected to. False with
// a reason when there is no X11 connection.
bool StartX11Desktop(LinuxApp& app, std::string& error);
void StopX11Desktop(LinuxApp& app);

// The desktop window's aquariums (none before it starts).
std::vector<SurfaceAquariums*> X11Surfaces(LinuxApp& app);
// Rest or draw again now: the visibility state changed.
void UpdateX11Rest(LinuxApp& app);
