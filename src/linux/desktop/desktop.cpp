#include "desktop/desktop.h"

#include <QString>
#include <cstdio>
#include <vector>

#include "desktop/frame_driver.h"
#include "desktop/wayland_desktop.h"
#include "desktop/x11_desktop.h"

namespace {

std::vector<AquariumView*> Views(LinuxApp& app) {
  return app.kind == DesktopKind::kX11 ? X11Views(app) : WaylandViews(app);
}

}  // namespace

void RebuildAquariums(LinuxApp& app) {
  for (AquariumView* view : Views(app)) view->aquarium.populated = false;
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
  const std::vector<AquariumView*> views = Views(app);
  const int surfaces = app.kind == DesktopKind::kX11 ? int(views.size()) : WaylandSurfaceCount(app);
  size_t fish = 0, bubbles = 0, clickBubbles = 0;
  for (AquariumView* view : views) {
    fish += view->aquarium.creatures.size();
    bubbles += view->aquarium.bubbles.size();
    for (const Bubble& b : view->aquarium.bubbles) clickBubbles += b.fromClick;
  }
  // One word per field: "session locked" reads as "session-locked".
  std::string rest = QString::fromWCharArray(RestReasonName(app.frame.loop.resting)).toStdString();
  for (char& c : rest) c = c == ' ' ? '-' : c;
  char line[256];
  std::snprintf(line, sizeof line,
                "display=%s frames=%d rest=%s theme=%d fish=%zu bubbles=%zu clickbubbles=%zu surfaces=%d "
                "fullscreen=%d saver=%d motion=%d",
                app.kind == DesktopKind::kX11 ? "x11" : "wayland", app.frame.loop.framesRendered,
                rest.c_str(), app.settings.theme, fish, bubbles, clickBubbles, surfaces,
                int(app.lifecycle.fullScreenInFront), int(app.lifecycle.batterySaver),
                int(!app.lifecycle.reducedMotion));
  std::string status = line;
  // The pointer as the first aquarium knows it, and who is near it.
  if (!views.empty() && views[0]->aquarium.pointerKnown) {
    const Aquarium& a = views[0]->aquarium;
    std::snprintf(line, sizeof line, " pointer=%d,%d near=%d", int(a.pointerX), int(a.pointerY),
                  CreaturesNearPointer(*views[0], 100.0f));
    status += line;
  }
  return status;
}
