#include "desktop/pointer_hook_win32.h"

#include "app/wallpaper_app_win32.h"
#include "sim/simulation.h"

LRESULT CALLBACK MouseHookProc(int code, WPARAM wParam, LPARAM lParam) {
  WallpaperApp* app = hookApp;
  if (code >= 0 && app != nullptr && app->wallpaperWindow != nullptr) {
    const auto* event = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
    // Events over any window count: the wallpaper lies under everything.
    POINT point = event->pt;
    ScreenToClient(app->wallpaperWindow, &point);
    if (wParam == WM_MOUSEMOVE) {
      RecordPointerMove(app->aquarium, float(point.x), float(point.y));
    } else if (wParam == WM_LBUTTONDOWN) {
      AddClickBurst(app->aquarium, float(point.x), float(point.y));
      PostMessageW(app->wallpaperWindow, WM_WALLPAPER_RESTACK, 0, 0);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
