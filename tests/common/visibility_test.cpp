// When the wallpaper rests: coverage of every monitor by opaque windows, the
// order of the reasons, battery saver and the still frame of reduced motion.
#include "policy/visibility.h"

#include <gtest/gtest.h>

namespace {

const ScreenRect kPrimary = {0, 0, 1920, 1080};
const ScreenRect kRight = {1920, 0, 3840, 1080};
const ScreenRect kLeft = {-1280, 56, 0, 1080};  // a smaller monitor left of the primary one

CoveringWindow Opaque(ScreenRect rect) {
  CoveringWindow window;
  window.rect = rect;
  return window;
}

}  // namespace

TEST(Coverage, SingleMonitor) {
  EXPECT_TRUE(IsEveryMonitorCovered({kPrimary}, {Opaque(kPrimary)}));
  EXPECT_TRUE(IsEveryMonitorCovered({kPrimary}, {Opaque({-8, -8, 1928, 1088})})) << "oversize borders";
  EXPECT_FALSE(IsEveryMonitorCovered({kPrimary}, {Opaque({0, 0, 1920, 1040})}))
      << "a maximized window, taskbar";
  EXPECT_FALSE(IsEveryMonitorCovered({kPrimary}, {})) << "an empty desktop";
  EXPECT_FALSE(IsEveryMonitorCovered({}, {Opaque(kPrimary)})) << "no monitor";
}

TEST(Coverage, WindowsThatTogetherCover) {
  const CoveringWindow left = Opaque({0, 0, 960, 1080}), right = Opaque({960, 0, 1920, 1080});
  EXPECT_TRUE(IsEveryMonitorCovered({kPrimary}, {left, right}));
  EXPECT_FALSE(IsEveryMonitorCovered({kPrimary}, {left, Opaque({961, 0, 1920, 1080})})) << "a 1-pixel gap";
  EXPECT_FALSE(IsEveryMonitorCovered({kPrimary}, {left, Opaque({960, 1, 1920, 1080})})) << "a 1-pixel row";
  // Overlapping pieces in any order, one of them reaching off the screen.
  EXPECT_TRUE(
      IsEveryMonitorCovered({kPrimary}, {Opaque({500, 300, 1400, 800}), Opaque({0, 0, 1920, 600}),
                                         Opaque({-50, 550, 1000, 1200}), Opaque({900, 500, 2000, 1100})}));
}

TEST(Coverage, WindowsThatDoNotCount) {
  for (int k = 0; k < 4; ++k) {
    CoveringWindow window = Opaque(kPrimary);
    window.visible = k != 0;
    window.minimized = k == 1;
    window.cloaked = k == 2;
    window.translucent = k == 3;  // layered
    EXPECT_FALSE(IsEveryMonitorCovered({kPrimary}, {window})) << "case " << k;
  }
  CoveringWindow empty = Opaque({100, 100, 100, 500});
  EXPECT_FALSE(IsEveryMonitorCovered({{100, 100, 101, 101}}, {empty}))
      << "a zero-width window covers nothing";
}

TEST(Coverage, EveryMonitorMustBeCovered) {
  EXPECT_FALSE(IsEveryMonitorCovered({kPrimary, kRight}, {Opaque(kPrimary)})) << "maximized on one of two";
  EXPECT_TRUE(IsEveryMonitorCovered({kPrimary, kRight}, {Opaque(kPrimary), Opaque(kRight)}));
  EXPECT_TRUE(IsEveryMonitorCovered({kPrimary, kRight}, {Opaque({0, 0, 3840, 1080})}))
      << "one window spanning both";
  // A monitor left of the primary one: negative coordinates.
  EXPECT_FALSE(IsEveryMonitorCovered({kLeft, kPrimary}, {Opaque(kPrimary), Opaque({-1280, 57, 0, 1080})}));
  EXPECT_TRUE(IsEveryMonitorCovered({kLeft, kPrimary}, {Opaque(kPrimary), Opaque({-1290, 0, 0, 1090})}));
  // The part of the virtual screen that no monitor shows need not be covered.
  EXPECT_TRUE(IsEveryMonitorCovered({kLeft, kPrimary}, {Opaque(kPrimary), Opaque(kLeft)}));
}

TEST(Rest, ReasonsInOrderAndTheirNames) {
  VisibilityState state;
  EXPECT_EQ(RestReasonFor(state), RestReason::kNone);
  state.covered = true;
  EXPECT_EQ(RestReasonFor(state), RestReason::kCovered);
  state.suspending = true;
  EXPECT_EQ(RestReasonFor(state), RestReason::kSuspending);
  state.displayOff = true;
  EXPECT_EQ(RestReasonFor(state), RestReason::kDisplayOff);
  state.remoteSession = true;
  EXPECT_EQ(RestReasonFor(state), RestReason::kRemoteSession);
  state.sessionLocked = true;
  EXPECT_EQ(RestReasonFor(state), RestReason::kSessionLocked);
  state.detached = true;
  EXPECT_EQ(RestReasonFor(state), RestReason::kDetached);
  EXPECT_STREQ(RestReasonName(RestReason::kNone), L"visible");
  EXPECT_STREQ(RestReasonName(RestReason::kDetached), L"no wallpaper window");

  // A lock from before the start, as the session's flags tell it.
  EXPECT_TRUE(SessionFlagsSayLocked(0, false));
  EXPECT_FALSE(SessionFlagsSayLocked(1, false));
  EXPECT_FALSE(SessionFlagsSayLocked(-1, false)) << "unknown: frames go on";
  EXPECT_FALSE(SessionFlagsSayLocked(0, true)) << "Windows 7 says 0 for unlocked";
  EXPECT_TRUE(SessionFlagsSayLocked(1, true));
  EXPECT_FALSE(SessionFlagsSayLocked(-1, true));
}

TEST(Rest, BatterySaverAndStillFrame) {
  EXPECT_EQ(EffectiveFpsMode(kFpsSmooth, false), kFpsSmooth);
  EXPECT_EQ(EffectiveFpsMode(kFpsSmooth, true), kFpsPowerSaver);
  EXPECT_EQ(EffectiveFpsMode(kFpsPowerSaver, false), kFpsPowerSaver);

  StillFrame still;
  EXPECT_TRUE(StillFrameNeedsDrawing(still, true, 1, 800, 600)) << "nothing drawn yet";
  still = {true, 1, 800, 600};
  EXPECT_FALSE(StillFrameNeedsDrawing(still, true, 1, 800, 600));
  EXPECT_TRUE(StillFrameNeedsDrawing(still, false, 1, 800, 600)) << "settings applied: a new population";
  EXPECT_TRUE(StillFrameNeedsDrawing(still, true, 2, 800, 600)) << "another scene";
  EXPECT_TRUE(StillFrameNeedsDrawing(still, true, 1, 1024, 600)) << "a new size";
}
