#include "base/log.h"
#include "common/globals_win32.h"
#include "common/names_win32.h"
#include "desktop/desktop_win32.h"
#include "sim/simulation.h"

LRESULT CALLBACK MouseHookProc(int code, WPARAM wParam, LPARAM lParam) {
  WallpaperApp* app = hookApp;
  HWND window = app != nullptr ? app->desktop.wallpaperWindow : nullptr;
  if (code >= 0 && window != nullptr) {
    const auto* event = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
    // Events over any window count: the wallpaper lies under everything.
    POINT point = event->pt;
    ScreenToClient(window, &point);
    if (wParam == WM_MOUSEMOVE) {
      RecordPointerMove(app->aquarium, float(point.x), float(point.y));
    } else if (wParam == WM_LBUTTONDOWN) {
      AddClickBurst(app->aquarium, float(point.x), float(point.y));
      PostMessageW(window, WM_WALLPAPER_RESTACK, 0, 0);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void InstallPointerHook(WallpaperApp& app) {
  hookApp = &app;
  if (app.desktop.mouseHook == nullptr)
    app.desktop.mouseHook = SetWindowsHookExW(WH_MOUSE_LL, MouseHookProc, app.instance, 0);
  WriteLog(L"鼠标钩子安装: %p", app.desktop.mouseHook);
}

void RemovePointerHook(WallpaperApp& app) {
  if (app.desktop.mouseHook != nullptr) {
    UnhookWindowsHookEx(app.desktop.mouseHook);
    app.desktop.mouseHook = nullptr;
  }
  hookApp = nullptr;
}
