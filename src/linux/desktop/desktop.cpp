#include "desktop/desktop.h"

#include <QString>
#include <cmath>
#include <cstdio>
#include <vector>

#include "desktop/frame_driver.h"
#include "desktop/wayland_desktop.h"
#include "desktop/x11_desktop.h"

namespace {

std::vector<SurfaceAquariums*> Surfaces(LinuxApp& app) {
  return app.kind == DesktopKind::kX11 ? X11Surfaces(app) : WaylandSurfaces(app);
}

}  // namespace

void RebuildAquariums(LinuxApp& app) {
  for (SurfaceAquariums* surface : Surfaces(app)) RebuildAquariums(surface->set);
}

void VisibilityChanged(LinuxApp& app) {
  if (app.kind == DesktopKind::kX11) {
    UpdateX11Rest(app);
  } else {
    UpdateWaylandRest(app);
  }
}

void StopDesktop(LinuxApp& app) {
  StopX11Desktop(app);
  StopWaylandDesktop(app);
}

std::string DesktopStatus(LinuxApp& app) {
  const std::vector<SurfaceAquariums*> surfaces = Surfaces(app);
  const int shown = app.kind == DesktopKind::kX11 ? int(surfaces.size()) : WaylandSurfaceCount(app);
  size_t fish = 0, bubbles = 0, clickBubbles = 0, aquariums = 0;
  // The pointer as the aquarium under it knows it, in its surface's pixels.
  const PlacedAquarium* pointed = nullptr;
  for (SurfaceAquariums* surface : surfaces) {
    for (const PlacedAquarium& a : surface->set.aquariums) {
      ++aquariums;
      fish += a.aquarium.creatures.size();
      bubbles += a.aquarium.bubbles.size();
      for (const Bubble& b : a.aquarium.bubbles) clickBubbles += b.fromClick;
      if (pointed == nullptr && a.aquarium.pointerKnown) pointed = &a;
    }
  }
  // One word per field: "session locked" reads as "session-locked".
  std::string rest = QString::fromWCharArray(RestReasonName(app.frame.loop.resting)).toStdString();
  for (char& c : rest) c = c == ' ' ? '-' : c;
  char line[256];
  std::snprintf(line, sizeof line,
                "display=%s frames=%d rest=%s theme=%d fish=%zu bubbles=%zu clickbubbles=%zu surfaces=%d "
                "aquariums=%zu fullscreen=%d saver=%d motion=%d",
                app.kind == DesktopKind::kX11 ? "x11" : "wayland", app.frame.loop.framesRendered,
                rest.c_str(), app.settings.theme, fish, bubbles, clickBubbles, shown, aquariums,
                int(app.lifecycle.fullScreenInFront), int(app.lifecycle.batterySaver),
                int(!app.lifecycle.reducedMotion));
  std::string status = line;
  if (pointed != nullptr) {
    const Aquarium& a = pointed->aquarium;
    const float scale = pointed->place.scale;
    std::snprintf(line, sizeof line, " pointer=%d,%d near=%d",
                  int(std::lround(pointed->place.rect.left + a.pointerX * scale)),
                  int(std::lround(pointed->place.rect.top + a.pointerY * scale)),
                  CreaturesNearPointer(a, 100.0f));
    status += line;
  }
  return status;
}
