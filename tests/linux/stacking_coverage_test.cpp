// The X11 stacking list fed to the coverage decision.
#include "desktop/stacking_coverage.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const std::vector<ScreenRect> kMonitor = {{0, 0, 1280, 800}};

StackedWindow Window(uint32_t id, ScreenRect frame) {
  StackedWindow w;
  w.id = id;
  w.frame = frame;
  return w;
}

bool Covered(const std::vector<StackedWindow>& stacking, uint32_t currentDesktop = 0) {
  return IsEveryMonitorCovered(kMonitor, CoveringWindowsAbove(stacking, 1, currentDesktop));
}

TEST(StackingCoverage, OnlyOpaqueWindowsAboveOnThisDesktopCover) {
  const StackedWindow ours = Window(1, {0, 0, 1280, 800});
  const StackedWindow full = Window(2, {-4, -20, 1284, 804});  // with its frame
  EXPECT_TRUE(Covered({ours, full}));
  EXPECT_FALSE(Covered({full, ours}));  // below us
  EXPECT_TRUE(Covered({full}));         // we are not listed (yet): everything counts
  // Two halves cover together; one leaves a strip.
  EXPECT_TRUE(Covered({ours, Window(3, {0, 0, 640, 800}), Window(4, {640, 0, 1280, 800})}));
  EXPECT_FALSE(Covered({ours, Window(3, {0, 0, 640, 800}), Window(4, {641, 0, 1280, 800})}));

  struct Case {
    const char* what;
    void (*change)(StackedWindow&);
  } seeThrough[] = {
      {"unmapped", [](StackedWindow& w) { w.viewable = false; }},
      {"minimised", [](StackedWindow& w) { w.hidden = true; }},
      {"on another desktop", [](StackedWindow& w) { w.desktop = 3; }},
      {"32-bit visual", [](StackedWindow& w) { w.argbVisual = true; }},
      {"opacity below full", [](StackedWindow& w) { w.opacity = 0xE0000000; }},
  };
  for (const Case& c : seeThrough) {
    StackedWindow w = full;
    c.change(w);
    EXPECT_FALSE(Covered({ours, w})) << c.what;
  }
  StackedWindow sticky = full;
  sticky.desktop = kAllDesktops;
  EXPECT_TRUE(Covered({ours, sticky}, 2));
}

TEST(StackingCoverage, FindsAFileManagerDesktopAboveOurs) {
  StackedWindow ours = Window(1, {0, 0, 1280, 800});
  ours.desktopType = true;
  StackedWindow manager = Window(7, {0, 0, 1280, 800});
  manager.desktopType = true;
  manager.className = "Pcmanfm";
  const std::vector<StackedWindow> stack = {ours, Window(2, {0, 0, 10, 10}), manager};
  const StackedWindow* found = DesktopWindowAbove(stack, 1, 0);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->className, "Pcmanfm");
  EXPECT_EQ(DesktopWindowAbove({manager, ours}, 1, 0), nullptr);  // below ours: we are seen
  EXPECT_EQ(DesktopWindowAbove({ours, Window(2, {0, 0, 1280, 800})}, 1, 0), nullptr);
  manager.viewable = false;
  EXPECT_EQ(DesktopWindowAbove({ours, manager}, 1, 0), nullptr);
}

}  // namespace
