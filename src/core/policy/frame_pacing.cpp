#include "policy/frame_pacing.h"

#include <algorithm>
#include <cwchar>

const ScreenRect* MonitorOf(const ScreenRect& window, const std::vector<ScreenRect>& monitors) {
  const ScreenRect* best = nullptr;
  int64_t bestArea = 0;
  for (const ScreenRect& m : monitors) {
    const ScreenRect shared = Intersection(window, m);
    if (shared.Empty()) continue;
    const int64_t area = int64_t(shared.Width()) * shared.Height();
    if (area > bestArea) {
      best = &m;
      bestArea = area;
    }
  }
  return best;
}

const ScreenRect* FullScreenMonitor(const ForegroundWindowInfo& window,
                                    const std::vector<ScreenRect>& monitors) {
  if (!window.exists || window.isOwnWindow || window.minimized || !window.rectKnown) return nullptr;
  const ScreenRect& r = window.rect;
  const ScreenRect* m = MonitorOf(r, monitors);
  if (m == nullptr) return nullptr;
  if (r.left > m->left + 2 || r.top > m->top + 2 || r.right < m->right - 2 || r.bottom < m->bottom - 2)
    return nullptr;
  // The desktop itself and the shell's own full-screen surfaces never count.
  // "#32769" is the desktop window itself, which Wine reports as foreground.
  for (const wchar_t* shell :
       {L"Progman", L"WorkerW", L"SHELLDLL_DefView", L"Windows.UI.Core.CoreWindow", L"#32769"}) {
    if (std::wcscmp(window.className, shell) == 0) return nullptr;
  }
  return m;
}

int64_t FramePeriodNanoseconds(bool fullScreenInFront, int fpsMode) {
  if (fullScreenInFront) return kNanosecondsPerSecond / 6;
  if (fpsMode == kFpsPowerSaver) return kNanosecondsPerSecond / 15;
  return kNanosecondsPerSecond / 60;
}

namespace {
// A timer may wake a little early; within this it is on time.
constexpr int64_t kEarlyWakeNanoseconds = 500000;
}  // namespace

bool FrameDue(FramePacer& pacer, int64_t now, int64_t period) {
  if (now + kEarlyWakeNanoseconds < pacer.nextDue) return false;
  const bool longLate = pacer.nextDue == 0 || now - pacer.nextDue >= period;
  pacer.nextDue = longLate ? now + period : pacer.nextDue + period;
  return true;
}

int64_t NextWakeDelay(const FramePacer& pacer, int64_t now, bool resting) {
  if (resting) return kRestCheckNanoseconds;
  return std::max<int64_t>(0, pacer.nextDue - now);
}

namespace {
// A 60 Hz frame, or a period 2% shorter: the shortest frame period on the compositor's clock.
constexpr int64_t kShortestCompositorFrame = int64_t(kNanosecondsPerSecond / (60 * 1.02));
}  // namespace

int CompositorTicksPerFrame(int64_t refreshPeriodNanoseconds) {
  if (refreshPeriodNanoseconds <= 0) return 1;
  const int64_t ticks = (kShortestCompositorFrame + refreshPeriodNanoseconds - 1) / refreshPeriodNanoseconds;
  return int(std::max<int64_t>(1, ticks));
}

bool FrameDueOnTick(FramePacer& pacer, int64_t tick, int ticksPerFrame) {
  if (pacer.nextTick != 0 && tick < pacer.nextTick) return false;
  const bool longLate = pacer.nextTick == 0 || tick - pacer.nextTick >= ticksPerFrame;
  pacer.nextTick = longLate ? tick + ticksPerFrame : pacer.nextTick + ticksPerFrame;
  return true;
}

float ClampedFrameSeconds(int64_t nowNanoseconds, int64_t lastNanoseconds) {
  const double seconds = double(nowNanoseconds - lastNanoseconds) / 1e9;
  return float(std::clamp(seconds, 0.0, 0.1));
}

bool RecordFrameCost(FrameCostWindow& window, int64_t frameStartNs, double costMs, FrameCostReport& report) {
  if (window.previousFrameNs != 0) {
    window.wallSeconds += double(frameStartNs - window.previousFrameNs) / 1e9;
    ++window.intervals;
  }
  window.previousFrameNs = frameStartNs;
  window.costMs[window.count++] = costMs;
  if (window.count < FrameCostWindow::kFrames) return false;

  double sorted[FrameCostWindow::kFrames];
  std::copy(window.costMs, window.costMs + window.count, sorted);
  std::sort(sorted, sorted + window.count);
  report.medianMs = 0.5 * (sorted[window.count / 2 - 1] + sorted[window.count / 2]);
  report.maxMs = sorted[window.count - 1];
  report.fps = window.wallSeconds > 0 ? window.intervals / window.wallSeconds : 0;
  window.count = 0;
  window.intervals = 0;
  window.wallSeconds = 0;
  return true;
}
