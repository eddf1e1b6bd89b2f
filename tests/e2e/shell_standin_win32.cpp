// A stand-in for the Windows shell's desktop windows, for the end-to-end
// checks under Wine (which has no "Progman"):
//   tidemere-shell-standin run READYFILE   owns "Progman" with a
//       "SHELLDLL_DefView" child and an empty "WorkerW" child until closed
//   tidemere-shell-standin query [FILE]    prints (and writes to FILE) where
//       "WavescreenWnd" is and whether the stand-in's "WorkerW" is hidden,
//       visible, or covered (visible, directly under "WavescreenWnd")
#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "common/names_win32.h"

namespace {

LRESULT CALLBACK ShellWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterShellClass(const wchar_t* name) {
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = ShellWndProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = name;
  RegisterClassExW(&windowClass);
}

int RunShell(const wchar_t* readyFile) {
  RegisterShellClass(L"Progman");
  RegisterShellClass(L"SHELLDLL_DefView");
  RegisterShellClass(L"WorkerW");
  HINSTANCE instance = GetModuleHandleW(nullptr);
  HWND progman = CreateWindowExW(0, L"Progman", L"Program Manager", WS_POPUP | WS_VISIBLE, 0, 0, 320, 200,
                                 nullptr, nullptr, instance, nullptr);
  CreateWindowExW(0, L"SHELLDLL_DefView", L"", WS_CHILD | WS_VISIBLE, 0, 0, 320, 200, progman, nullptr,
                  instance, nullptr);
  CreateWindowExW(0, L"WorkerW", L"", WS_CHILD | WS_VISIBLE, 0, 0, 320, 200, progman, nullptr, instance,
                  nullptr);
  // As Explorer does when its taskbar starts: programs put their tray icons back.
  PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  FILE* ready = _wfopen(readyFile, L"w");
  if (ready != nullptr) {
    std::fputs("ready\n", ready);
    std::fclose(ready);
  }
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}

int Query(const wchar_t* outFile) {
  HWND progman = FindWindowW(L"Progman", nullptr);
  HWND child = progman ? FindWindowExW(progman, nullptr, kWallpaperWindowClass, nullptr) : nullptr;
  HWND topLevel = FindWindowW(kWallpaperWindowClass, nullptr);
  const char* wallpaper = child      ? "child-of-progman"
                          : topLevel ? (GetParent(topLevel) ? "other" : "toplevel")
                                     : "none";
  HWND worker = progman ? FindWindowExW(progman, nullptr, L"WorkerW", nullptr) : nullptr;
  const char* layer = !worker                                            ? "none"
                      : !IsWindowVisible(worker)                         ? "hidden"
                      : child && GetWindow(child, GW_HWNDNEXT) == worker ? "covered"
                                                                         : "visible";
  std::printf("wallpaper=%s workerw=%s\n", wallpaper, layer);
  if (outFile != nullptr) {
    FILE* out = _wfopen(outFile, L"w");
    if (out == nullptr) return 1;
    std::fprintf(out, "wallpaper=%s workerw=%s\n", wallpaper, layer);
    std::fclose(out);
  }
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc >= 3 && std::wcscmp(argv[1], L"run") == 0) return RunShell(argv[2]);
  if (argc >= 2 && std::wcscmp(argv[1], L"query") == 0) return Query(argc >= 3 ? argv[2] : nullptr);
  if (argc >= 2 && std::wcscmp(argv[1], L"close") == 0) {
    HWND progman = FindWindowW(L"Progman", nullptr);
    if (progman) PostMessageW(progman, WM_CLOSE, 0, 0);
    return progman ? 0 : 1;
  }
  std::fputs("usage: tidemere-shell-standin run READYFILE | query [FILE] | close\n", stderr);
  return 2;
}
