// The frame driver's decisions: the full-screen test, the pacing across mode
// changes, the clamped frame time, the frame-cost report, and the frame loop
// both desktops run (resting, pacing per mode, the still frame of reduced
// motion, and why a frame is shown whole).
#include "policy/frame_pacing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <vector>

#include "policy/frame_loop.h"

namespace {

constexpr int kW = 1920, kH = 1080;

ForegroundWindowInfo Window(ScreenRect rect, const wchar_t* className = L"Chrome_WidgetWin_1") {
  ForegroundWindowInfo info;
  info.exists = true;
  info.rectKnown = true;
  info.rect = rect;
  std::wcsncpy(info.className, className, 63);
  return info;
}

// Wake-ups on a timer grid with jitter, as the fallback window timer gives
// on Windows (15.625 ms ticks), or exactly when NextWakeDelay asks, as the
// high-resolution timer does: frames over 10 simulated seconds.
int FramesInTenSeconds(int64_t period, int64_t grid, int64_t jitter) {
  FramePacer pacer;
  unsigned seed = 12345;
  int frames = 0;
  for (int64_t now = 1; now < 10 * kNanosecondsPerSecond;) {
    frames += FrameDue(pacer, now, period);
    seed = seed * 1103515245u + 12345u;
    const int64_t late = jitter ? int64_t(seed >> 8) % jitter : 0;
    const int64_t wait = grid ? grid - (now % grid) : std::max<int64_t>(NextWakeDelay(pacer, now, false), 1);
    now += wait + late;
  }
  return frames;
}

}  // namespace

TEST(FullScreen, WindowsThatCoverThePrimaryScreen) {
  EXPECT_TRUE(IsFullScreenApplication(Window({0, 0, kW, kH}), kW, kH)) << "a full-screen browser";
  EXPECT_TRUE(IsFullScreenApplication(Window({-8, -8, kW + 8, kH + 8}), kW, kH))
      << "a borderless oversize window";
  EXPECT_TRUE(IsFullScreenApplication(Window({2, 2, kW - 2, kH - 2}), kW, kH)) << "within 2 pixels";
  EXPECT_FALSE(IsFullScreenApplication(Window({0, 0, kW, kH - 3}), kW, kH)) << "3 px short";
  EXPECT_FALSE(IsFullScreenApplication(Window({3, 0, kW, kH}), kW, kH));
  EXPECT_FALSE(IsFullScreenApplication(Window({0, 0, kW - 3, kH}), kW, kH));
  // A maximized window leaves the taskbar visible.
  EXPECT_FALSE(IsFullScreenApplication(Window({-8, -8, kW + 8, kH - 40}), kW, kH));
  // On a second monitor only.
  EXPECT_FALSE(IsFullScreenApplication(Window({kW, 0, 2 * kW, kH}), kW, kH));
}

TEST(FullScreen, ShellWindowsOwnWindowsAndUnknownStatesNeverCount) {
  for (const wchar_t* shell :
       {L"Progman", L"WorkerW", L"SHELLDLL_DefView", L"Windows.UI.Core.CoreWindow", L"#32769"})
    EXPECT_FALSE(IsFullScreenApplication(Window({0, 0, kW, kH}, shell), kW, kH));
  // Exact, case-sensitive comparison.
  EXPECT_TRUE(IsFullScreenApplication(Window({0, 0, kW, kH}, L"progman"), kW, kH));

  ForegroundWindowInfo own = Window({0, 0, kW, kH});
  own.isOwnWindow = true;
  EXPECT_FALSE(IsFullScreenApplication(own, kW, kH));
  ForegroundWindowInfo minimized = Window({0, 0, kW, kH});
  minimized.minimized = true;
  EXPECT_FALSE(IsFullScreenApplication(minimized, kW, kH));
  ForegroundWindowInfo unreadable = Window({0, 0, kW, kH});
  unreadable.rectKnown = false;
  EXPECT_FALSE(IsFullScreenApplication(unreadable, kW, kH));
  EXPECT_FALSE(IsFullScreenApplication(ForegroundWindowInfo(), kW, kH)) << "no foreground window";
}

TEST(Pacing, ModesGiveTheirRatesWhateverTheWakeUpGrid) {
  const int64_t ms = 1000000;
  struct Case {
    bool fullScreen;
    int fpsMode;
    int fps;
  };
  for (const Case& c : {Case{false, kFpsSmooth, 60}, Case{false, kFpsPowerSaver, 15},
                        Case{true, kFpsSmooth, 6}, Case{true, kFpsPowerSaver, 6}, Case{false, 5, 60}}) {
    const int64_t period = FramePeriodNanoseconds(c.fullScreen, c.fpsMode);
    for (int64_t grid : {int64_t(15625000), int64_t(10 * ms), int64_t(0)}) {
      SCOPED_TRACE(testing::Message() << c.fps << " fps, wake-ups on a grid of " << grid << " ns");
      EXPECT_NEAR(FramesInTenSeconds(period, grid, grid ? ms : 0), 10 * c.fps, 10 * c.fps / 20);
    }
  }
}

TEST(Pacing, AStallGivesNoCatchUpBurstAndRestingWakesAtItsCheckRate) {
  const int64_t period = FramePeriodNanoseconds(false, kFpsSmooth);
  FramePacer pacer;
  EXPECT_TRUE(FrameDue(pacer, 1000, period)) << "the first wake-up renders";
  EXPECT_FALSE(FrameDue(pacer, 1000 + period / 2, period));
  EXPECT_TRUE(FrameDue(pacer, 1000 + period - 400000, period)) << "a little early is on time";
  // Half a second without a wake-up: one frame, then the next a period later.
  const int64_t late = 1000 + kNanosecondsPerSecond / 2;
  EXPECT_TRUE(FrameDue(pacer, late, period));
  EXPECT_FALSE(FrameDue(pacer, late + 1000, period));
  EXPECT_EQ(NextWakeDelay(pacer, late + 1000, false), period - 1000);
  EXPECT_EQ(NextWakeDelay(pacer, late + 2 * period, false), 0) << "overdue: no negative wait";
  EXPECT_EQ(NextWakeDelay(pacer, late + 1000, true), kRestCheckNanoseconds);
}

TEST(FrameClock, FrameTimeIsClampedToATenthOfASecond) {
  const int64_t second = 1000000000;
  EXPECT_FLOAT_EQ(ClampedFrameSeconds(second + second / 60, second), 1.0f / 60);
  EXPECT_FLOAT_EQ(ClampedFrameSeconds(6 * second, second), 0.1f) << "a 5 s pause steps 0.1 s";
  EXPECT_FLOAT_EQ(ClampedFrameSeconds(second, second), 0.0f);
  EXPECT_FLOAT_EQ(ClampedFrameSeconds(second, 2 * second), 0.0f) << "a clock that went back";
  // Days of uptime in nanoseconds lose nothing.
  const int64_t days = 40LL * 24 * 3600 * second;
  EXPECT_NEAR(ClampedFrameSeconds(days + second / 60, days), 1.0f / 60, 1e-7);
}

TEST(FrameCost, ReportsEveryHundredFramesWithMedianMaxAndRate) {
  FrameCostWindow window;
  FrameCostReport report;
  const int64_t tick = 20000000;  // 50 frames a second
  int reports = 0;
  for (int i = 0; i < 99; ++i) reports += RecordFrameCost(window, 1000 + i * tick, i % 2 ? 3.0 : 1.0, report);
  EXPECT_EQ(reports, 0);
  ASSERT_TRUE(RecordFrameCost(window, 1000 + 99 * tick, 50.0, report));
  EXPECT_DOUBLE_EQ(report.medianMs, 2.0);
  EXPECT_DOUBLE_EQ(report.maxMs, 50.0);
  EXPECT_NEAR(report.fps, 50.0, 1e-9);

  // The next window measures its rate from the last frame of the previous one.
  for (int i = 100; i < 199; ++i)
    EXPECT_FALSE(RecordFrameCost(window, 1000 + 99 * tick + (i - 99) * 2 * tick, 1, report));
  ASSERT_TRUE(RecordFrameCost(window, 1000 + 99 * tick + 100 * 2 * tick, 1, report));
  EXPECT_NEAR(report.fps, 25.0, 1e-9);
  EXPECT_DOUBLE_EQ(report.maxMs, 1.0) << "the window starts afresh";
}

namespace {

constexpr int64_t kMs = 1000000;

// One view of a small aquarium over its own pixels, and the wake-ups a shell
// would give it.
struct LoopRig {
  FrameLoop loop;
  FrameView view;
  Aquarium aquarium;
  Settings settings;
  std::vector<uint32_t> pixels = std::vector<uint32_t>(64 * 48);
  PointerInbox pointer;
  WakeInputs wake;
  ViewWake last;

  LoopRig() {
    settings.totalFish = 5;
    wake.now = kNanosecondsPerSecond;
  }
  WakeResult Wake(int64_t afterMs = 17, bool ready = true) {
    wake.now += afterMs * kMs;
    last = ViewWake();
    last.view = &view;
    last.aquarium = &aquarium;
    last.target = {pixels.data(), 64, 48, 64};
    last.ready = ready;
    last.pointer = &pointer;
    return RunFrameLoop(loop, settings, wake, &last, 1);
  }
  size_t ClickBubbles() const {
    size_t n = 0;
    for (const Bubble& b : aquarium.bubbles) n += b.fromClick;
    return n;
  }
};

}  // namespace

TEST(FrameLoop, RestsWhileNobodyCanSeeItAndShowsTheFirstFrameBackWhole) {
  LoopRig rig;
  rig.Wake();
  EXPECT_TRUE(rig.last.drawn && rig.last.whole) << "the first frame";
  rig.Wake();
  EXPECT_TRUE(rig.last.drawn);
  EXPECT_FALSE(rig.last.whole) << "later frames show what changed";
  ASSERT_NE(rig.last.changed, nullptr);

  rig.wake.visibility.sessionLocked = true;
  PostPointerClick(rig.pointer, {10, 10});
  PostPointerMove(rig.pointer, {20, 30});
  WakeResult r = rig.Wake();
  EXPECT_TRUE(r.restChanged);
  EXPECT_EQ(r.resting, RestReason::kSessionLocked);
  EXPECT_TRUE(r.slowTicks);
  EXPECT_EQ(r.nextWake, kRestCheckNanoseconds);
  EXPECT_FALSE(rig.last.drawn);
  EXPECT_EQ(rig.ClickBubbles(), 0u) << "no burst while nothing steps its bubbles";
  EXPECT_EQ(rig.aquarium.pointerX, 20.0f) << "the pointer is followed all the same";
  r = rig.Wake(250);
  EXPECT_FALSE(r.restChanged);
  EXPECT_FALSE(rig.last.drawn);

  rig.wake.visibility.sessionLocked = false;
  r = rig.Wake(250);
  EXPECT_TRUE(r.restChanged);
  EXPECT_FALSE(r.slowTicks);
  EXPECT_TRUE(rig.last.drawn && rig.last.whole) << "the first frame back";
  PostPointerClick(rig.pointer, {10, 10});
  rig.Wake();
  EXPECT_EQ(rig.last.clicks, 1);
  EXPECT_GE(rig.ClickBubbles(), 15u);
}

// Frames over one second of wake-ups every 4 ms, by mode: what the shell
// observed and what the settings ask for.
TEST(FrameLoop, PacesEachModeAndHonoursBatterySaver) {
  struct Case {
    int fpsMode;
    bool batterySaver, fullScreen;
    int frames;
  };
  for (const Case& c : {Case{kFpsSmooth, false, false, 60}, Case{kFpsPowerSaver, false, false, 15},
                        Case{kFpsSmooth, true, false, 15}, Case{kFpsSmooth, false, true, 6}}) {
    SCOPED_TRACE(testing::Message() << "mode " << c.fpsMode << " saver " << c.batterySaver << " full screen "
                                    << c.fullScreen);
    LoopRig rig;
    rig.settings.fpsMode = c.fpsMode;
    rig.wake.batterySaver = c.batterySaver;
    rig.wake.fullScreenInFront = c.fullScreen;
    int frames = 0;
    for (int i = 0; i < 250; ++i) frames += rig.Wake(4).viewsDrawn;
    EXPECT_NEAR(frames, c.frames, 1);
    EXPECT_EQ(rig.loop.framePeriod, kNanosecondsPerSecond / c.frames);
  }
}

TEST(FrameLoop, ReducedMotionShowsOneStillFrameUntilTheSceneChanges) {
  LoopRig rig;
  rig.wake.reducedMotion = true;
  int frames = 0;
  WakeResult r;
  for (int i = 0; i < 5; ++i) frames += (r = rig.Wake(250)).viewsDrawn;
  EXPECT_EQ(frames, 1) << "one still frame";
  EXPECT_TRUE(r.slowTicks);
  rig.settings.theme = 4;
  for (int i = 0; i < 3; ++i) frames += rig.Wake(250).viewsDrawn;
  EXPECT_EQ(frames, 2) << "a new scene, a new still frame";
  rig.aquarium.populated = false;  // settings applied
  frames += rig.Wake(250).viewsDrawn;
  RequestFullFrame(rig.view, FullFrameReason::kExposed);
  frames += rig.Wake(250).viewsDrawn;
  EXPECT_EQ(frames, 4) << "a new aquarium, and a picture the screen lost";

  rig.wake.reducedMotion = false;
  frames = 0;
  for (int i = 0; i < 3; ++i) frames += (r = rig.Wake()).viewsDrawn;
  EXPECT_EQ(frames, 3) << "moving again";
  EXPECT_FALSE(r.slowTicks);
  rig.wake.reducedMotion = true;
  EXPECT_EQ(rig.Wake(250).viewsDrawn, 1) << "a still frame again";
}

TEST(FrameLoop, AFrameIsShownWholeForNewPixelsANewAquariumOrWhenAsked) {
  LoopRig rig;
  rig.Wake();
  rig.Wake();
  ASSERT_FALSE(rig.last.whole);
  std::vector<uint32_t> other(64 * 48);
  rig.pixels.swap(other);  // another surface of the same size
  rig.Wake();
  EXPECT_TRUE(rig.last.whole);
  rig.aquarium.populated = false;
  rig.Wake();
  EXPECT_TRUE(rig.last.whole);
  RequestFullFrame(rig.view, FullFrameReason::kExposed);
  rig.Wake();
  EXPECT_TRUE(rig.last.whole);
  rig.Wake();
  EXPECT_FALSE(rig.last.whole);

  // A surface that cannot take a frame now is left for the next due one.
  EXPECT_EQ(rig.Wake(17, false).viewsDrawn, 0);
  EXPECT_FALSE(rig.last.drawn);
  // A scene number nothing knows draws nothing, and the picture stays.
  rig.settings.theme = 9;
  const std::vector<uint32_t> before = rig.pixels;
  rig.Wake();
  EXPECT_TRUE(rig.last.drawn);
  EXPECT_TRUE(rig.last.changed->empty());
  EXPECT_EQ(rig.pixels, before);
}
