// Living with the system, on real windows under Wine: resting and resuming,
// the system's notifications, reduced motion, coverage by other windows, the
// shell going away and coming back, and the crash filter.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h, which it builds on
#include <wtsapi32.h>

#include <vector>

#include "app/app_win32.h"
#include "base/log.h"
#include "base/program_path_win32.h"
#include "common/globals_win32.h"
#include "common/names_win32.h"
#include "desktop/desktop_win32.h"
#include "windows/gdiplus_render.h"
#include "windows/win32_test_support.h"

namespace {

class SystemLife : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(EnsureGdiplus());
    DeleteProgramLog();
    debugLogging = true;
    app.instance = GetModuleHandleW(nullptr);
    app.presenter.kind = PresenterKind::kGdi;
    app.frame.lastFrameTime = MonotonicNanoseconds();
  }
  void TearDown() override {
    app.lifecycle.exitRequested = true;  // no reattaching while the test tears down
    if (app.desktop.wallpaperWindow != nullptr && IsWindow(app.desktop.wallpaperWindow))
      DestroyWindow(app.desktop.wallpaperWindow);
    ReleaseBackBuffer(app);
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) DestroyWindow(*it);
    DrainMessages();
    debugLogging = false;
  }
  HWND Make(const wchar_t* className, HWND parent = nullptr, bool visible = true) {
    HWND window = MakeWindow(className, parent, visible);
    windows.push_back(window);
    return window;
  }
  // A small wallpaper window of our own class, drawn by the frame driver.
  void MakeWallpaper() {
    app.desktop.wallpaperWindow = Make(L"TestWallpaperWnd");
    SetWindowPos(app.desktop.wallpaperWindow, HWND_BOTTOM, 0, 0, 160, 100, SWP_NOACTIVATE);
  }
  bool Logged(const wchar_t* text) { return ReadProgramLog().find(ToUtf8(text)) != std::string::npos; }
  LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam = 0) {
    LRESULT result = -1;
    EXPECT_TRUE(HandleSystemMessage(app, message, wParam, lParam, result));
    return result;
  }
  WallpaperApp app;
  std::vector<HWND> windows;
};

// GUID_POWER_SAVING_STATUS, which mingw-w64 lacks.
constexpr GUID kPowerSavingStatusForTest = {
    0xE00958C0, 0xC213, 0x4ACE, {0xAC, 0x77, 0xFE, 0xCC, 0xED, 0x2E, 0xEE, 0xA5}};

struct PowerSetting {
  POWERBROADCAST_SETTING header;
  DWORD value;  // Data continues here
};

LRESULT SendPowerSetting(WallpaperApp& app, const GUID& guid, DWORD value) {
  PowerSetting setting = {};
  setting.header.PowerSetting = guid;
  setting.header.DataLength = sizeof(DWORD);
  *reinterpret_cast<DWORD*>(setting.header.Data) = value;
  LRESULT result = 0;
  HandleSystemMessage(app, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(&setting),
                      result);
  return result;
}

}  // namespace

TEST_F(SystemLife, SessionPowerAndDisplayNotificationsRestAndResumeFrames) {
  MakeWallpaper();
  const int start = app.frame.framesRendered;
  OnTimerTick(app);
  EXPECT_EQ(app.frame.framesRendered, start + 1);

  Send(WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK);
  for (int i = 0; i < 5; ++i) OnTimerTick(app);
  EXPECT_EQ(app.frame.framesRendered, start + 1) << "no frame while locked";
  EXPECT_TRUE(app.lifecycle.slowTicks);
  EXPECT_TRUE(Logged(L"[rest] session locked: frames stop"));
  Send(WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK);
  OnTimerTick(app);
  EXPECT_EQ(app.frame.framesRendered, start + 2) << "frames resume at the next tick";
  EXPECT_FALSE(app.lifecycle.slowTicks);
  EXPECT_TRUE(Logged(L"[rest] visible again: frames resume"));

  EXPECT_EQ(Send(WM_POWERBROADCAST, PBT_APMSUSPEND), TRUE);
  OnTimerTick(app);
  EXPECT_EQ(app.lifecycle.resting, RestReason::kSuspending);
  Send(WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC);
  EXPECT_FALSE(app.lifecycle.visibility.suspending);

  EXPECT_EQ(SendPowerSetting(app, GUID_CONSOLE_DISPLAY_STATE, 0), TRUE);
  OnTimerTick(app);
  EXPECT_EQ(app.lifecycle.resting, RestReason::kDisplayOff);
  SendPowerSetting(app, GUID_CONSOLE_DISPLAY_STATE, 2);  // dimmed: still visible
  OnTimerTick(app);
  EXPECT_EQ(app.lifecycle.resting, RestReason::kNone);

  SendPowerSetting(app, kPowerSavingStatusForTest, 1);
  EXPECT_TRUE(app.lifecycle.batterySaver);
  const int saver = app.frame.framesRendered;
  for (int i = 0; i < 8; ++i) OnTimerTick(app);
  EXPECT_EQ(app.frame.framesRendered, saver + 2) << "battery saver renders one tick in four";
  SendPowerSetting(app, kPowerSavingStatusForTest, 0);
  EXPECT_FALSE(app.lifecycle.batterySaver);
}

TEST_F(SystemLife, ReducedMotionShowsOneStillFrameUntilTheSceneChanges) {
  MakeWallpaper();
  app.lifecycle.reducedMotion = true;
  const int start = app.frame.framesRendered;
  for (int i = 0; i < 5; ++i) OnTimerTick(app);
  EXPECT_EQ(app.frame.framesRendered, start + 1) << "one still frame";
  EXPECT_TRUE(app.lifecycle.slowTicks);
  app.settings.theme = 4;
  for (int i = 0; i < 3; ++i) OnTimerTick(app);
  EXPECT_EQ(app.frame.framesRendered, start + 2) << "a new scene, a new still frame";
  app.aquarium.populated = false;  // settings applied
  OnTimerTick(app);
  SetWindowPos(app.desktop.wallpaperWindow, nullptr, 0, 0, 120, 90,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  OnTimerTick(app);
  OnTimerTick(app);
  EXPECT_EQ(app.frame.framesRendered, start + 4);

  // The system's switch, read when the system announces a change (and never
  // changed by the program).
  BOOL original = TRUE;
  SystemParametersInfoW(SPI_GETCLIENTAREAANIMATION, 0, &original, 0);
  SystemParametersInfoW(SPI_SETCLIENTAREAANIMATION, 0, reinterpret_cast<PVOID>(LONG_PTR(TRUE)), 0);
  Send(WM_SETTINGCHANGE, SPI_SETCLIENTAREAANIMATION);
  EXPECT_FALSE(app.lifecycle.reducedMotion);
  EXPECT_TRUE(Logged(L"[motion] animations on: frames resume"));
  OnTimerTick(app);
  OnTimerTick(app);
  EXPECT_EQ(app.frame.framesRendered, start + 6) << "moving again";
  EXPECT_FALSE(app.lifecycle.slowTicks);

  SystemParametersInfoW(SPI_SETCLIENTAREAANIMATION, 0, reinterpret_cast<PVOID>(LONG_PTR(FALSE)), 0);
  Send(WM_SETTINGCHANGE, SPI_SETCLIENTAREAANIMATION);
  EXPECT_TRUE(app.lifecycle.reducedMotion);
  for (int i = 0; i < 3; ++i) OnTimerTick(app);
  EXPECT_EQ(app.frame.framesRendered, start + 7) << "one still frame again";
  SystemParametersInfoW(SPI_SETCLIENTAREAANIMATION, 0, reinterpret_cast<PVOID>(LONG_PTR(original)), 0);
}

TEST_F(SystemLife, OpaqueWindowsThatCoverTheScreenStopFramesTranslucentOnesDoNot) {
  MakeWallpaper();
  const RECT screen = VirtualScreenRect();
  HWND cover = Make(L"TestCoverWnd");
  SetWindowPos(cover, HWND_TOP, screen.left, screen.top, screen.right - screen.left,
               screen.bottom - screen.top, SWP_NOACTIVATE);
  app.lifecycle.nextCoverageCheck = 0;
  UpdateCoverage(app);
  EXPECT_TRUE(app.lifecycle.visibility.covered);
  const int start = app.frame.framesRendered;
  OnTimerTick(app);
  EXPECT_EQ(app.frame.framesRendered, start);
  EXPECT_EQ(app.lifecycle.resting, RestReason::kCovered);

  SetWindowLongPtrW(cover, GWL_EXSTYLE, GetWindowLongPtrW(cover, GWL_EXSTYLE) | WS_EX_LAYERED);
  SetLayeredWindowAttributes(cover, 0, 128, LWA_ALPHA);
  app.lifecycle.nextCoverageCheck = 0;
  UpdateCoverage(app);
  EXPECT_FALSE(app.lifecycle.visibility.covered) << "a translucent window lets the wallpaper show";

  SetWindowLongPtrW(cover, GWL_EXSTYLE, GetWindowLongPtrW(cover, GWL_EXSTYLE) & ~WS_EX_LAYERED);
  SetWindowPos(cover, nullptr, 0, 0, (screen.right - screen.left) / 2, screen.bottom - screen.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  app.lifecycle.nextCoverageCheck = 0;
  UpdateCoverage(app);
  EXPECT_FALSE(app.lifecycle.visibility.covered) << "half the screen shows the wallpaper";
  ShowWindow(cover, SW_HIDE);
  app.lifecycle.nextCoverageCheck = 0;
  OnTimerTick(app);
  EXPECT_EQ(app.frame.framesRendered, start + 1);
}

TEST_F(SystemLife, WindowsBelowTheWallpaperDoNotCoverIt) {
  const RECT screen = VirtualScreenRect();
  HWND below = Make(L"TestCoverWnd");
  SetWindowPos(below, HWND_TOP, screen.left, screen.top, screen.right - screen.left,
               screen.bottom - screen.top, SWP_NOACTIVATE);
  MakeWallpaper();
  SetWindowPos(app.desktop.wallpaperWindow, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  app.lifecycle.nextCoverageCheck = 0;
  UpdateCoverage(app);
  EXPECT_FALSE(app.lifecycle.visibility.covered);
}

TEST_F(SystemLife, ShellDestroyingTheWindowDetachesAndANewShellGetsItBack) {
  HWND progman = Make(L"Progman");
  Make(L"SHELLDLL_DefView", progman);
  HWND worker = Make(L"WorkerW", progman);
  FindDesktopHost(app);
  CreateWallpaperWindow(app);
  ASSERT_NE(app.desktop.wallpaperWindow, nullptr);
  StartLifecycle(app);
  ASSERT_FALSE(IsWindowVisible(worker));

  // Progman's children hear no display change: the broadcast window passes it on.
  SetWindowPos(app.desktop.wallpaperWindow, nullptr, 10, 10, 64, 48, SWP_NOZORDER | SWP_NOACTIVATE);
  Send(WM_DISPLAYCHANGE, 32);
  RECT placed = {};
  GetWindowRect(app.desktop.wallpaperWindow, &placed);
  const RECT screen = VirtualScreenRect();
  EXPECT_TRUE(EqualRect(&placed, &screen)) << placed.left << "," << placed.top << " " << placed.right;

  // A TaskbarCreated without a new shell changes nothing.
  HWND working = app.desktop.wallpaperWindow;
  CheckShell(app);
  EXPECT_EQ(app.desktop.wallpaperWindow, working);

  // The shell goes: its windows take ours with them; no WM_QUIT follows.
  DestroyWindow(progman);
  windows.clear();
  EXPECT_EQ(app.desktop.wallpaperWindow, nullptr);
  EXPECT_TRUE(app.lifecycle.visibility.detached);
  MSG quit;
  EXPECT_FALSE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) << "the program goes on";
  EXPECT_TRUE(Logged(L"[shell] the wallpaper window is gone; waiting for the shell"));
  CheckShell(app);  // no shell yet
  EXPECT_EQ(app.desktop.wallpaperWindow, nullptr);

  // A new shell: attached under its Progman, its layer hidden.
  HWND newProgman = Make(L"Progman");
  Make(L"SHELLDLL_DefView", newProgman);
  HWND newWorker = Make(L"WorkerW", newProgman);
  CheckShell(app);
  ASSERT_NE(app.desktop.wallpaperWindow, nullptr);
  EXPECT_EQ(GetParent(app.desktop.wallpaperWindow), newProgman);
  EXPECT_FALSE(IsWindowVisible(newWorker));
  EXPECT_FALSE(app.lifecycle.visibility.detached);
  EXPECT_TRUE(Logged(L"[shell] attached again"));
  app.frame.lastFrameTime = MonotonicNanoseconds();
  const int start = app.frame.framesRendered;
  OnTimerTick(app);
  EXPECT_EQ(app.frame.framesRendered, start + 1) << "frames again, same aquarium";
  StopLifecycle(app);
}

TEST_F(SystemLife, CrashFilterShowsTheHiddenLayerAndLetsTheCrashGoOn) {
  HWND progman = Make(L"Progman");
  Make(L"SHELLDLL_DefView", progman);
  HWND worker = Make(L"WorkerW", progman, false);  // hidden by us before the crash
  InstallCrashFilter(app);
  EXCEPTION_RECORD record = {};
  record.ExceptionCode = EXCEPTION_ACCESS_VIOLATION;
  EXCEPTION_POINTERS pointers = {&record, nullptr};
  EXPECT_EQ(WallpaperCrashFilter(&pointers), EXCEPTION_CONTINUE_SEARCH);
  EXPECT_TRUE(IsWindowVisible(worker));
  EXPECT_TRUE(Logged(L"crash: exception 0xc0000005"));
  SetUnhandledExceptionFilter(nullptr);
}

namespace {
BOOL WINAPI FailingGetMessage(LPMSG, HWND, UINT, UINT) {
  SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return -1;
}
}  // namespace

TEST_F(SystemLife, FailingMessageRetrievalEndsWithADefinedCode) {
  EXPECT_EQ(RunMessageLoop(app, FailingGetMessage), kMessageLoopFailed);
  EXPECT_TRUE(Logged(L"GetMessageW failed err=1400, exiting"));
}
