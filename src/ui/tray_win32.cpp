#include "ui/ui_win32.h"

// The tray icon, its menu and the mouse hook arrive with the user interface;
// until then the program runs on its hot keys alone.
void CreateTray(WallpaperApp&) {}

LRESULT CALLBACK MessageWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}
