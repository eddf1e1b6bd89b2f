// The frame driver: the 16 ms timer becomes frames. Each tick keeps the
// wallpaper window under the icons and decides whether to render; a frame
// steps the aquarium, puts the retained frame together in the back buffer's
// pixels (which keep the frame before) and hands the presenter what changed.
#include <windows.h>

#include <algorithm>

#include "base/log.h"
#include "base/program_path_win32.h"
#include "common/names_win32.h"
#include "desktop/desktop_win32.h"
#include "draw/gdiplus/gdiplus_graphics.h"
#include "policy/frame_pacing.h"
#include "scene/retained_scene.h"
#include "sim/simulation.h"

namespace {

ForegroundWindowInfo ReadForegroundWindow(const WallpaperApp& app) {
  ForegroundWindowInfo info;
  HWND window = GetForegroundWindow();
  if (window == nullptr) return info;
  info.exists = true;
  info.isOwnWindow = window == app.desktop.wallpaperWindow || window == app.ui.messageWindow;
  info.minimized = IsIconic(window) != FALSE;
  RECT rect;
  info.rectKnown = GetWindowRect(window, &rect) != FALSE;
  if (info.rectKnown) info.rect = {rect.left, rect.top, rect.right, rect.bottom};
  GetClassNameW(window, info.className, 64);
  return info;
}

// A 32-bit top-down DIB section of the window's client size in memoryDc.
void EnsureBackBuffer(WallpaperApp& app, int width, int height) {
  if (app.frame.memoryDc != nullptr && app.frame.backBufferWidth == width &&
      app.frame.backBufferHeight == height)
    return;
  ReleaseBackBuffer(app);
  app.frame.backBufferWidth = width;
  app.frame.backBufferHeight = height;

  // A failed DIB leaves backBufferBits null: frames are then drawn nowhere
  // and presented not at all, until the next size change tries again.
  draw::DibSurface surface;
  // New pixels: the next frame is drawn and shown whole.
  InvalidateRetainedScene(app.frame.retained);
  app.frame.presentAll = true;
  if (!draw::CreateDibSurface(surface, width, height)) return;
  app.frame.memoryDc = surface.dc;
  app.frame.backBuffer = surface.bitmap;
  app.frame.previousBitmap = surface.previous;
  app.frame.backBufferBits = surface.pixels;
}

}  // namespace

void ReleaseBackBuffer(WallpaperApp& app) {
  if (app.frame.memoryDc != nullptr) {
    SelectObject(app.frame.memoryDc, app.frame.previousBitmap);
    DeleteDC(app.frame.memoryDc);
    app.frame.memoryDc = nullptr;
  }
  if (app.frame.backBuffer != nullptr) {
    DeleteObject(app.frame.backBuffer);
    app.frame.backBuffer = nullptr;
  }
  app.frame.previousBitmap = nullptr;
  app.frame.backBufferBits = nullptr;
}

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

// Clicks and moves the hook thread heard since the last tick. While no moving
// frame is drawn nothing would step a burst's bubbles: clicks are dropped.
void TakePointerInput(WallpaperApp& app, bool still) {
  HWND window = app.desktop.wallpaperWindow;
  POINT origin = {0, 0};
  ClientToScreen(window, &origin);
  const int clicks = DeliverPointerInput(app.desktop.pointerInbox, app.aquarium, {origin.x, origin.y}, still);
  if (clicks > 0) {
    WriteLog(L"[pointer] %d click(s): bubbles released", clicks);
    PostMessageW(window, WM_WALLPAPER_RESTACK, 0, 0);
  }
}

}  // namespace

HANDLE CreateFrameTimer() {
  // CREATE_WAITABLE_TIMER_HIGH_RESOLUTION; older systems refuse the flag.
  constexpr DWORD kHighResolution = 0x00000002;
  return CreateWaitableTimerExW(nullptr, nullptr, kHighResolution, TIMER_ALL_ACCESS);
}

void SetTickTimer(WallpaperApp& app) {
  if (app.desktop.wallpaperWindow == nullptr) return;
  const bool pacesFrames = !app.lifecycle.slowTicks && app.frame.frameTimer == nullptr;
  SetTimer(app.desktop.wallpaperWindow, 1, pacesFrames ? TickMsFor(app.frame.framePeriod) : kRestTickMs,
           nullptr);
}

void ArmFrameTimer(WallpaperApp& app) {
  if (app.frame.frameTimer == nullptr || app.lifecycle.slowTicks || app.desktop.wallpaperWindow == nullptr) {
    return;
  }
  const int64_t delay = NextWakeDelay(app.frame.pacer, MonotonicNanoseconds(), false);
  LARGE_INTEGER due;
  due.QuadPart = -std::max<int64_t>(delay / 100, 1);  // relative, in 100 ns units
  SetWaitableTimer(app.frame.frameTimer, &due, 0, nullptr, nullptr, FALSE);
}

void OnTimerTick(WallpaperApp& app) {
  UpdateCoverage(app);
  const bool still = RestOrResume(app);
  TakePointerInput(app, still);
  if (still) return;

  HWND parent = GetParent(app.desktop.wallpaperWindow);
  HWND icons = parent ? FindWindowExW(parent, nullptr, L"SHELLDLL_DefView", nullptr) : nullptr;
  if (icons != nullptr && GetWindow(app.desktop.wallpaperWindow, GW_HWNDPREV) != icons) {
    PlaceUnderDesktopIcons(app.desktop.wallpaperWindow, SWP_NOREDRAW);
  }

  const bool fullScreen = IsFullScreenApplication(ReadForegroundWindow(app), GetSystemMetrics(SM_CXSCREEN),
                                                  GetSystemMetrics(SM_CYSCREEN));
  const int fpsMode = EffectiveFpsMode(app.settings.fpsMode, app.lifecycle.batterySaver);
  const int64_t period = FramePeriodNanoseconds(fullScreen, fpsMode);
  if (period != app.frame.framePeriod) {
    app.frame.framePeriod = period;
    SetTickTimer(app);
  }
  if (FrameDue(app.frame.pacer, MonotonicNanoseconds(), period)) RenderFrame(app);
}

void ShowWithFirstFrame(WallpaperApp& app) {
  HWND window = app.desktop.wallpaperWindow;
  RenderFrame(app);  // a DirectComposition visual takes it while the window is hidden
  ShowWindow(window, SW_SHOWNA);
  // A GDI copy reaches only a shown window: the same picture, now.
  PresentFrame(app, app.frame.backBufferWidth, app.frame.backBufferHeight);
  ValidateRect(window, nullptr);
}

void RenderFrame(WallpaperApp& app) {
  RECT client = {};
  GetClientRect(app.desktop.wallpaperWindow, &client);
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  if (width <= 0 || height <= 0) return;

  // (No periodic move to the bottom of the siblings: where the shell's layer
  // is Progman's child too, that would put the window under it.)
  ++app.frame.framesRendered;
  EnsureBackBuffer(app, width, height);

  const int64_t now = MonotonicNanoseconds();
  const float dt = ClampedFrameSeconds(now, app.frame.lastFrameTime);
  app.frame.lastFrameTime = now;
  app.aquarium.elapsed += dt;
  // A new aquarium (theme chosen, settings applied) is drawn and shown whole.
  if (!app.aquarium.populated) {
    InvalidateRetainedScene(app.frame.retained);
    app.frame.presentAll = true;
  }
  StepAquarium(app.aquarium, app.settings, dt, width, height);

  // The DIB section's pixels are drawn straight into: nothing of GDI or GDI+
  // touches them in between, so there is nothing to flush.
  RetainedScene& retained = app.frame.retained;
  retained.damage.clear();
  if (app.frame.backBufferBits != nullptr) {
    if (app.settings.theme >= 1 && app.settings.theme <= 6) {
      RenderSceneRetained(app.aquarium, app.settings.theme, {app.frame.backBufferBits, width, height, width},
                          retained);
    }
    if (app.frame.framesRendered % 100 == 0) {
      WriteLog(L"[diag] frame=%d GDI+ status=%d fish=%zu", app.frame.framesRendered, retained.stats.status,
               app.aquarium.creatures.size());
    }
  }
  const int64_t drawn = MonotonicNanoseconds();
  PresentChanged(app, width, height, retained.damage);
  app.frame.drawMs += double(drawn - now) / 1e6;
  app.frame.presentMs += double(MonotonicNanoseconds() - drawn) / 1e6;

  // What a frame costs this machine, for a user's report: step, scene and present.
  const double costMs = double(MonotonicNanoseconds() - now) / 1e6;
  FrameCostReport report;
  if (debugLogging && RecordFrameCost(app.frame.frameCosts, now, costMs, report)) {
    WriteLog(L"[diag] render ms median=%.2f max=%.2f fps=%.1f", report.medianMs, report.maxMs, report.fps);
    // The share of the window's pixels the presenter copied, over the same frames.
    const double share = app.frame.framePixels > 0 ? 100 * app.frame.copiedPixels / app.frame.framePixels : 0;
    WriteLog(L"[diag] copied %.1f%% of the frame, mean ms step+draw %.2f present %.2f, kept layers %.1f MB",
             share, app.frame.drawMs / FrameCostWindow::kFrames,
             app.frame.presentMs / FrameCostWindow::kFrames, double(RetainedSceneBytes(retained)) / 1e6);
    app.frame.copiedPixels = app.frame.framePixels = app.frame.drawMs = app.frame.presentMs = 0;
  }
}
