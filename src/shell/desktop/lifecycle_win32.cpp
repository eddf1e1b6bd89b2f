// Living with the system for weeks: resting while nobody can see the
// wallpaper, following the display, surviving a restart of the shell or a
// lost graphics device, and showing the shell's own wallpaper again if the
// program crashes.
#include <windows.h>
// after windows.h, which they build on
#include <dwmapi.h>
#include <versionhelpers.h>
#include <wtsapi32.h>

#include <algorithm>
#include <exception>
#include <vector>

#include "base/log.h"
#include "common/globals_win32.h"
#include "desktop/desktop_host_win32.h"
#include "desktop/frame_driver_win32.h"
#include "desktop/lifecycle_win32.h"
#include "desktop/presenter_win32.h"
#include "desktop/wallpaper_window_win32.h"

namespace {

// GUID_POWER_SAVING_STATUS (battery saver on or off); mingw-w64 lacks it.
constexpr GUID kPowerSavingStatus = {
    0xE00958C0, 0xC213, 0x4ACE, {0xAC, 0x77, 0xFE, 0xCC, 0xED, 0x2E, 0xEE, 0xA5}};

// WTSSessionInfoEx and WTSINFOEXW (Windows 7 and later), which mingw-w64's
// wtsapi32.h lacks, as the Windows SDK declares them.
constexpr int kWtsSessionInfoEx = 25;
struct SessionInfoExLevel1 {
  ULONG sessionId;
  WTS_CONNECTSTATE_CLASS sessionState;
  LONG sessionFlags;
  WCHAR winStationName[32 + 1];
  WCHAR userName[20 + 1];
  WCHAR domainName[17 + 1];
  LARGE_INTEGER logonTime, connectTime, disconnectTime, lastInputTime, currentTime;
  DWORD incomingBytes, outgoingBytes, incomingFrames, outgoingFrames, incomingCompressedBytes,
      outgoingCompressedBytes;
};
struct SessionInfoEx {
  DWORD level;
  union {
    SessionInfoExLevel1 level1;
  } data;
};

constexpr UINT_PTR kShellCheckTimer = 2;
constexpr UINT kShellCheckMs = 1000;
constexpr uint64_t kCoverageCheckMs = 250;

DWORD ProcessOf(HWND window) {
  DWORD process = 0;
  if (window != nullptr) GetWindowThreadProcessId(window, &process);
  return process;
}

bool ReducedMotion() {
  BOOL animate = TRUE;
  if (!SystemParametersInfoW(SPI_GETCLIENTAREAANIMATION, 0, &animate, 0)) return false;
  return animate == FALSE;
}

bool HasClass(HWND window, const wchar_t* name) {
  wchar_t className[64] = {};
  return GetClassNameW(window, className, 64) != 0 && lstrcmpW(className, name) == 0;
}

struct CoverageSearch {
  const WallpaperApp* app;
  std::vector<CoveringWindow> windows;
};

BOOL CALLBACK CollectCoveringWindow(HWND window, LPARAM param) {
  auto& search = *reinterpret_cast<CoverageSearch*>(param);
  // Top-level windows come in z-order: below the wallpaper (or the shell's
  // desktop, which holds it) nothing can cover it.
  if (window == search.app->desktop.wallpaperWindow || window == search.app->desktop.progmanWindow)
    return FALSE;
  if (!IsWindowVisible(window) || HasClass(window, L"WorkerW") || HasClass(window, L"Progman")) return TRUE;
  CoveringWindow cover;
  cover.minimized = IsIconic(window) != FALSE;
  DWORD cloaked = 0;
  cover.cloaked =
      SUCCEEDED(DwmGetWindowAttribute(window, DWMWA_CLOAKED, &cloaked, sizeof(cloaked))) && cloaked;
  // A layered window may let the wallpaper show through; so may a shaped one.
  RECT box;
  cover.translucent =
      (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0 || GetWindowRgnBox(window, &box) != ERROR;
  RECT rect = {};
  // The visible frame, without the invisible resize borders of Windows 10.
  if (FAILED(DwmGetWindowAttribute(window, DWMWA_EXTENDED_FRAME_BOUNDS, &rect, sizeof(rect)))) {
    GetWindowRect(window, &rect);
  }
  cover.rect = {rect.left, rect.top, rect.right, rect.bottom};
  search.windows.push_back(cover);
  return TRUE;
}

BOOL CALLBACK CollectMonitor(HMONITOR, HDC, LPRECT rect, LPARAM param) {
  reinterpret_cast<std::vector<ScreenRect>*>(param)->push_back(
      {rect->left, rect->top, rect->right, rect->bottom});
  return TRUE;
}

void LogResources() {
  const ProcessResources r = ReadProcessResources();
  WriteLog(L"[diag] resources gdi=%lu user=%lu handles=%lu private=%lu KB", r.gdiObjects, r.userObjects,
           r.handles, r.privateKilobytes);
}

// The wallpaper window follows the virtual screen when the display layout
// changed behind its back (a DPI or monitor change announced as a setting).
void FollowVirtualScreen(WallpaperApp& app) {
  if (app.desktop.wallpaperWindow == nullptr || !app.lifecycle.followsShell) return;
  const RECT screen = VirtualScreenRect();
  RECT now = {};
  GetWindowRect(app.desktop.wallpaperWindow, &now);
  if (!EqualRect(&now, &screen)) SendMessageW(app.desktop.wallpaperWindow, WM_DISPLAYCHANGE, 32, 0);
}

void OnPowerSetting(WallpaperApp& app, const POWERBROADCAST_SETTING& setting) {
  if (setting.DataLength < sizeof(DWORD)) return;
  const DWORD value = *reinterpret_cast<const DWORD*>(setting.Data);
  if (IsEqualGUID(setting.PowerSetting, GUID_CONSOLE_DISPLAY_STATE)) {
    app.lifecycle.visibility.displayOff = value == 0;  // 1 on, 2 dimmed: still visible
    WriteLog(L"[power] display %s", value == 0 ? L"off" : value == 2 ? L"dimmed" : L"on");
  } else if (IsEqualGUID(setting.PowerSetting, kPowerSavingStatus)) {
    app.lifecycle.batterySaver = value != 0;
    WriteLog(L"[power] battery saver %s", value ? L"on" : L"off");
  }
}

void OnSessionChange(WallpaperApp& app, WPARAM change) {
  VisibilityState& v = app.lifecycle.visibility;
  switch (change) {
    case WTS_SESSION_LOCK:
      v.sessionLocked = true;
      break;
    case WTS_SESSION_UNLOCK:
      v.sessionLocked = false;
      break;
    case WTS_CONSOLE_DISCONNECT:
    case WTS_REMOTE_DISCONNECT:
    case WTS_CONSOLE_CONNECT:
    case WTS_REMOTE_CONNECT:
      // A session shown over remote desktop rests like a locked one.
      v.remoteSession = GetSystemMetrics(SM_REMOTESESSION) != 0;
      break;
    default:
      return;
  }
  WriteLog(L"[session] change %u: locked=%d remote=%d", unsigned(change), int(v.sessionLocked),
           int(v.remoteSession));
}

void OnPowerBroadcast(WallpaperApp& app, WPARAM event, LPARAM lParam) {
  switch (event) {
    case PBT_APMSUSPEND:
      app.lifecycle.visibility.suspending = true;
      WriteLog(L"[power] suspending");
      break;
    case PBT_APMRESUMESUSPEND:
    case PBT_APMRESUMEAUTOMATIC:
      if (app.lifecycle.visibility.suspending) WriteLog(L"[power] resumed");
      app.lifecycle.visibility.suspending = false;
      // A device may not survive sleep: look at it now rather than in a second.
      KeepPresenterWorking(app);
      break;
    case PBT_POWERSETTINGCHANGE:
      if (lParam != 0) OnPowerSetting(app, *reinterpret_cast<const POWERBROADCAST_SETTING*>(lParam));
      break;
    default:
      break;
  }
}

// A session locked before the start (a Run-key start behind the lock screen)
// sends no WTS_SESSION_LOCK: ask.
bool SessionLockedNow(const WallpaperApp& app) {
  LPWSTR buffer = nullptr;
  DWORD bytes = 0;
  if (!app.outside.querySession(WTS_CURRENT_SERVER_HANDLE, WTS_CURRENT_SESSION,
                                WTS_INFO_CLASS(kWtsSessionInfoEx), &buffer, &bytes) ||
      buffer == nullptr) {
    return false;
  }
  bool locked = false;
  const auto* info = reinterpret_cast<const SessionInfoEx*>(buffer);
  if (bytes >= sizeof(SessionInfoEx) && info->level == 1) {
    // NOTE: Windows 7 and Server 2008 R2 report the lock flags reversed.
    locked = SessionFlagsSayLocked(info->data.level1.sessionFlags, !IsWindows8OrGreater());
  }
  app.outside.freeSessionMemory(buffer);
  return locked;
}

}  // namespace

void StartLifecycle(WallpaperApp& app) {
  Lifecycle& life = app.lifecycle;
  crashApp = &app;
  life.reducedMotion = ReducedMotion();
  life.visibility.remoteSession = GetSystemMetrics(SM_REMOTESESSION) != 0;
  life.visibility.sessionLocked = SessionLockedNow(app);
  life.shellProcessId = ProcessOf(app.desktop.progmanWindow);
  if (app.lifecycle.notifyWindow != nullptr) {
    life.sessionNotification =
        WTSRegisterSessionNotification(app.lifecycle.notifyWindow, NOTIFY_FOR_THIS_SESSION) != FALSE;
    life.displayStateNotification = RegisterPowerSettingNotification(
        app.lifecycle.notifyWindow, &GUID_CONSOLE_DISPLAY_STATE, DEVICE_NOTIFY_WINDOW_HANDLE);
    life.powerSavingNotification = RegisterPowerSettingNotification(
        app.lifecycle.notifyWindow, &kPowerSavingStatus, DEVICE_NOTIFY_WINDOW_HANDLE);
    SetTimer(app.lifecycle.notifyWindow, kShellCheckTimer, kShellCheckMs, nullptr);
  }
  WriteLog(L"[lifecycle] notifications: session=%d display=%d saver=%d reducedMotion=%d remote=%d locked=%d",
           int(life.sessionNotification), life.displayStateNotification != nullptr,
           life.powerSavingNotification != nullptr, int(life.reducedMotion),
           int(life.visibility.remoteSession), int(life.visibility.sessionLocked));
  if (debugLogging) LogResources();
}

void BeginExit(WallpaperApp& app) {
  Lifecycle& life = app.lifecycle;
  life.exitRequested = true;
  if (app.lifecycle.notifyWindow != nullptr) {
    KillTimer(app.lifecycle.notifyWindow, kShellCheckTimer);
    if (life.sessionNotification) WTSUnRegisterSessionNotification(app.lifecycle.notifyWindow);
  }
  if (life.displayStateNotification != nullptr)
    UnregisterPowerSettingNotification(life.displayStateNotification);
  if (life.powerSavingNotification != nullptr)
    UnregisterPowerSettingNotification(life.powerSavingNotification);
  life.sessionNotification = false;
  life.displayStateNotification = nullptr;
  life.powerSavingNotification = nullptr;
  if (life.notifyWindow != nullptr) {
    DestroyWindow(life.notifyWindow);
    life.notifyWindow = nullptr;
  }
}

bool HandleSystemMessage(WallpaperApp& app, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  result = 0;
  switch (message) {
    case WM_TIMER:
      if (wParam != kShellCheckTimer) return false;
      CheckShell(app);
      KeepPresenterWorking(app);
      if (debugLogging && ++app.lifecycle.secondsSinceResourceLine >= 60) {
        app.lifecycle.secondsSinceResourceLine = 0;
        LogResources();
      }
      return true;
    case WM_DISPLAYCHANGE:
      // NOTE: Progman's children never receive WM_DISPLAYCHANGE, and neither
      // does our window without a parent: it keeps WS_CHILD, which broadcasts skip.
      if (app.desktop.wallpaperWindow != nullptr)
        SendMessageW(app.desktop.wallpaperWindow, WM_DISPLAYCHANGE, wParam, lParam);
      app.lifecycle.nextCoverageCheck = 0;
      return true;
    case WM_SETTINGCHANGE: {
      const bool reduced = ReducedMotion();
      if (reduced != app.lifecycle.reducedMotion) {
        app.lifecycle.reducedMotion = reduced;
        WriteLog(L"[motion] animations %s", reduced ? L"off: a still frame" : L"on: frames resume");
      }
      FollowVirtualScreen(app);
      app.lifecycle.nextCoverageCheck = 0;
      return true;
    }
    case WM_WTSSESSION_CHANGE:
      OnSessionChange(app, wParam);
      return true;
    case WM_POWERBROADCAST:
      OnPowerBroadcast(app, wParam, lParam);
      result = TRUE;
      return true;
    case WM_ENDSESSION:
      // Signing out or shutting down: leave the shell's own wallpaper behind.
      if (wParam) Request(app.requests.exitAsked, app);
      return true;
    default:
      return false;
  }
}

void UpdateCoverage(WallpaperApp& app) {
  const uint64_t now = GetTickCount64();
  if (now < app.lifecycle.nextCoverageCheck) return;
  app.lifecycle.nextCoverageCheck = now + kCoverageCheckMs;
  std::vector<ScreenRect>& monitors = app.lifecycle.monitors;
  monitors.clear();
  EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
  HWND window = app.desktop.wallpaperWindow;
  HWND holder = GetAncestor(window, GA_ROOT);
  if (holder != nullptr && holder != window && holder != app.desktop.progmanWindow) {
    // Held by another program's window (a screensaver preview in its
    // dialog): it is seen exactly while that window shows. IsWindowVisible
    // looks at every ancestor; a minimized one keeps WS_VISIBLE.
    app.lifecycle.visibility.covered = !IsWindowVisible(window) || IsIconic(holder);
    return;
  }
  CoverageSearch search{&app, {}};
  EnumWindows(CollectCoveringWindow, reinterpret_cast<LPARAM>(&search));
  app.lifecycle.visibility.covered = IsEveryMonitorCovered(monitors, search.windows);
}

void OnWallpaperWindowDestroyed(WallpaperApp& app) {
  Lifecycle& life = app.lifecycle;
  // The shell destroyed its windows and ours with them: keep the aquarium and
  // wait for the shell to come back.
  life.visibility.detached = true;
  ReleaseComposition(app);
  ReleaseBackBuffer(app);
  app.desktop.wallpaperWindow = nullptr;
  // Nothing of ours shows now: a layer we hid must not leave the desktop black.
  RestoreWallpaperLayer(app);
  WriteLog(L"[shell] the wallpaper window is gone; waiting for the shell");
}

void KeepInPlace(WallpaperApp& app) {
  // A shell that was not ready at start (log-on, a restart) makes its layer
  // later, and may make another: follow it.
  FollowWallpaperLayer(app);
  // Below the icons (or of every window without a shell), the layer behind
  // us (hidden again if the shell showed it for a slideshow), and over the
  // whole virtual screen.
  PlaceUnderDesktopIcons(app.desktop.wallpaperWindow, SWP_NOREDRAW);
  KeepLayerBehind(app);
  FollowVirtualScreen(app);
}

void CheckShell(WallpaperApp& app) {
  if (app.lifecycle.exitRequested || !app.lifecycle.followsShell) return;
  HWND progman = FindWindowW(L"Progman", nullptr);
  if (!app.lifecycle.visibility.detached) {
    if (app.desktop.wallpaperWindow != nullptr && IsWindow(app.desktop.wallpaperWindow)) {
      const bool hostGone =
          app.desktop.progmanWindow != nullptr &&
          (progman != app.desktop.progmanWindow || ProcessOf(progman) != app.lifecycle.shellProcessId);
      const bool shellArrived = app.desktop.progmanWindow == nullptr && progman != nullptr;
      if (!hostGone && !shellArrived) {
        KeepInPlace(app);  // a working wallpaper stays; what drifted is put right
        return;
      }
      WriteLog(L"[shell] %s", hostGone ? L"the desktop host is gone" : L"a shell has started");
      DestroyWindow(app.desktop.wallpaperWindow);  // its WM_DESTROY detaches
    }
    // Destroyed without our seeing it (its thread's messages never came).
    if (!app.lifecycle.visibility.detached) OnWallpaperWindowDestroyed(app);
  }
  if (progman == nullptr) return;  // no shell yet: look again in a second

  WriteLog(L"[shell] Progman 0x%p found: attaching", progman);
  RestoreLayerLeftHidden(app);
  FindDesktopHost(app);
  CreateWallpaperWindow(app);
  if (app.desktop.wallpaperWindow == nullptr) {
    WriteLog(L"[shell] attaching failed; trying again");
    return;
  }
  app.lifecycle.shellProcessId = ProcessOf(app.desktop.progmanWindow);
  app.lifecycle.visibility.detached = false;
  app.lifecycle.nextCoverageCheck = 0;
  StartFrames(app);  // timer 1 of the new window
  // The shell that came back has an empty notification area.
  Request(app.requests.shellBack, app);
  WriteLog(L"[shell] attached again: wallpaper 0x%p under 0x%p", app.desktop.wallpaperWindow,
           app.desktop.progmanWindow);
}

namespace {

[[noreturn]] void OnTerminate() {
  // A C++ exception nobody caught: the layer first, then the end.
  if (crashApp != nullptr) ShowHiddenLayerNow(*crashApp);
  TerminateProcess(GetCurrentProcess(), 3);
  for (;;) {
  }
}

}  // namespace

LONG WINAPI WallpaperCrashFilter(EXCEPTION_POINTERS*) {
  // A crashed wallpaper must not leave the desktop black. The process is in
  // an unknown state: no logging, allocating or locking here.
  if (crashApp != nullptr) ShowHiddenLayerNow(*crashApp);
  return EXCEPTION_CONTINUE_SEARCH;
}

void InstallCrashFilter(WallpaperApp& app) {
  crashApp = &app;
  SetUnhandledExceptionFilter(WallpaperCrashFilter);
  std::set_terminate(OnTerminate);
}
