// Living with the system, on real windows under Wine: resting and resuming,
// the system's notifications, reduced motion, coverage by other windows, the
// shell going away and coming back, and the crash filter.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h, which it builds on
#include <versionhelpers.h>
#include <wtsapi32.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "app/app_win32.h"
#include "base/clock.h"
#include "base/log.h"
#include "base/program_path_win32.h"
#include "common/globals_win32.h"
#include "common/names_win32.h"
#include "desktop/desktop_host_win32.h"
#include "desktop/frame_driver_win32.h"
#include "desktop/lifecycle_win32.h"
#include "desktop/pointer_hook_win32.h"
#include "desktop/presenter_win32.h"
#include "desktop/wallpaper_window_win32.h"
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
  // A timer tick at which a frame is due, however soon after the last one.
  void TickDue() {
    app.frame.loop.pacer = FramePacer();
    OnTimerTick(app);
  }
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

namespace {

// WTSQuerySessionInformation(WTSSessionInfoEx) for a session that was locked
// before the program started: a WTSINFOEXW of level 1, its SessionFlags 0.
alignas(8) BYTE lockedSession[512];
BOOL WINAPI QueryLockedSession(HANDLE, DWORD, WTS_INFO_CLASS which, LPWSTR* buffer, DWORD* bytes) {
  if (which != WTS_INFO_CLASS(25)) return FALSE;
  std::fill(std::begin(lockedSession), std::end(lockedSession), BYTE(0));
  DWORD level = 1;
  std::copy_n(reinterpret_cast<const BYTE*>(&level), 4, lockedSession);  // Level
  // WTS_SESSIONSTATE_LOCK, or UNLOCK where the system reverses them (Windows 7, as Wine says it is).
  LONG flags = IsWindows8OrGreater() ? 0 : 1;
  std::copy_n(reinterpret_cast<const BYTE*>(&flags), 4, lockedSession + 8 + 8);  // Data: id, state, flags
  *buffer = reinterpret_cast<LPWSTR>(lockedSession);
  *bytes = sizeof(lockedSession);
  return TRUE;
}
void WINAPI FreeNothing(PVOID) {}

}  // namespace

TEST_F(SystemLife, ALockFromBeforeTheStartRestsFromTheFirstFrame) {
  MakeWallpaper();
  app.outside.querySession = QueryLockedSession;
  app.outside.freeSessionMemory = FreeNothing;
  StartLifecycle(app);
  EXPECT_TRUE(app.lifecycle.visibility.sessionLocked);
  const int start = app.frame.loop.framesRendered;
  TickDue();
  EXPECT_EQ(app.frame.loop.framesRendered, start);
  EXPECT_TRUE(Logged(L"[rest] session locked: frames stop"));
  Send(WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK);
  TickDue();
  EXPECT_EQ(app.frame.loop.framesRendered, start + 1);
  BeginExit(app);
}

TEST_F(SystemLife, SessionPowerAndDisplayNotificationsRestAndResumeFrames) {
  MakeWallpaper();
  const int start = app.frame.loop.framesRendered;
  TickDue();
  EXPECT_EQ(app.frame.loop.framesRendered, start + 1);

  Send(WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK);
  for (int i = 0; i < 5; ++i) TickDue();
  EXPECT_EQ(app.frame.loop.framesRendered, start + 1) << "no frame while locked";
  EXPECT_TRUE(app.frame.slowTicks);
  EXPECT_TRUE(Logged(L"[rest] session locked: frames stop"));
  Send(WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK);
  TickDue();
  EXPECT_EQ(app.frame.loop.framesRendered, start + 2) << "frames resume at the next tick";
  EXPECT_FALSE(app.frame.slowTicks);
  EXPECT_TRUE(Logged(L"[rest] visible again: frames resume"));

  EXPECT_EQ(Send(WM_POWERBROADCAST, PBT_APMSUSPEND), TRUE);
  TickDue();
  EXPECT_EQ(app.frame.loop.resting, RestReason::kSuspending);
  Send(WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC);
  EXPECT_FALSE(app.lifecycle.visibility.suspending);

  EXPECT_EQ(SendPowerSetting(app, GUID_CONSOLE_DISPLAY_STATE, 0), TRUE);
  TickDue();
  EXPECT_EQ(app.frame.loop.resting, RestReason::kDisplayOff);
  SendPowerSetting(app, GUID_CONSOLE_DISPLAY_STATE, 2);  // dimmed: still visible
  TickDue();
  EXPECT_EQ(app.frame.loop.resting, RestReason::kNone);

  SendPowerSetting(app, kPowerSavingStatusForTest, 1);
  EXPECT_TRUE(app.lifecycle.batterySaver);
  TickDue();
  EXPECT_EQ(app.frame.loop.framePeriod, kNanosecondsPerSecond / 15) << "battery saver: the power-saver pace";
  SendPowerSetting(app, kPowerSavingStatusForTest, 0);
  EXPECT_FALSE(app.lifecycle.batterySaver);
  TickDue();
  EXPECT_EQ(app.frame.loop.framePeriod, kNanosecondsPerSecond / 60) << "smooth again";
}

// The system's switch, read when the system announces a change (and never
// changed by the program); what the frames make of it is the frame loop's.
TEST_F(SystemLife, ReducedMotionFollowsTheSystemsSwitch) {
  MakeWallpaper();
  BOOL original = TRUE;
  SystemParametersInfoW(SPI_GETCLIENTAREAANIMATION, 0, &original, 0);
  SystemParametersInfoW(SPI_SETCLIENTAREAANIMATION, 0, reinterpret_cast<PVOID>(LONG_PTR(FALSE)), 0);
  Send(WM_SETTINGCHANGE, SPI_SETCLIENTAREAANIMATION);
  EXPECT_TRUE(app.lifecycle.reducedMotion);
  const int start = app.frame.loop.framesRendered;
  for (int i = 0; i < 3; ++i) TickDue();
  EXPECT_EQ(app.frame.loop.framesRendered, start + 1) << "one still frame";
  EXPECT_TRUE(app.frame.slowTicks);

  SystemParametersInfoW(SPI_SETCLIENTAREAANIMATION, 0, reinterpret_cast<PVOID>(LONG_PTR(TRUE)), 0);
  Send(WM_SETTINGCHANGE, SPI_SETCLIENTAREAANIMATION);
  EXPECT_FALSE(app.lifecycle.reducedMotion);
  EXPECT_TRUE(Logged(L"[motion] animations on: frames resume"));
  TickDue();
  TickDue();
  EXPECT_EQ(app.frame.loop.framesRendered, start + 3) << "moving again";
  EXPECT_FALSE(app.frame.slowTicks);
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
  const int start = app.frame.loop.framesRendered;
  TickDue();
  EXPECT_EQ(app.frame.loop.framesRendered, start);
  EXPECT_EQ(app.frame.loop.resting, RestReason::kCovered);

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
  TickDue();
  EXPECT_EQ(app.frame.loop.framesRendered, start + 1);
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
  // Progman's child below the icons: covered, not hidden.
  EXPECT_TRUE(IsWindowVisible(worker));
  EXPECT_EQ(GetWindow(app.desktop.wallpaperWindow, GW_HWNDNEXT), worker);

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

  // A new shell: attached under its Progman, over its layer.
  HWND newProgman = Make(L"Progman");
  Make(L"SHELLDLL_DefView", newProgman);
  HWND newWorker = Make(L"WorkerW", newProgman);
  CheckShell(app);
  ASSERT_NE(app.desktop.wallpaperWindow, nullptr);
  EXPECT_EQ(GetParent(app.desktop.wallpaperWindow), newProgman);
  EXPECT_EQ(GetWindow(app.desktop.wallpaperWindow, GW_HWNDNEXT), newWorker);
  EXPECT_FALSE(app.lifecycle.visibility.detached);
  EXPECT_TRUE(Logged(L"[shell] attached again"));
  const int start = app.frame.loop.framesRendered;
  TickDue();
  EXPECT_EQ(app.frame.loop.framesRendered, start + 1) << "frames again, same aquarium";
  BeginExit(app);
}

TEST_F(SystemLife, CrashFilterShowsTheHiddenLayerAndLetsTheCrashGoOn) {
  HWND progman = Make(L"Progman");
  Make(L"SHELLDLL_DefView", progman);
  HWND worker = Make(L"WorkerW", nullptr, false);  // hidden by us before the crash
  app.desktop.hiddenLayer = worker;
  InstallCrashFilter(app);
  EXCEPTION_RECORD record = {};
  record.ExceptionCode = EXCEPTION_ACCESS_VIOLATION;
  EXCEPTION_POINTERS pointers = {&record, nullptr};
  EXPECT_EQ(WallpaperCrashFilter(&pointers), EXCEPTION_CONTINUE_SEARCH);
  EXPECT_TRUE(IsWindowVisible(worker));
  EXPECT_EQ(ReadProgramLog(), "") << "a crashing process logs nothing";
  SetUnhandledExceptionFilter(nullptr);
}

TEST_F(SystemLife, AProgramThatThrowsOutOfAFrameLeavesTheLayerVisible) {
  // Windows 10's layout, whose layer must be hidden: owned by this process,
  // so that it outlives the program that hides it.
  Make(L"Progman");
  HWND layer = Make(L"WorkerW");
  HWND iconHost = Make(L"WorkerW");
  Make(L"SHELLDLL_DefView", iconHost);
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring helper = path;
  helper = helper.substr(0, helper.find_last_of(L"\\/") + 1) + L"tidemere-throw_in_frame.exe";
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  ASSERT_TRUE(CreateProcessW(helper.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                             &process))
      << "error " << GetLastError();
  // Serve the helper's requests to show and hide our windows while it runs.
  auto Serve = [] {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  };
  const DWORD end = GetTickCount() + 20000;
  while (GetTickCount() < end &&
         MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 50, QS_ALLINPUT) != WAIT_OBJECT_0) {
    Serve();
  }
  for (int i = 0; i < 10; ++i) {
    Serve();
    Sleep(10);
  }
  TerminateProcess(process.hProcess, 99);  // still running: a box or a hang
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  EXPECT_EQ(code, 3u) << "ended by the terminate handler";
  EXPECT_TRUE(Logged(L"隐藏原壁纸层")) << "the helper hid the layer first";
  EXPECT_TRUE(IsWindowVisible(layer));
}

namespace {
void CALLBACK EndTheLoop(HWND, UINT, UINT_PTR, DWORD) {
  PostQuitMessage(0);
}
}  // namespace

TEST_F(SystemLife, TheLoopPacesFramesByTimeWithEitherTimer) {
  FindDesktopHost(app);  // no shell: a wallpaper window of its own
  CreateWallpaperWindow(app);
  ASSERT_NE(app.desktop.wallpaperWindow, nullptr);
  SetWindowPos(app.desktop.wallpaperWindow, nullptr, 0, 0, 160, 100, SWP_NOZORDER | SWP_NOACTIVATE);
  struct Case {
    bool highResolution;
    int fpsMode;
    int fps;
  };
  for (const Case& c : {Case{true, kFpsSmooth, 60}, Case{false, kFpsPowerSaver, 15}}) {
    SCOPED_TRACE(c.highResolution ? "high-resolution timer" : "window timer");
    app.settings.fpsMode = c.fpsMode;
    StartFrames(app, c.highResolution);
    if (c.highResolution) {
      ASSERT_NE(app.frame.frameTimer, nullptr);
    }
    TickDue();
    const int start = app.frame.loop.framesRendered;
    const UINT_PTR end = SetTimer(nullptr, 0, 2000, EndTheLoop);
    EXPECT_EQ(RunMessageLoop(app, GetMessageW), 0);
    KillTimer(nullptr, end);
    const int frames = app.frame.loop.framesRendered - start;
    EXPECT_GE(frames, 2 * c.fps * 8 / 10);
    EXPECT_LE(frames, 2 * c.fps + 2);
    StopFrames(app);
  }

  // A modal loop (the tray menu, a message box, a window moved) dispatches
  // only messages: timer 1 carries the smooth pace until the program's loop
  // waits again.
  app.settings.fpsMode = kFpsSmooth;
  StartFrames(app, true);
  TickDue();
  const int start = app.frame.loop.framesRendered;
  const UINT_PTR end = SetTimer(nullptr, 0, 2000, EndTheLoop);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  KillTimer(nullptr, end);
  EXPECT_GE(app.frame.loop.framesRendered - start, 2 * 60 / 2) << "not the watchdog's 4 a second";
  EXPECT_TRUE(app.frame.modalTicks);
  EXPECT_TRUE(Logged(L"[frames] a modal loop runs: the window timer paces frames"));
  const UINT_PTR again = SetTimer(nullptr, 0, 300, EndTheLoop);
  EXPECT_EQ(RunMessageLoop(app, GetMessageW), 0);
  KillTimer(nullptr, again);
  EXPECT_FALSE(app.frame.modalTicks) << "the program's own loop paces frames again";
  StopFrames(app);
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
