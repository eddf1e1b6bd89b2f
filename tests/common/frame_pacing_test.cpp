// The frame driver's decisions: the full-screen test, the pacing across mode
// changes, the clamped frame time and the frame-cost report.
#include "policy/frame_pacing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>

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
