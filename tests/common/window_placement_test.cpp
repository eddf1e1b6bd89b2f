// Sizes scaled by DPI, windows centred and kept on the screen.
#include "policy/window_placement.h"

#include <gtest/gtest.h>

namespace {
const ScreenRect kWholeScreen = {0, 0, 1280, 800};

void ExpectRect(const ScreenRect& rect, int left, int top, int width, int height) {
  EXPECT_EQ(rect.left, left);
  EXPECT_EQ(rect.top, top);
  EXPECT_EQ(rect.Width(), width);
  EXPECT_EQ(rect.Height(), height);
}
}  // namespace

TEST(WindowPlacement, ScalingRoundsLikeMulDiv) {
  EXPECT_EQ(ScaleForDpi(1100, 96), 1100);
  EXPECT_EQ(ScaleForDpi(18, 144), 27);
  EXPECT_EQ(ScaleForDpi(18, 192), 36);
  EXPECT_EQ(ScaleForDpi(265, 120), 331);  // 331.25
  EXPECT_EQ(ScaleForDpi(1, 144), 2);      // 1.5 rounds away from zero
  EXPECT_EQ(ScaleForDpi(-1, 144), -2);
  EXPECT_FLOAT_EQ(ScaleForDpi(12.0f, 144), 18.0f);
}

TEST(WindowPlacement, AtNinetySixDpiTheWindowsAreAsDesigned) {
  // The settings window holds a 616-pixel client area under its frame.
  ExpectRect(SettingsWindowRect(96, 25, 1280, 800, kWholeScreen), 90, 79, 1100, 641);
  ExpectRect(SettingsWindowRect(96, 0, 1280, 800, kWholeScreen), 90, 92, 1100, 616);
  ExpectRect(AboutWindowRect(96, 1280, 800, kWholeScreen), 420, 255, 440, 290);
  // A short screen: 40 pixels less than its height.
  ExpectRect(SettingsWindowRect(96, 25, 1280, 600, kWholeScreen), 90, 20, 1100, 560);
}

TEST(WindowPlacement, HigherDpiScalesTheWindows) {
  const ScreenRect screen = {0, 0, 2560, 1600};
  ExpectRect(SettingsWindowRect(144, 37, 2560, 1600, screen), 455, 319, 1650, 961);
  ExpectRect(AboutWindowRect(192, 2560, 1600, screen), 840, 510, 880, 580);
}

TEST(WindowPlacement, WindowsStayInsideTheWorkArea) {
  // A taskbar at the top: the centred window would start under it.
  ExpectRect(KeptInside({100, 10, 300, 110}, {0, 40, 1280, 800}), 100, 40, 200, 100);
  ExpectRect(KeptInside({1200, 700, 1400, 900}, {0, 0, 1280, 760}), 1080, 560, 200, 200);
  // Wider than the area: the left edge (and the caption) stays on the screen.
  ExpectRect(SettingsWindowRect(96, 25, 1024, 768, {0, 0, 1024, 728}), 0, 63, 1100, 641);
  ExpectRect(SettingsWindowRect(144, 25, 1280, 800, kWholeScreen), 0, 20, 1650, 760);
}
