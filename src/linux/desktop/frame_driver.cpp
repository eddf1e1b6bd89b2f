#include "desktop/frame_driver.h"

#include <cmath>

#include "base/clock.h"

WakeResult RunFrames(LinuxApp& app, ViewWake* views, int count) {
  WakeInputs wake;
  wake.now = MonotonicNanoseconds();
  wake.visibility = app.lifecycle.visibility;
  wake.reducedMotion = app.lifecycle.reducedMotion;
  wake.batterySaver = app.lifecycle.batterySaver;
  wake.fullScreenInFront = app.lifecycle.fullScreenInFront;
  return RunFrameLoop(app.frame.loop, app.settings, wake, views, count);
}

int TickMsOf(const WakeResult& result) {
  return result.slowTicks ? kRestTickMs : kFrameTickMs;
}

namespace {
int32_t Pixel(float v) {
  return std::isfinite(v) ? int32_t(std::lround(v)) : 0;
}
}  // namespace

void LayOutSurface(LinuxApp& app, SurfaceAquariums& surface, const std::vector<MonitorInfo>& monitors,
                   const ScreenRect& client) {
  if (!LayOutAquariums(surface.set, monitors, client, app.settings)) return;
  for (PlacedAquarium& a : surface.set.aquariums) a.view.fixedSteps = app.launch.steps;
}

void PointerMoved(SurfaceAquariums& surface, float x, float y) {
  PostPointerMove(surface.pointer, {Pixel(x), Pixel(y)});
}

void PointerClicked(SurfaceAquariums& surface, float x, float y) {
  PostPointerClick(surface.pointer, {Pixel(x), Pixel(y)});
}

int CreaturesNearPointer(const Aquarium& aquarium, float radius) {
  if (!aquarium.pointerKnown) return 0;
  int near = 0;
  for (const Creature& c : aquarium.creatures) {
    const float dx = c.x - aquarium.pointerX, dy = c.y - aquarium.pointerY;
    if (dx * dx + dy * dy < radius * radius) ++near;
  }
  return near;
}
