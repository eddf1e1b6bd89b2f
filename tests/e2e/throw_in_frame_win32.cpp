// Attaches to the desktop as Tidemere does (against the stand-in shell of
// the test that starts it), hides the shell's layer, then throws out of a
// frame: nothing catches it. The test checks that the layer is visible once
// this program is gone. Exit codes: 3 from the terminate handler; 2 when
// nothing was hidden, 4 when the hiding never took effect (the test would
// then prove nothing).
#include <windows.h>

#include <stdexcept>

#include "base/log.h"
#include "desktop/desktop_win32.h"

namespace {

WallpaperApp* running = nullptr;

void CALLBACK ThrowingFrame(HWND, UINT, UINT_PTR, DWORD) {
  RenderFrame(*running);
  throw std::runtime_error("a frame went wrong");
}

}  // namespace

int wmain() {
  debugLogging = true;
  static WallpaperApp app;
  running = &app;
  app.instance = GetModuleHandleW(nullptr);
  InstallCrashFilter(app);
  FindDesktopHost(app);
  CreateWallpaperWindow(app);
  HWND layer = app.desktop.hiddenLayer;
  if (layer == nullptr) return 2;
  for (int i = 0; i < 250 && IsWindowVisible(layer); ++i) Sleep(20);
  if (IsWindowVisible(layer)) return 4;
  SetTimer(app.desktop.wallpaperWindow, 7, 10, ThrowingFrame);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}
