#include "desktop/frame_driver.h"

#include <chrono>

#include "common/linux_log.h"
#include "scene/scene.h"
#include "sim/simulation.h"

namespace {

constexpr float kFixedStepSeconds = 1.0f / 60.0f;

// Draws one frame of the scene into the pixels: the one place the scene
// renderer is called.
void DrawScene(AquariumView& view, int theme, const draw::PixelBuffer& pixels) {
  draw::Graphics graphics = draw::MakeRasterGraphics(pixels);
  RenderScene(view.aquarium, theme, graphics, pixels.width, pixels.height, view.sceneCache);
}

}  // namespace

int64_t MonotonicNanoseconds() {
  using namespace std::chrono;
  return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

bool TickRenders(LinuxApp& app) {
  const int64_t period = FramePeriodNanoseconds(app.lifecycle.fullScreenInFront, app.settings.fpsMode);
  return FrameDue(app.frame.pacer, MonotonicNanoseconds(), period);
}

void DrawFrame(LinuxApp& app, AquariumView& view, const draw::PixelBuffer& pixels) {
  if (pixels.pixels == nullptr || pixels.width <= 0 || pixels.height <= 0) return;
  const int64_t now = MonotonicNanoseconds();
  if (app.launch.steps > 0) {
    // Test mode: the same steps as tidemere-render, then the same picture.
    if (!view.aquarium.populated || view.aquarium.width != pixels.width ||
        view.aquarium.height != pixels.height) {
      for (int step = 0; step < app.launch.steps; ++step) {
        view.aquarium.elapsed += kFixedStepSeconds;
        StepAquarium(view.aquarium, app.settings, kFixedStepSeconds, pixels.width, pixels.height);
      }
    }
  } else {
    const float dt = view.lastFrameTime == 0 ? 0.0f : ClampedFrameSeconds(now, view.lastFrameTime);
    view.aquarium.elapsed += dt;
    StepAquarium(view.aquarium, app.settings, dt, pixels.width, pixels.height);
  }
  view.lastFrameTime = now;
  DrawScene(view, app.settings.theme, pixels);
  ++app.frame.framesDrawn;

  FrameCostReport report;
  const double costMs = double(MonotonicNanoseconds() - now) / 1e6;
  if (RecordFrameCost(view.frameCosts, now, costMs, report)) {
    Log("[diag] %dx%d render ms median=%.2f max=%.2f fps=%.1f fish=%zu", pixels.width, pixels.height,
        report.medianMs, report.maxMs, report.fps, view.aquarium.creatures.size());
  }
}

bool DecideRest(LinuxApp& app) {
  Lifecycle& life = app.lifecycle;
  const RestReason reason = RestReasonFor(life.visibility);
  if (reason == life.resting) return reason != RestReason::kNone;
  if (reason != RestReason::kNone) {
    Log("[rest] %ls: frames stop", RestReasonName(reason));
  } else {
    Log("[rest] visible again: frames resume");
  }
  life.resting = reason;
  return reason != RestReason::kNone;
}

void PointerMoved(LinuxApp& app, AquariumView& view, float x, float y) {
  if (app.launch.steps == 0) RecordPointerMove(view.aquarium, x, y);
}

void PointerClicked(LinuxApp& app, AquariumView& view, float x, float y) {
  if (app.launch.steps == 0 && view.aquarium.populated) AddClickBurst(view.aquarium, x, y);
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
