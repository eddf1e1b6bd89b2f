#include "base/log.h"
#include "desktop/pointer_hook_win32.h"
#include "ui/ui_win32.h"

// The tray icon and its menu arrive with the user interface; the pointer
// hook is installed now.
void CreateTray(WallpaperApp& app) {
  if (app.trayAdded) return;
  hookApp = &app;
  app.mouseHook = SetWindowsHookExW(WH_MOUSE_LL, MouseHookProc, GetModuleHandleW(nullptr), 0);
  WriteLog(L"鼠标钩子安装: %p", app.mouseHook);
}

LRESULT CALLBACK MessageWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}
