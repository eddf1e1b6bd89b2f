#include "policy/frame_pacing.h"

#include <algorithm>
#include <cwchar>

bool IsFullScreenApplication(const ForegroundWindowInfo& window, int primaryWidth, int primaryHeight) {
  if (!window.exists || window.isOwnWindow || window.minimized || !window.rectKnown) return false;
  const ScreenRect& r = window.rect;
  if (r.left > 2 || r.top > 2 || r.right < primaryWidth - 2 || r.bottom < primaryHeight - 2) return false;
  // The desktop itself and the shell's own full-screen surfaces never count.
  // "#32769" is the desktop window itself, which Wine reports as foreground.
  for (const wchar_t* shell :
       {L"Progman", L"WorkerW", L"SHELLDLL_DefView", L"Windows.UI.Core.CoreWindow", L"#32769"}) {
    if (std::wcscmp(window.className, shell) == 0) return false;
  }
  return true;
}

bool PaceTick(int& tickCounter, bool fullScreenInFront, int fpsMode) {
  int every = 1;
  if (fullScreenInFront) {
    every = 10;
  } else if (fpsMode == kFpsPowerSaver) {
    every = 4;
  }
  if (every == 1) {
    tickCounter = 0;
    return true;
  }
  if (++tickCounter < every) return false;
  tickCounter = 0;
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
