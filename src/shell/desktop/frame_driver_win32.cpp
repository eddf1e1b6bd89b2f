// The frame driver: the 16 ms timer becomes frames. Each tick keeps the
// wallpaper window under the icons and decides whether to render; a frame
// steps the aquarium, draws the scene into the back buffer with GDI+ and
// hands it to the presenter.
#include <windows.h>

#include "base/log.h"
#include "desktop/desktop_win32.h"
#include "desktop/frame_pacing.h"
#include "draw/gdiplus/gdiplus_graphics.h"
#include "scene/scene.h"
#include "sim/simulation.h"

namespace {

// Calls of RenderFrame past the size check: for the periodic re-stacking and
// for the diagnostic line.
int frameCounter = 0;
int diagFrameCounter = 0;
FrameCostWindow frameCosts;

ForegroundWindowInfo ReadForegroundWindow(const WallpaperApp& app) {
  ForegroundWindowInfo info;
  HWND window = GetForegroundWindow();
  if (window == nullptr) return info;
  info.exists = true;
  info.isOwnWindow = window == app.wallpaperWindow || window == app.messageWindow;
  info.minimized = IsIconic(window) != FALSE;
  RECT rect;
  info.rectKnown = GetWindowRect(window, &rect) != FALSE;
  if (info.rectKnown) info.rect = {rect.left, rect.top, rect.right, rect.bottom};
  GetClassNameW(window, info.className, 64);
  return info;
}

// A 32-bit top-down DIB section of the window's client size in memoryDc.
void EnsureBackBuffer(WallpaperApp& app, int width, int height) {
  if (app.memoryDc != nullptr && app.backBufferWidth == width && app.backBufferHeight == height) return;
  ReleaseBackBuffer(app);
  app.backBufferWidth = width;
  app.backBufferHeight = height;

  // A failed DIB leaves backBufferBits null: frames are then drawn nowhere
  // and presented not at all, until the next size change tries again.
  draw::DibSurface surface;
  if (!draw::CreateDibSurface(surface, width, height)) return;
  app.memoryDc = surface.dc;
  app.backBuffer = surface.bitmap;
  app.previousBitmap = surface.previous;
  app.backBufferBits = surface.pixels;
}

}  // namespace

int FramesRendered() {
  return diagFrameCounter;
}

void ReleaseBackBuffer(WallpaperApp& app) {
  if (app.memoryDc != nullptr) {
    SelectObject(app.memoryDc, app.previousBitmap);
    DeleteDC(app.memoryDc);
    app.memoryDc = nullptr;
  }
  if (app.backBuffer != nullptr) {
    DeleteObject(app.backBuffer);
    app.backBuffer = nullptr;
  }
  app.previousBitmap = nullptr;
  app.backBufferBits = nullptr;
}

void OnTimerTick(WallpaperApp& app) {
  UpdateCoverage(app);
  if (RestOrResume(app)) return;

  HWND parent = GetParent(app.wallpaperWindow);
  HWND icons = parent ? FindWindowExW(parent, nullptr, L"SHELLDLL_DefView", nullptr) : nullptr;
  if (icons != nullptr && GetWindow(app.wallpaperWindow, GW_HWNDPREV) != icons) {
    PlaceUnderDesktopIcons(app.wallpaperWindow, SWP_NOREDRAW);
  }

  const bool fullScreen = IsFullScreenApplication(ReadForegroundWindow(app), GetSystemMetrics(SM_CXSCREEN),
                                                  GetSystemMetrics(SM_CYSCREEN));
  const int fpsMode = EffectiveFpsMode(app.settings.fpsMode, app.lifecycle.batterySaver);
  if (PaceTick(app.tickCounter, fullScreen, fpsMode)) RenderFrame(app);
}

void RenderFrame(WallpaperApp& app) {
  RECT client = {};
  GetClientRect(app.wallpaperWindow, &client);
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  if (width <= 0 || height <= 0) return;

  if (++frameCounter % 60 == 0) {
    SetWindowPos(app.wallpaperWindow, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  }
  EnsureBackBuffer(app, width, height);

  const int64_t now = MonotonicNanoseconds();
  const float dt = ClampedFrameSeconds(now, app.lastFrameTime);
  app.lastFrameTime = now;
  app.aquarium.elapsed += dt;
  StepAquarium(app.aquarium, app.settings, dt, width, height);

  {
    draw::Graphics graphics = draw::MakeGdiplusGraphics(app.memoryDc);
    if (app.settings.theme >= 1 && app.settings.theme <= 6) {
      RenderScene(app.aquarium, app.settings.theme, graphics, width, height, app.sceneCache);
    }
    if (++diagFrameCounter % 100 == 0) {
      WriteLog(L"[diag] frame=%d GDI+ status=%d fish=%zu", diagFrameCounter, graphics.lastStatus,
               app.aquarium.creatures.size());
    }
  }
  PresentFrame(app, width, height);

  // What a frame costs this machine, for a user's report: step, scene and present.
  const double costMs = double(MonotonicNanoseconds() - now) / 1e6;
  FrameCostReport report;
  if (debugLogging && RecordFrameCost(frameCosts, now, costMs, report)) {
    WriteLog(L"[diag] render ms median=%.2f max=%.2f fps=%.1f", report.medianMs, report.maxMs, report.fps);
  }
}
