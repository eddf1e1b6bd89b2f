#include "ui/dpi_win32.h"

namespace {

int SystemDpi() {
  HDC screen = GetDC(nullptr);
  int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

template <typename Function>
Function Lookup(HMODULE module, const char* name) {
  if (module == nullptr) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

int WindowDpi(HWND window) {
  // Windows 10 1607 and later.
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow =
      Lookup<GetDpiForWindowFunction>(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow");
  if (getDpiForWindow != nullptr && window != nullptr) {
    UINT dpi = getDpiForWindow(window);
    if (dpi != 0) return int(dpi);
  }
  return SystemDpi();
}

int PrimaryMonitorDpi() {
  // Windows 8.1 and later, in shcore.dll, which the program does not import.
  using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  static const auto getDpiForMonitor = Lookup<GetDpiForMonitorFunction>(
      LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32), "GetDpiForMonitor");
  if (getDpiForMonitor != nullptr) {
    HMONITOR primary = MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    UINT dpiX = 0, dpiY = 0;
    if (SUCCEEDED(getDpiForMonitor(primary, 0 /* MDT_EFFECTIVE_DPI */, &dpiX, &dpiY)) && dpiY != 0) {
      return int(dpiY);
    }
  }
  return SystemDpi();
}

ScreenRect PrimaryWorkArea() {
  MONITORINFO info = {};
  info.cbSize = sizeof(info);
  if (GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info)) {
    return {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
  }
  return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

int SystemMetricForDpi(int index, int dpi) {
  // Windows 10 1607 and later.
  using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
  static const auto forDpi =
      Lookup<GetSystemMetricsForDpiFunction>(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi");
  if (forDpi != nullptr) return forDpi(index, UINT(dpi));
  return MulDiv(GetSystemMetrics(index), dpi, SystemDpi());
}
