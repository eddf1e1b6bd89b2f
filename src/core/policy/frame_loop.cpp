#include "policy/frame_loop.h"

#include <iterator>

#include "base/clock.h"
#include "base/log.h"
#include "base/themes.h"
#include "sim/simulation.h"

namespace {

constexpr float kFixedStepSeconds = 1.0f / 60.0f;

// A new surface, or the same one at another size: its pixels hold nothing of ours.
bool TargetChanged(const FrameView& view, const draw::PixelBuffer& target) {
  return target.pixels != view.lastPixels || target.width != view.lastWidth ||
         target.height != view.lastHeight || target.stride != view.lastStride;
}

// Steps the view's aquarium to this frame: by the frame time, or in the test
// mode by the fixed steps once for a new aquarium or size.
void Step(FrameView& view, Aquarium& aquarium, const Settings& settings, int64_t now, int width, int height) {
  if (view.fixedSteps > 0) {
    if (!aquarium.populated || aquarium.width != width || aquarium.height != height) {
      for (int step = 0; step < view.fixedSteps; ++step)
        StepAquarium(aquarium, settings, kFixedStepSeconds, width, height);
    }
  } else {
    const float dt = view.lastFrameTime == 0 ? 0.0f : ClampedFrameSeconds(now, view.lastFrameTime);
    StepAquarium(aquarium, settings, dt, width, height);
  }
  view.lastFrameTime = now;
}

void DrawView(FrameLoop& loop, const Settings& settings, ViewWake& v, int64_t now) {
  FrameView& view = *v.view;
  const draw::PixelBuffer& target = v.target;
  if (target.pixels == nullptr || target.width <= 0 || target.height <= 0) return;
  if (TargetChanged(view, target)) {
    RequestFullFrame(view, FullFrameReason::kNewBuffer);
    view.lastPixels = target.pixels;
    view.lastWidth = target.width;
    view.lastHeight = target.height;
    view.lastStride = target.stride;
  }
  Aquarium& aquarium = *v.aquarium;
  if (!aquarium.populated) RequestFullFrame(view, FullFrameReason::kNewAquarium);
  Step(view, aquarium, settings, now, target.width, target.height);

  const FullFrameReason full = view.fullFrame;
  if (view.redrawAll) InvalidateRetainedScene(*view.retained);
  static const std::vector<draw::PixelRect> kNothing;
  v.changed = &kNothing;
  int status = 0;
  // A scene number nothing knows draws nothing: the last picture stays.
  if (IsTheme(settings.theme)) {
    const RetainedFrame& frame = RenderSceneRetained(aquarium, settings.theme, target, *view.retained);
    v.changed = &frame.changed;
    status = frame.stats.status;
  }
  v.drawn = true;
  v.whole = full != FullFrameReason::kNone;
  if (v.whole)
    WriteLog(L"[frame] %dx%d shown whole: %s", target.width, target.height, FullFrameReasonName(full));
  view.fullFrame = FullFrameReason::kNone;
  view.redrawAll = false;
  loop.keptBytes += RetainedSceneBytes(*view.retained);
  if (++loop.framesRendered % 100 == 0) {
    WriteLog(L"[diag] frame=%d GDI+ status=%d fish=%zu", loop.framesRendered, status,
             aquarium.creatures.size());
  }
}

// The pointer input heard since the last wake-up, for every view. Clicks are
// dropped while no moving frame is drawn: nothing would step their bubbles.
void DeliverPointer(ViewWake* views, int count, bool still) {
  for (int i = 0; i < count; ++i) {
    ViewWake& v = views[i];
    if (v.pointer == nullptr) continue;
    // The fixed-step picture must stay the render tool's: the pointer is
    // heard and forgotten.
    Aquarium scratch;
    Aquarium& aquarium = v.view->fixedSteps > 0 ? scratch : *v.aquarium;
    v.clicks = DeliverPointerInput(*v.pointer, aquarium, v.origin, still || v.view->fixedSteps > 0);
    if (v.clicks > 0) WriteLog(L"[pointer] %d click(s): bubbles released", v.clicks);
  }
}

}  // namespace

const wchar_t* FullFrameReasonName(FullFrameReason reason) {
  static const wchar_t* const kNames[] = {L"not",        L"first frame", L"new pixels",    L"new aquarium",
                                          L"rest ended", L"exposed",     L"display change"};
  static_assert(std::size(kNames) == kFullFrameReasonCount, "one name per reason");
  return kNames[size_t(reason)];
}

void RequestFullFrame(FrameView& view, FullFrameReason reason) {
  if (view.fullFrame == FullFrameReason::kNone) view.fullFrame = reason;
  // The other reasons leave the kept layers true: only the screen lost them.
  if (reason != FullFrameReason::kRestEnded && reason != FullFrameReason::kExposed) view.redrawAll = true;
}

WakeResult RunFrameLoop(FrameLoop& loop, const Settings& settings, const WakeInputs& wake, ViewWake* views,
                        int count) {
  WakeResult result;
  for (int i = 0; i < count; ++i) {
    views[i].drawn = views[i].whole = false;
    views[i].changed = nullptr;
    views[i].clicks = 0;
  }
  loop.drawStart = 0;

  // Nobody can see it: no frame, only the resting check's wake-ups.
  const RestReason reason = RestReasonFor(wake.visibility);
  if (reason != loop.resting) {
    result.restChanged = true;
    if (reason != RestReason::kNone) {
      WriteLog(L"[rest] %s: frames stop", RestReasonName(reason));
    } else {
      WriteLog(L"[rest] visible again: frames resume");
      // Whatever happened meanwhile (a display off, a session away), the
      // first frame back is shown whole.
      for (int i = 0; i < count; ++i) RequestFullFrame(*views[i].view, FullFrameReason::kRestEnded);
    }
    loop.resting = reason;
  }
  result.resting = reason;
  if (reason != RestReason::kNone) {
    DeliverPointer(views, count, true);
    loop.slowTicks = result.slowTicks = true;
    loop.onCompositorClock = false;
    result.framePeriod = loop.framePeriod;
    result.nextWake = NextWakeDelay(loop.pacer, wake.now, true);
    return result;
  }

  loop.keptBytes = 0;
  if (wake.reducedMotion) {
    // One still frame, drawn again only when what it shows would change.
    DeliverPointer(views, count, true);
    for (int i = 0; i < count; ++i) {
      ViewWake& v = views[i];
      FrameView& view = *v.view;
      // Drawn again when what it shows would change, or the pixels lost it.
      const bool needed = TargetChanged(view, v.target) || view.fullFrame != FullFrameReason::kNone ||
                          StillFrameNeedsDrawing(view.still, v.aquarium->populated, settings.theme,
                                                 v.target.width, v.target.height);
      if (!v.ready || !needed) continue;
      if (loop.drawStart == 0) loop.drawStart = wake.now;
      DrawView(loop, settings, v, wake.now);
      if (!v.drawn) continue;
      ++result.viewsDrawn;
      view.still = {true, settings.theme, v.target.width, v.target.height};
      WriteLog(L"[motion] still frame %dx%d theme %d", v.target.width, v.target.height, settings.theme);
    }
    loop.slowTicks = result.slowTicks = true;
    loop.onCompositorClock = false;
  } else {
    for (int i = 0; i < count; ++i) views[i].view->still = StillFrame();
    const int mode = EffectiveFpsMode(settings.fpsMode, wake.batterySaver);
    // Smooth frames follow the compositor's clock where there is one, evenly
    // spaced on its ticks; the slower paces stay time-based.
    const bool onClock = wake.compositorPeriod > 0 && !wake.fullScreenInFront && mode == kFpsSmooth;
    const int ticks = CompositorTicksPerFrame(wake.compositorPeriod);
    const int64_t period =
        onClock ? ticks * wake.compositorPeriod : FramePeriodNanoseconds(wake.fullScreenInFront, mode);
    loop.framePeriod = period;
    loop.slowTicks = false;
    loop.onCompositorClock = result.onCompositorClock = onClock;
    DeliverPointer(views, count, false);
    const bool due = onClock ? FrameDueOnTick(loop.pacer, wake.compositorTick, ticks)
                             : FrameDue(loop.pacer, wake.now, period);
    if (due) {
      loop.drawStart = wake.now;
      for (int i = 0; i < count; ++i) {
        if (!views[i].ready) continue;
        DrawView(loop, settings, views[i], wake.now);
        result.viewsDrawn += views[i].drawn;
      }
    }
  }
  if (result.viewsDrawn == 0) loop.drawStart = 0;
  if (loop.drawStart != 0) loop.drawMs = double(MonotonicNanoseconds() - loop.drawStart) / 1e6;
  result.framePeriod = loop.framePeriod;
  result.nextWake = NextWakeDelay(loop.pacer, wake.now, loop.slowTicks);
  return result;
}

void NoteFramesShown(FrameLoop& loop, double copiedPixels, double framePixels, double presentMs) {
  if (loop.drawStart == 0) return;
  const int64_t start = loop.drawStart;
  loop.drawStart = 0;
  loop.windowDrawMs += loop.drawMs;
  loop.windowPresentMs += presentMs;
  loop.windowCopied += copiedPixels;
  loop.windowPixels += framePixels;
  // What a frame costs this machine, for a user's report: step, scene and present.
  FrameCostReport report;
  if (!debugLogging || !RecordFrameCost(loop.costs, start, loop.drawMs + presentMs, report)) return;
  WriteLog(L"[diag] render ms median=%.2f max=%.2f fps=%.1f", report.medianMs, report.maxMs, report.fps);
  // The share of the window's pixels the presenter copied, over the same frames.
  const double share = loop.windowPixels > 0 ? 100 * loop.windowCopied / loop.windowPixels : 0;
  WriteLog(L"[diag] copied %.1f%% of the frame, mean ms step+draw %.2f present %.2f, kept layers %.1f MB",
           share, loop.windowDrawMs / FrameCostWindow::kFrames,
           loop.windowPresentMs / FrameCostWindow::kFrames, double(loop.keptBytes) / 1e6);
  loop.windowDrawMs = loop.windowPresentMs = loop.windowCopied = loop.windowPixels = 0;
}
