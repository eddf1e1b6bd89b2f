// The one application object, at the bottom of the shell so that every shell
// folder can include it. Its fields are grouped by the room that owns them:
// desktop/ owns `desktop`, `frame`, `presenter` and `lifecycle`; ui/ owns
// `ui`; app/ owns the rest and wires `requests` at start.
#pragma once

#include <windows.h>
// after windows.h, which they build on
#include <dwmapi.h>
#include <shellapi.h>
#include <wtsapi32.h>

#include <atomic>
#include <cstdint>
#include <utility>
#include <vector>

#include "policy/frame_loop.h"
#include "policy/visibility.h"
#include "settings/settings.h"
#include "sim/aquarium.h"
#include "sim/pointer_inbox.h"

struct WallpaperApp;

// What desktop/ and ui/ ask of the application above them. A platform layer
// reports events up instead of calling the application; app/ fills these in
// (WireRequests) and an unset request is simply not made.
struct AppRequests {
  void (*hotkeyPressed)(WallpaperApp& app, unsigned id) = nullptr;
  void (*themeChosen)(WallpaperApp& app, int theme) = nullptr;
  void (*exitAsked)(WallpaperApp& app) = nullptr;
  // The settings window stored new values in `settings`: save and rebuild.
  // Returns whether the save worked (the window tells the user when not).
  SaveResult (*settingsApplied)(WallpaperApp& app) = nullptr;
  // The shell (re)started: its notification area is empty.
  void (*shellBack)(WallpaperApp& app) = nullptr;
  // The settings window closed (OK or not).
  void (*settingsClosed)(WallpaperApp& app) = nullptr;
};

// Makes the request when app/ wired it: Request(app.requests.exitAsked, app).
template <typename... Params, typename... Args>
void Request(void (*request)(WallpaperApp&, Params...), WallpaperApp& app, Args&&... args) {
  if (request != nullptr) request(app, std::forward<Args>(args)...);
}

// Where the shell's own wallpaper layer lies, which decides whether the
// wallpaper window can cover it or must hide it.
enum class LayerPlace {
  kNone,        // none found: the wallpaper is Progman's child (or stands alone)
  kUnderIcons,  // Progman's child below the icon view: covered by the wallpaper above it
  kTopLevel,    // the top-level WorkerW right behind the icons' WorkerW (Windows 10, 11 to 23H2): hidden
};

// The shell's windows the wallpaper lives among, the wallpaper window itself
// and the mouse hook that follows the pointer over the whole desktop.
struct DesktopAttachment {
  HWND wallpaperWindow = nullptr;
  HWND progmanWindow = nullptr;
  HWND desktopHost = nullptr;  // the wallpaper-layer WorkerW, or Progman
  LayerPlace layerPlace = LayerPlace::kNone;
  // Progman draws without a redirection surface (Windows 11 24H2): only a
  // layered child of it reaches the screen.
  bool raisedDesktop = false;
  // The layer this program hid (and only when it did), shown again at every
  // end, crashes included.
  HWND hiddenLayer = nullptr;
  HHOOK mouseHook = nullptr;  // installed on the hook thread, which alone touches it
  HANDLE hookThread = nullptr;
  DWORD hookThreadId = 0;
  PointerInbox pointerInbox;  // from the hook thread to the frame thread
};

// The frame driver: the timers that wake it, the back buffer (a 32-bit
// top-down DIB section in a memory DC, which keeps the last frame), and the
// frame loop with the wallpaper's one view.
struct FrameDriverState {
  HANDLE frameTimer = nullptr;  // high-resolution waitable timer; null: window timer ticks pace frames
  HDC memoryDc = nullptr;
  HBITMAP backBuffer = nullptr;
  HGDIOBJ previousBitmap = nullptr;
  uint32_t* backBufferBits = nullptr;
  int backBufferWidth = 0;  // the size the back buffer was made for
  int backBufferHeight = 0;
  FrameLoop loop;  // pacing, resting, the frame cost report
  FrameView view;  // the clock and the kept layers of the wallpaper's aquarium
  // Timer 1 as it was last set: at the resting check's rate, or for frames
  // of this period.
  bool slowTicks = false;
  int64_t tickPeriod = 0;
  // A modal loop (a menu, a message box, a window moved) runs instead of the
  // program's own: timer 1 paces frames until the program's loop waits again.
  bool modalTicks = false;
  int64_t lastOwnWait = 0;  // monotonic clock, when the program's loop last woke
  // The compositor's clock (DirectComposition path, smooth frames): a thread
  // waits for its ticks, counts them and wakes the program's loop.
  HANDLE clockThread = nullptr;
  HANDLE clockTick = nullptr;  // auto-reset, set at each tick
  HANDLE clockRun = nullptr;   // manual-reset, set while frames follow the clock
  HANDLE clockStop = nullptr;
  std::atomic<int64_t> clockTicks{0};
  int64_t clockPeriod = 0;      // the refresh period, nanoseconds; 0: not known
  uint64_t nextPeriodRead = 0;  // tick count: the period is read again once a second
  bool onClock = false;         // the loop asked for the compositor's pace
};

// How frames reach the wallpaper window.
enum class PresenterKind {
  kNone,     // not started, or started only in part
  kSurface,  // DirectComposition visual with a composition surface as content
  kGdi,      // BitBlt to the window's device context (no DirectComposition)
};

// The Direct3D and DirectComposition objects: private to the presenter.
struct CompositionPresenter;

struct PresenterState {
  PresenterKind kind = PresenterKind::kNone;
  CompositionPresenter* composition = nullptr;
  // The next present copies the whole frame: what the window shows is new.
  bool wholeNext = true;
  uint64_t nextRebuild = 0;  // tick count: a lost device is rebuilt at most once a second
  uint64_t retryMs = 0;      // DirectComposition tried again after this long; 0: no retry planned
  uint64_t nextRetry = 0;
};

// What the program knows of the system around it: whether anybody can see
// the wallpaper, the user's motion and power preferences, and the shell it is
// attached to.
struct Lifecycle {
  VisibilityState visibility;
  bool reducedMotion = false;  // "animate controls and elements" is off
  bool batterySaver = false;
  uint64_t nextCoverageCheck = 0;  // tick count in milliseconds
  bool exitRequested = false;      // only an exit the user asked for ends the program
  // The wallpaper follows the shell (attaches again when it restarts); a
  // screensaver's window does not.
  bool followsShell = true;
  DWORD shellProcessId = 0;          // the process owning the Progman we are attached to
  bool noShellSaid = false;          // "no desktop to live in" is logged once
  std::vector<ScreenRect> monitors;  // as the last coverage check found them
  // A hidden top-level window: broadcasts ("TaskbarCreated", display, session
  // and power changes) reach neither message-only windows nor Progman's children.
  HWND notifyWindow = nullptr;
  UINT taskbarCreatedMessage = 0;  // RegisterWindowMessageW(L"TaskbarCreated")
  void* displayStateNotification = nullptr;
  void* powerSavingNotification = nullptr;
  bool sessionNotification = false;
  int secondsSinceResourceLine = 0;
};

// Calls that reach outside the program (a message box waiting for the user,
// the popup menu's modal loop, the browser, the shell's notification area,
// the session, DirectComposition and the compositor's clock). They go through
// here so that tests can stand in for them; the program never changes them.
struct OutsideCalls {
  int(WINAPI* messageBox)(HWND, LPCWSTR, LPCWSTR, UINT) = MessageBoxW;
  BOOL(WINAPI* trackPopupMenu)(HMENU, UINT, int, int, int, HWND, const RECT*) = TrackPopupMenu;
  HINSTANCE(WINAPI* shellExecute)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT) = ShellExecuteW;
  BOOL(WINAPI* shellNotifyIcon)(DWORD, PNOTIFYICONDATAW) = Shell_NotifyIconW;
  BOOL(WINAPI* querySession)(HANDLE, DWORD, WTS_INFO_CLASS, LPWSTR*, DWORD*) = WTSQuerySessionInformationW;
  void(WINAPI* freeSessionMemory)(PVOID) = WTSFreeMemory;
  // dcomp.dll's, looked up when null: DCompositionCreateDevice (Windows 8 and
  // later, its first parameter an IDXGIDevice) and
  // DCompositionWaitForCompositorClock (Windows 11).
  HRESULT(WINAPI* createCompositionDevice)(IUnknown*, REFIID, void**) = nullptr;
  DWORD(WINAPI* waitForCompositorClock)(UINT, const HANDLE*, DWORD) = nullptr;
  HRESULT(WINAPI* compositionTiming)(HWND, DWM_TIMING_INFO*) = DwmGetCompositionTimingInfo;
  HRESULT(WINAPI* dwmFlush)() = DwmFlush;
};

// The notification-area icon and its menu, the message-only window that
// hears them, and the settings and About windows.
struct UserInterface {
  HWND messageWindow = nullptr;
  bool trayAdded = false;
  HMENU trayMenu = nullptr;
  HICON trayIcon = nullptr;
  HWND settingsWindow = nullptr;
  HWND aboutWindow = nullptr;
  int trayAddRetries = 0;  // a failed add tried again, a few times over the first minute
};

struct WallpaperApp {
  Aquarium aquarium;  // creatures, scenery, pointer state, scene clock
  Settings settings;  // theme, totalFish, fpsMode, speciesCounts
  HINSTANCE instance = nullptr;
  ULONG_PTR gdiplusToken = 0;  // of a successful GdiplusStartup, 0 otherwise
  AppRequests requests;
  DesktopAttachment desktop;
  FrameDriverState frame;
  PresenterState presenter;
  Lifecycle lifecycle;
  UserInterface ui;
  OutsideCalls outside;
};
