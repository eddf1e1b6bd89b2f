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

TEST(FullScreen, AWindowThatCoversTheMonitorItIsOn) {
  const std::vector<ScreenRect> one = {{0, 0, kW, kH}};
  EXPECT_TRUE(IsFullScreenApplication(Window({0, 0, kW, kH}), one)) << "a full-screen browser";
  EXPECT_TRUE(IsFullScreenApplication(Window({-8, -8, kW + 8, kH + 8}), one))
      << "a borderless oversize window";
  EXPECT_TRUE(IsFullScreenApplication(Window({2, 2, kW - 2, kH - 2}), one)) << "within 2 pixels";
  EXPECT_FALSE(IsFullScreenApplication(Window({0, 0, kW, kH - 3}), one)) << "3 px short";
  EXPECT_FALSE(IsFullScreenApplication(Window({3, 0, kW, kH}), one));
  EXPECT_FALSE(IsFullScreenApplication(Window({0, 0, kW - 3, kH}), one));
  // A maximized window leaves the taskbar visible.
  EXPECT_FALSE(IsFullScreenApplication(Window({-8, -8, kW + 8, kH - 40}), one));
  EXPECT_FALSE(IsFullScreenApplication(Window({0, 0, kW, kH}), {})) << "no monitor known";

  // Three monitors: a 2560x1440 one right of the primary, a smaller one left of it.
  const std::vector<ScreenRect> three = {{0, 0, kW, kH}, {kW, -180, kW + 2560, 1260}, {-1280, 56, 0, 1080}};
  EXPECT_TRUE(IsFullScreenApplication(Window({kW, -180, kW + 2560, 1260}), three)) << "a game on monitor 2";
  EXPECT_TRUE(IsFullScreenApplication(Window({-1280, 56, 0, 1080}), three)) << "a video left of the primary";
  EXPECT_TRUE(IsFullScreenApplication(Window({0, 0, kW, kH}), three)) << "the primary itself";
  EXPECT_FALSE(IsFullScreenApplication(Window({kW, 0, kW + kW, kH}), three))
      << "the primary's size on a larger monitor";
  EXPECT_FALSE(IsFullScreenApplication(Window({kW - 100, 0, kW + 2460, 1080}), three))
      << "mostly on monitor 2, covering neither";
  // The monitor a window is on is the one it overlaps most.
  EXPECT_EQ(MonitorOf({kW - 100, 0, kW + 300, 500}, three), &three[1]);
  EXPECT_EQ(MonitorOf({-50, 100, 40, 200}, three), &three[2]);
  EXPECT_EQ(MonitorOf({5000, 0, 5100, 100}, three), nullptr);
}

TEST(FullScreen, ShellWindowsOwnWindowsAndUnknownStatesNeverCount) {
  const std::vector<ScreenRect> one = {{0, 0, kW, kH}};
  for (const wchar_t* shell :
       {L"Progman", L"WorkerW", L"SHELLDLL_DefView", L"Windows.UI.Core.CoreWindow", L"#32769"})
    EXPECT_FALSE(IsFullScreenApplication(Window({0, 0, kW, kH}, shell), one));
  // Exact, case-sensitive comparison.
  EXPECT_TRUE(IsFullScreenApplication(Window({0, 0, kW, kH}, L"progman"), one));

  ForegroundWindowInfo own = Window({0, 0, kW, kH});
  own.isOwnWindow = true;
  EXPECT_FALSE(IsFullScreenApplication(own, one));
  ForegroundWindowInfo minimized = Window({0, 0, kW, kH});
  minimized.minimized = true;
  EXPECT_FALSE(IsFullScreenApplication(minimized, one));
  ForegroundWindowInfo unreadable = Window({0, 0, kW, kH});
  unreadable.rectKnown = false;
  EXPECT_FALSE(IsFullScreenApplication(unreadable, one));
  EXPECT_FALSE(IsFullScreenApplication(ForegroundWindowInfo(), one)) << "no foreground window";
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

// Smooth frames on the compositor's clock: every Nth tick, N the fewest that
// keep 60 a second, so they are evenly spaced; the slower paces stay on time.
TEST(FrameLoop, SmoothFramesFollowTheCompositorsTicksEvenlySpaced) {
  struct Rate {
    double hz;
    int ticksPerFrame;
  };
  for (const Rate& r : {Rate{59.94, 1}, Rate{60, 1}, Rate{60.5, 1}, Rate{75, 2}, Rate{120, 2}, Rate{144, 3},
                        Rate{165, 3}, Rate{240, 4}, Rate{30, 1}}) {
    SCOPED_TRACE(testing::Message() << r.hz << " Hz");
    const int64_t refresh = int64_t(kNanosecondsPerSecond / r.hz);
    EXPECT_EQ(CompositorTicksPerFrame(refresh), r.ticksPerFrame);
    LoopRig rig;
    rig.wake.compositorPeriod = refresh;
    std::vector<int64_t> drawnAt;
    for (int64_t tick = 1; tick <= int64_t(2 * r.hz); ++tick) {
      rig.wake.compositorTick = tick;
      rig.wake.now += refresh;
      const WakeResult result = rig.Wake(0);
      EXPECT_TRUE(result.onCompositorClock);
      if (rig.last.drawn) drawnAt.push_back(tick);
    }
    ASSERT_GE(drawnAt.size(), 2u);
    for (size_t i = 1; i < drawnAt.size(); ++i) ASSERT_EQ(drawnAt[i] - drawnAt[i - 1], r.ticksPerFrame);
    EXPECT_LE(double(drawnAt.size()) / 2, 60 * 1.02);
  }
  // A wake-up that missed ticks draws at once and keeps to its grid; one that
  // missed a whole frame starts afresh.
  FramePacer pacer;
  EXPECT_TRUE(FrameDueOnTick(pacer, 1, 3));
  EXPECT_FALSE(FrameDueOnTick(pacer, 3, 3));
  EXPECT_TRUE(FrameDueOnTick(pacer, 5, 3));
  EXPECT_TRUE(FrameDueOnTick(pacer, 7, 3)) << "on the grid: tick 7";
  EXPECT_TRUE(FrameDueOnTick(pacer, 20, 3));
  EXPECT_FALSE(FrameDueOnTick(pacer, 22, 3)) << "afresh from tick 20";

  // Power saver, battery saver and a full-screen window keep their time-based pace.
  for (int k = 0; k < 3; ++k) {
    LoopRig rig;
    rig.settings.fpsMode = k == 0 ? kFpsPowerSaver : kFpsSmooth;
    rig.wake.batterySaver = k == 1;
    rig.wake.fullScreenInFront = k == 2;
    rig.wake.compositorPeriod = kNanosecondsPerSecond / 144;
    int frames = 0;
    for (int tick = 1; tick <= 144; ++tick) {
      rig.wake.compositorTick = tick;
      const WakeResult result = rig.Wake(0);
      rig.wake.now += kNanosecondsPerSecond / 144;
      EXPECT_FALSE(result.onCompositorClock);
      frames += result.viewsDrawn;
    }
    EXPECT_NEAR(frames, k == 2 ? 6 : 15, 1) << "case " << k;
  }
}
