// Attaches to the desktop as Tidemere does (against the stand-in shell of
// the test that starts it), hides the shell's layer, then throws out of a
// frame: nothing catches it. The test checks that the layer is visible once
// this program is gone. Exit codes: 3 from the terminate handler; 2 when
// nothing was hidden, 4 when the hiding never took effect (the test would
// then prove nothing).
#include <windows.h>

#include <stdexcept>

#include "base/log.h"
#include "desktop/desktop_host_win32.h"
#include "desktop/frame_driver_win32.h"
#include "desktop/lifecycle_win32.h"
#include "desktop/wallpaper_window_win32.h"

namespace {

// A frame that fails the way a bug in the drawing would: after its work,
// with nothing to catch what it throws.
// NOTE: thrown here, not from a window or timer procedure: 64-bit Windows
// (and Wine) may swallow an exception that leaves a callback of the system.
[[noreturn]] void ThrowingFrame(WallpaperApp& app) {
  RenderFrame(app);
  throw std::runtime_error("a frame went wrong");
}

}  // namespace

int wmain() {
  debugLogging = true;
  static WallpaperApp app;
  app.instance = GetModuleHandleW(nullptr);
  InstallCrashFilter(app);
  FindDesktopHost(app);
  CreateWallpaperWindow(app);
  HWND layer = app.desktop.hiddenLayer;
  if (layer == nullptr) return 2;
  for (int i = 0; i < 250 && IsWindowVisible(layer); ++i) Sleep(20);
  if (IsWindowVisible(layer)) return 4;
  ThrowingFrame(app);
}
