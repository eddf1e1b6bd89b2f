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

ViewWake WakeOf(AquariumView& view, const draw::PixelBuffer& pixels, bool ready) {
  ViewWake wake;
  wake.view = &view.frame;
  wake.aquarium = &view.aquarium;
  wake.target = pixels;
  wake.ready = ready;
  wake.pointer = &view.pointer;  // in the view's own pixels
  return wake;
}

int TickMsOf(const WakeResult& result) {
  return result.slowTicks ? kRestTickMs : kFrameTickMs;
}

namespace {
int32_t Pixel(float v) {
  return std::isfinite(v) ? int32_t(std::lround(v)) : 0;
}
}  // namespace

void PointerMoved(AquariumView& view, float x, float y) {
  PostPointerMove(view.pointer, {Pixel(x), Pixel(y)});
}

void PointerClicked(AquariumView& view, float x, float y) {
  PostPointerClick(view.pointer, {Pixel(x), Pixel(y)});
}

int CreaturesNearPointer(const AquariumView& view, float radius) {
  if (!view.aquarium.pointerKnown) return 0;
  int near = 0;
  for (const Creature& c : view.aquarium.creatures) {
    const float dx = c.x - view.aquarium.pointerX, dy = c.y - view.aquarium.pointerY;
    if (dx * dx + dy * dy < radius * radius) ++near;
  }
  return near;
}
