#include "common/window_class_win32.h"

#include "common/names_win32.h"

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
  if (style.dialogLook || style.arrowCursor) windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  if (style.dialogLook) windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  if (style.appIcon) windowClass.hIcon = windowClass.hIconSm = LoadIconW(instance, MAKEINTRESOURCEW(kAppIconResource));
  if (style.redrawOnResize) windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpszClassName = name;
  RegisterClassExW(&windowClass);
}

void SetAppWindowIcon(HWND window, HINSTANCE instance) {
  HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(kAppIconResource));
  if (icon == nullptr) return;
  SendMessageW(window, WM_SETICON, ICON_BIG, LPARAM(icon));
  SendMessageW(window, WM_SETICON, ICON_SMALL, LPARAM(icon));
}
