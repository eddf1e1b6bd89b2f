#include "ui/window_class_win32.h"

#include "ui/ui_win32.h"

void RegisterWindowClassOnce(const wchar_t* name, WNDPROC procedure, HINSTANCE instance,
                             WindowClassStyle style) {
  WNDCLASSEXW existing = {};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(instance, name, &existing)) return;
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = procedure;
  windowClass.cbWndExtra = style.windowExtraBytes;
  windowClass.hInstance = instance;
  if (style.dialogLook) {
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  }
  windowClass.lpszClassName = name;
  RegisterClassExW(&windowClass);
}

WallpaperApp* AttachApplication(HWND window, LPARAM createStruct, bool withIcon) {
  auto* app = static_cast<WallpaperApp*>(reinterpret_cast<CREATESTRUCTW*>(createStruct)->lpCreateParams);
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(app));
  if (app != nullptr && withIcon) {
    HICON icon = LoadIconW(app->instance, MAKEINTRESOURCEW(kAppIconResource));
    if (icon != nullptr) {
      SendMessageW(window, WM_SETICON, ICON_BIG, LPARAM(icon));
      SendMessageW(window, WM_SETICON, ICON_SMALL, LPARAM(icon));
    }
  }
  return app;
}
