// The aquarium as the background of a wlroots Wayland compositor: one
// layer-shell surface per output on the background layer, anchored to every
// edge, drawn in place into two shared-memory buffers and paced by the
// compositor's frame callbacks, which stop while nothing of it is visible.
#pragma once

#include <string>
#include <vector>

#include "common/linux_app.h"

// Connects to the compositor WAYLAND_DISPLAY names and checks that it offers
// the layer shell. Null with a one-line reason otherwise, nothing left open.
WaylandDesktop* ConnectWayland(std::string& error);

// Makes a surface on every output and starts the frames; needs the Qt
// application (its event loop hears the connection).
void StartWaylandDesktop(LinuxApp& app, WaylandDesktop* desktop);
void StopWaylandDesktop(LinuxApp& app);

// Every output's aquarium.
std::vector<SurfaceAquariums*> WaylandSurfaces(LinuxApp& app);
int WaylandSurfaceCount(const LinuxApp& app);
// Rest or draw again now: the visibility state changed.
void UpdateWaylandRest(LinuxApp& app);
