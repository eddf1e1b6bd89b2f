// The frame driver: wake-ups become frames. A wake-up reads what the system
// shows of the wallpaper (coverage, power, motion, a full-screen window in
// front), runs the frame loop over the back buffer's pixels (which keep the
// frame before) and hands the presenter what changed.
#include "desktop/frame_driver_win32.h"

#include <windows.h>
// after windows.h, which it builds on
#include <dwmapi.h>

#include <algorithm>

#include "base/clock.h"
#include "base/log.h"
#include "common/names_win32.h"
#include "desktop/desktop_host_win32.h"
#include "desktop/lifecycle_win32.h"
#include "desktop/presenter_win32.h"
#include "draw/gdiplus/gdiplus_graphics.h"
#include "policy/frame_pacing.h"
#include "policy/window_aquariums.h"

namespace {

// NOTE: USER timers fire on the system tick (15.625 ms on Windows): a 16 ms
// timer waits for two ticks, 31.25 ms, and gives 32 frames a second. Ticking
// at half the frame period (at least 10 ms, the shortest USER timer: every
// system tick in smooth mode), no frame comes more than half a period late,
// and pacing by time makes 60, 15 or 6 frames a second of the ticks.
constexpr UINT kShortestTickMs = 10;
constexpr UINT kRestTickMs = UINT(kRestCheckNanoseconds / 1000000);

UINT TickMsFor(int64_t framePeriod) {
  return std::max(kShortestTickMs, UINT(framePeriod / 2 / 1000000));
}

// NOTE: a modal loop (TrackPopupMenu, MessageBox, a window being moved or
// sized) runs its own message loop and dispatches only messages: the
// program's wait for the frame timer or the compositor's clock is not reached
// until it ends. A tick of timer 1 this long after the program's loop last
// woke comes from such a loop.
constexpr int64_t kModalAfterNanoseconds = 50 * 1000000LL;

// Where frames wait for their own wake-up (the frame timer, or the
// compositor's clock when the loop asked for it) rather than for timer 1.
bool OwnWakeUp(const FrameDriverState& frame) {
  return frame.onClock ? frame.clockThread != nullptr : frame.frameTimer != nullptr;
}

ForegroundWindowInfo ReadForegroundWindow(const WallpaperApp& app) {
  ForegroundWindowInfo info;
  HWND window = GetForegroundWindow();
  if (window == nullptr) return info;
  info.exists = true;
  info.isOwnWindow = window == app.desktop.wallpaperWindow || window == app.ui.messageWindow;
  info.minimized = IsIconic(window) != FALSE;
  RECT rect;
  // NOTE: the window rectangle, not DWMWA_EXTENDED_FRAME_BOUNDS: a
  // full-screen window has no invisible borders, a maximized one has them
  // beyond the monitor and still leaves the taskbar.
  info.rectKnown = GetWindowRect(window, &rect) != FALSE;
  if (info.rectKnown) info.rect = {rect.left, rect.top, rect.right, rect.bottom};
  GetClassNameW(window, info.className, 64);
  return info;
}

// Timer 1 of the wallpaper window at the rate the moment asks for: the resting
// check's while resting (or on the still frame); while drawing, every system
// tick where frames are paced by it, or the resting check's as a watchdog where
// the high-resolution frame timer paces them (it keeps frames coming while a
// menu or message box runs its own loop).
void SetTickTimer(WallpaperApp& app, bool slow, int64_t period) {
  FrameDriverState& frame = app.frame;
  frame.slowTicks = slow;
  frame.tickPeriod = period;
  if (app.desktop.wallpaperWindow == nullptr) return;
  const bool pacesFrames = !slow && (!OwnWakeUp(frame) || frame.modalTicks);
  SetTimer(app.desktop.wallpaperWindow, 1, pacesFrames ? TickMsFor(period) : kRestTickMs, nullptr);
}

// The compositor's refresh period, in nanoseconds; 0 when it does not say.
int64_t ReadCompositorPeriod(const OutsideCalls& outside) {
  DWM_TIMING_INFO timing = {};
  timing.cbSize = sizeof(timing);
  LARGE_INTEGER frequency = {};
  // NOTE: the window must be null from Windows 8.1 on: the timing is the
  // compositor's, for the whole desktop.
  if (FAILED(outside.compositionTiming(nullptr, &timing))) return 0;
  if (timing.qpcRefreshPeriod > 0 && QueryPerformanceFrequency(&frequency))
    return int64_t(double(timing.qpcRefreshPeriod) * 1e9 / double(frequency.QuadPart));
  if (timing.rateRefresh.uiNumerator > 0)
    return int64_t(1e9 * double(timing.rateRefresh.uiDenominator) / double(timing.rateRefresh.uiNumerator));
  return 0;
}

// The same, read at most once a second (it follows the display mode).
int64_t CompositorPeriod(WallpaperApp& app) {
  FrameDriverState& frame = app.frame;
  const uint64_t now = GetTickCount64();
  if (now >= frame.nextPeriodRead) {
    frame.nextPeriodRead = now + 1000;
    frame.clockPeriod = ReadCompositorPeriod(app.outside);
  }
  return frame.clockPeriod;
}

// The compositor's clock thread: at each tick of the compositor it counts the
// tick and wakes the program's loop, while `clockRun` is set.
DWORD WINAPI CompositorClockMain(void* parameter) {
  WallpaperApp& app = *static_cast<WallpaperApp*>(parameter);
  FrameDriverState& frame = app.frame;
  auto wait = app.outside.waitForCompositorClock;
  if (wait == nullptr) {
    // NOTE: DCompositionWaitForCompositorClock exists from Windows 11 (build
    // 22000) on; before it DwmFlush returns at the compositor's next frame.
    if (HMODULE dcomp = GetModuleHandleW(L"dcomp.dll"))
      wait = reinterpret_cast<decltype(wait)>(
          reinterpret_cast<void*>(GetProcAddress(dcomp, "DCompositionWaitForCompositorClock")));
  }
  const HANDLE stopOrRun[2] = {frame.clockStop, frame.clockRun};
  int64_t period = ReadCompositorPeriod(app.outside), lastTick = 0;
  for (int64_t ticks = 1;; ++ticks) {
    if (WaitForMultipleObjects(2, stopOrRun, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) return 0;
    bool ticked = false;
    if (wait != nullptr) {
      // NOTE: it returns WAIT_OBJECT_0 + i for a handle and, at the
      // compositor's tick, WAIT_OBJECT_0 + count (STATUS_SUCCESS, 0, in its
      // documentation: the stop event says which); another value at once
      // while the display is off.
      const DWORD result = wait(1, &frame.clockStop, 100);
      if (WaitForSingleObject(frame.clockStop, 0) == WAIT_OBJECT_0) return 0;
      ticked = result == WAIT_OBJECT_0 + 1 || result == WAIT_OBJECT_0;
    } else {
      ticked = SUCCEEDED(app.outside.dwmFlush());
    }
    // Never faster than the compositor: no tick to wait for (display off, no
    // composition) or one that returned at once waits for the rest of its period.
    const int64_t now = MonotonicNanoseconds();
    const int64_t early = lastTick + std::max<int64_t>(period * 3 / 4, 4000000) - now;
    if (!ticked || early > 0) {
      const DWORD ms = ticked ? DWORD(early / 1000000 + 1) : 16;
      if (WaitForSingleObject(frame.clockStop, ms) == WAIT_OBJECT_0) return 0;
      if (!ticked) continue;
    }
    lastTick = MonotonicNanoseconds();
    if (ticks % 256 == 0) period = ReadCompositorPeriod(app.outside);
    frame.clockTicks.fetch_add(1, std::memory_order_relaxed);
    SetEvent(frame.clockTick);
  }
}

void StartCompositorClock(WallpaperApp& app) {
  FrameDriverState& frame = app.frame;
  if (frame.clockTick != nullptr) return;  // started, or tried once (until the frames stop)
  frame.clockTick = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  frame.clockRun = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  frame.clockStop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (frame.clockTick && frame.clockRun && frame.clockStop)
    frame.clockThread = CreateThread(nullptr, 0, CompositorClockMain, &app, 0, nullptr);
  WriteLog(L"[frames] the compositor's clock %s",
           frame.clockThread ? L"paces smooth frames" : L"is not available");
}

void StopCompositorClock(FrameDriverState& frame) {
  if (frame.clockThread != nullptr) {
    SetEvent(frame.clockStop);
    WaitForSingleObject(frame.clockThread, INFINITE);  // it waits at most a tick
    CloseHandle(frame.clockThread);
    frame.clockThread = nullptr;
  }
  for (HANDLE* event : {&frame.clockTick, &frame.clockRun, &frame.clockStop}) {
    if (*event != nullptr) CloseHandle(*event);
    *event = nullptr;
  }
  frame.onClock = false;
}

// Arms the frame timer for the next frame (not at all while resting).
void ArmFrameTimer(WallpaperApp& app) {
  FrameDriverState& frame = app.frame;
  if (frame.frameTimer == nullptr || frame.slowTicks || app.desktop.wallpaperWindow == nullptr) return;
  const int64_t delay = NextWakeDelay(frame.loop.pacer, MonotonicNanoseconds(), false);
  LARGE_INTEGER due;
  due.QuadPart = -std::max<int64_t>(delay / 100, 1);  // relative, in 100 ns units
  SetWaitableTimer(frame.frameTimer, &due, 0, nullptr, nullptr, FALSE);
}

// A 32-bit top-down DIB section of the window's client size in memoryDc. A
// failed DIB leaves backBufferBits null: frames are then drawn nowhere and
// presented not at all, until the next size change tries again.
void EnsureBackBuffer(WallpaperApp& app, int width, int height) {
  FrameDriverState& frame = app.frame;
  if (frame.backBufferWidth == width && frame.backBufferHeight == height) return;
  ReleaseBackBuffer(app);
  frame.backBufferWidth = width;
  frame.backBufferHeight = height;
  draw::DibSurface surface;
  if (!draw::CreateDibSurface(surface, width, height)) return;
  frame.memoryDc = surface.dc;
  frame.backBuffer = surface.bitmap;
  frame.previousBitmap = surface.previous;
  frame.backBufferBits = surface.pixels;
}

// The window's client area in screen pixels.
ScreenRect ClientOnScreen(HWND window) {
  RECT client = {};
  GetClientRect(window, &client);
  POINT origin = {0, 0};
  ClientToScreen(window, &origin);
  return {origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
}

// The monitors as the coverage check (at most a quarter of a second ago)
// found them, each with its scale.
std::vector<MonitorInfo> KnownMonitors(const Lifecycle& life) {
  std::vector<MonitorInfo> monitors;
  for (size_t i = 0; i < life.monitors.size(); ++i)
    monitors.push_back({life.monitors[i], i < life.monitorScales.size() ? life.monitorScales[i] : 1.0f});
  return monitors;
}

// A full-screen window in front: with one aquarium its pace slows; with
// several, the aquarium of its monitor rests and the others go on.
bool FollowFullScreen(WallpaperApp& app, const ScreenRect& client) {
  const ScreenRect* monitor = FullScreenMonitor(ReadForegroundWindow(app), app.lifecycle.monitors);
  ScreenRect inClient;
  if (monitor != nullptr)
    inClient = {monitor->left - client.left, monitor->top - client.top, monitor->right - client.left,
                monitor->bottom - client.top};
  std::vector<bool> before;
  for (const PlacedAquarium& a : app.aquariums.aquariums) before.push_back(a.underFullScreen);
  const bool slower = MarkFullScreen(app.aquariums, monitor ? &inClient : nullptr);
  for (size_t i = 0; i < before.size(); ++i) {
    const PlacedAquarium& a = app.aquariums.aquariums[i];
    if (a.underFullScreen == before[i]) continue;
    WriteLog(L"[rest] the aquarium at %d,%d: %s", a.place.rect.left, a.place.rect.top,
             a.underFullScreen ? L"a full-screen window on its monitor: frames stop" : L"frames resume");
  }
  return slower;
}

// What the system shows of the wallpaper now, over the window's client area
// `client` (screen pixels).
WakeInputs Observe(WallpaperApp& app, const ScreenRect& client) {
  WakeInputs wake;
  wake.now = MonotonicNanoseconds();
  wake.visibility = app.lifecycle.visibility;
  wake.reducedMotion = app.lifecycle.reducedMotion;
  wake.batterySaver = app.lifecycle.batterySaver;
  // The aquariums follow the monitors: decided again when the monitors, their
  // scales, the window or the settings changed.
  LayOutAquariums(app.aquariums, KnownMonitors(app.lifecycle), client, app.settings);
  wake.fullScreenInFront = FollowFullScreen(app, client);
  // Smooth frames follow the compositor where frames reach it (DirectComposition).
  if (app.presenter.kind == PresenterKind::kSurface) {
    StartCompositorClock(app);
    if (app.frame.clockThread != nullptr) {
      wake.compositorPeriod = CompositorPeriod(app);
      wake.compositorTick = app.frame.clockTicks.load(std::memory_order_relaxed);
    }
  }
  return wake;
}

// One run of the frame loop over the back buffer, one view per aquarium in
// its rectangle of it, and what it asks for done: the timers' rate, the
// window under the icons, the changed rectangles shown.
void Wake(WallpaperApp& app, const WakeInputs& wake, const ScreenRect& client) {
  HWND window = app.desktop.wallpaperWindow;
  FrameDriverState& frame = app.frame;
  const int width = client.Width(), height = client.Height();
  if (width > 0 && height > 0) EnsureBackBuffer(app, width, height);
  std::vector<ViewWake> views;
  // The DIB section's pixels are drawn straight into: nothing of GDI or GDI+
  // touches them in between, so there is nothing to flush. One hook hears the
  // whole desktop: each aquarium takes what lies over it.
  AquariumViews(app.aquariums, {frame.backBufferBits, width, height, width}, &app.desktop.pointerInbox,
                {client.left, client.top}, views);

  const WakeResult result = RunFrameLoop(frame.loop, app.settings, wake, views.data(), int(views.size()));
  if (result.onCompositorClock != frame.onClock && frame.clockRun != nullptr) {
    frame.onClock = result.onCompositorClock;
    // The clock thread ticks only while frames follow it: never at rest.
    if (frame.onClock) {
      SetEvent(frame.clockRun);
    } else {
      ResetEvent(frame.clockRun);
    }
    SetTickTimer(app, result.slowTicks, result.framePeriod);
  }
  if (result.slowTicks != frame.slowTicks || result.framePeriod != frame.tickPeriod)
    SetTickTimer(app, result.slowTicks, result.framePeriod);
  // The changed rectangles of every aquarium drawn, in the window's pixels.
  std::vector<draw::PixelRect>& changed = frame.changed;
  const bool whole = ChangedInWindow(app.aquariums, views.data(), int(views.size()), changed);
  bool clicked = false;
  for (const ViewWake& view : views) clicked = clicked || view.clicks > 0;
  if (clicked) PostMessageW(window, WM_WALLPAPER_RESTACK, 0, 0);
  if (result.viewsDrawn == 0) return;
  // (No periodic move to the bottom of the siblings: where the shell's layer
  // is Progman's child too, that would put the window under it.)
  HWND parent = GetParent(window);
  HWND icons = parent ? FindWindowExW(parent, nullptr, L"SHELLDLL_DefView", nullptr) : nullptr;
  if (icons != nullptr && GetWindow(window, GW_HWNDPREV) != icons)
    PlaceUnderDesktopIcons(window, SWP_NOREDRAW);
  const int64_t presentStart = MonotonicNanoseconds();
  const PresentCount count = PresentChanged(app, width, height, changed, whole);
  NoteFramesShown(frame.loop, count.copiedPixels, count.framePixels,
                  double(MonotonicNanoseconds() - presentStart) / 1e6);
}

}  // namespace

void ReleaseBackBuffer(WallpaperApp& app) {
  FrameDriverState& frame = app.frame;
  if (frame.memoryDc != nullptr) {
    SelectObject(frame.memoryDc, frame.previousBitmap);
    DeleteDC(frame.memoryDc);
    frame.memoryDc = nullptr;
  }
  if (frame.backBuffer != nullptr) {
    DeleteObject(frame.backBuffer);
    frame.backBuffer = nullptr;
  }
  frame.previousBitmap = nullptr;
  frame.backBufferBits = nullptr;
  frame.backBufferWidth = frame.backBufferHeight = 0;
  // The next buffer may lie where this one did: the loop must not take it
  // for the pixels it drew into.
  RequestFullFrame(app, FullFrameReason::kNewBuffer);
}

void StartFrames(WallpaperApp& app, bool frameTimer) {
  FrameDriverState& frame = app.frame;
  if (frame.frameTimer == nullptr && frameTimer) {
    // CREATE_WAITABLE_TIMER_HIGH_RESOLUTION; older systems refuse the flag.
    constexpr DWORD kHighResolution = 0x00000002;
    frame.frameTimer = CreateWaitableTimerExW(nullptr, nullptr, kHighResolution, TIMER_ALL_ACCESS);
    WriteLog(L"[frames] paced by %s", frame.frameTimer ? L"a high-resolution timer" : L"the window timer");
  }
  SetTickTimer(app, frame.slowTicks, frame.loop.framePeriod);
}

void StopFrames(WallpaperApp& app) {
  StopCompositorClock(app.frame);
  if (app.frame.frameTimer != nullptr) CloseHandle(app.frame.frameTimer);
  app.frame.frameTimer = nullptr;
}

void OnTimerTick(WallpaperApp& app) {
  if (app.desktop.wallpaperWindow == nullptr) return;
  UpdateCoverage(app);
  const ScreenRect client = ClientOnScreen(app.desktop.wallpaperWindow);
  Wake(app, Observe(app, client), client);
}

void OnWindowTimer(WallpaperApp& app) {
  FrameDriverState& frame = app.frame;
  const bool modal = OwnWakeUp(frame) && MonotonicNanoseconds() - frame.lastOwnWait > kModalAfterNanoseconds;
  if (modal && !frame.modalTicks) {
    frame.modalTicks = true;
    SetTickTimer(app, frame.slowTicks, frame.tickPeriod);
    WriteLog(L"[frames] a modal loop runs: the window timer paces frames");
  }
  OnTimerTick(app);
}

bool FramesWaitInTheLoop(const WallpaperApp& app) {
  return app.frame.frameTimer != nullptr || app.frame.clockThread != nullptr;
}

void WaitForFrameOrMessage(WallpaperApp& app) {
  FrameDriverState& frame = app.frame;
  if (frame.modalTicks) {
    frame.modalTicks = false;  // the program's own loop again: timer 1 is the watchdog
    SetTickTimer(app, frame.slowTicks, frame.tickPeriod);
  }
  const bool clock = frame.onClock && frame.clockThread != nullptr;
  if (!clock) ArmFrameTimer(app);
  HANDLE wake = clock ? frame.clockTick : frame.frameTimer;
  const DWORD woke =
      wake ? MsgWaitForMultipleObjectsEx(1, &wake, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE)
           : MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  frame.lastOwnWait = MonotonicNanoseconds();
  if (wake != nullptr && woke == WAIT_OBJECT_0) OnTimerTick(app);
}

void RenderFrame(WallpaperApp& app) {
  if (app.desktop.wallpaperWindow == nullptr) return;
  const ScreenRect client = ClientOnScreen(app.desktop.wallpaperWindow);
  WakeInputs wake = Observe(app, client);
  wake.visibility = VisibilityState();  // drawn whoever can see it
  app.frame.loop.pacer = FramePacer();  // due now
  Wake(app, wake, client);
}

void ShowWithFirstFrame(WallpaperApp& app) {
  HWND window = app.desktop.wallpaperWindow;
  RenderFrame(app);  // a DirectComposition visual takes it while the window is hidden
  ShowWindow(window, SW_SHOWNA);
  // A GDI copy reaches only a shown window: the same picture, now.
  ShowBackBuffer(app);
  ValidateRect(window, nullptr);
}

void ShowBackBuffer(WallpaperApp& app) {
  PresentFrame(app, app.frame.backBufferWidth, app.frame.backBufferHeight);
}

void RequestFullFrame(WallpaperApp& app, FullFrameReason reason) {
  for (PlacedAquarium& a : app.aquariums.aquariums) RequestFullFrame(a.view, reason);
}
