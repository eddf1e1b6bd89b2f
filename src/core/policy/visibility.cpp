#include "policy/visibility.h"

#include <algorithm>
#include <iterator>

namespace {

// The parts of `area` outside `hole`: at most four rectangles.
void Subtract(const ScreenRect& area, const ScreenRect& hole, std::vector<ScreenRect>& out) {
  const ScreenRect cut = Intersection(area, hole);
  if (cut.Empty()) {
    out.push_back(area);
    return;
  }
  const ScreenRect pieces[] = {
      {area.left, area.top, area.right, cut.top},        // above
      {area.left, cut.bottom, area.right, area.bottom},  // below
      {area.left, cut.top, cut.left, cut.bottom},        // left
      {cut.right, cut.top, area.right, cut.bottom},      // right
  };
  for (const ScreenRect& piece : pieces) {
    if (!piece.Empty()) out.push_back(piece);
  }
}

}  // namespace

bool IsEveryMonitorCovered(const std::vector<ScreenRect>& monitors,
                           const std::vector<CoveringWindow>& windows) {
  if (monitors.empty()) return false;
  std::vector<ScreenRect> uncovered, next;
  for (const ScreenRect& monitor : monitors) {
    if (!monitor.Empty()) uncovered.push_back(monitor);
  }
  for (const CoveringWindow& window : windows) {
    if (!window.visible || window.minimized || window.cloaked || window.translucent || window.rect.Empty())
      continue;
    next.clear();
    for (const ScreenRect& area : uncovered) Subtract(area, window.rect, next);
    uncovered.swap(next);
    if (uncovered.empty()) return true;
  }
  return uncovered.empty();
}

RestReason RestReasonFor(const VisibilityState& state) {
  if (state.detached) return RestReason::kDetached;
  if (state.sessionLocked) return RestReason::kSessionLocked;
  if (state.remoteSession) return RestReason::kRemoteSession;
  if (state.displayOff) return RestReason::kDisplayOff;
  if (state.suspending) return RestReason::kSuspending;
  if (state.covered) return RestReason::kCovered;
  return RestReason::kNone;
}

const wchar_t* RestReasonName(RestReason reason) {
  static const wchar_t* const kNames[] = {
      L"visible",    L"session locked", L"remote session",     L"display off",
      L"suspending", L"covered",        L"no wallpaper window"};
  static_assert(std::size(kNames) == size_t(RestReason::kDetached) + 1, "one name per reason");
  return kNames[size_t(reason)];
}

bool SessionFlagsSayLocked(long sessionFlags, bool reversedFlags) {
  constexpr long kLocked = 0, kUnlocked = 1;
  if (sessionFlags != kLocked && sessionFlags != kUnlocked) return false;
  return (sessionFlags == kLocked) != reversedFlags;
}

int EffectiveFpsMode(int fpsMode, bool batterySaver) {
  return batterySaver ? kFpsPowerSaver : fpsMode;
}

bool StillFrameNeedsDrawing(const StillFrame& still, bool populated, int theme, int width, int height) {
  return !still.drawn || !populated || still.theme != theme || still.width != width || still.height != height;
}
