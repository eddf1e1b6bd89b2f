#include "app/screensaver_win32.h"

#include <windows.h>
// after windows.h, which it builds on
#include <windowsx.h>

#include <ctime>

#include "app/app_win32.h"
#include "base/log.h"
#include "base/log_win32.h"
#include "base/program_path_win32.h"
#include "common/names_win32.h"
#include "common/window_class_win32.h"
#include "desktop/desktop_host_win32.h"
#include "desktop/frame_driver_win32.h"
#include "desktop/lifecycle_win32.h"
#include "desktop/presenter_win32.h"
#include "settings/settings_win32.h"
#include "sim/random.h"
#include "ui/ui_win32.h"

namespace {

void End(Screensaver& saver, const wchar_t* why) {
  WriteLog(L"[saver] %s: ending", why);
  DestroyWindow(saver.app.desktop.wallpaperWindow);
}

// The window's frames come from the wallpaper's frame driver; the rest of it
// is what ends a full-screen screensaver.
bool HandleFullScreenInput(Screensaver& saver, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETCURSOR:
      SetCursor(nullptr);
      return true;
    case WM_MOUSEMOVE:
      if (MouseMoveEndsScreensaver(saver.mouse, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))) {
        End(saver, L"the mouse moved");
      }
      return true;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      End(saver, L"a key");
      return true;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
    case WM_MOUSEWHEEL:
      End(saver, L"a mouse button");
      return true;
    case WM_ACTIVATEAPP:
      if (!wParam) End(saver, L"another program is active");
      return true;
    case WM_SYSCOMMAND:
      // Never ends on its own, nor starts itself again.
      return wParam == SC_SCREENSAVE || wParam == SC_CLOSE;
    default:
      return false;
  }
}

// The window of the screensaver: made hidden, shown with its first frame.
HWND CreateSaverWindow(Screensaver& saver, DWORD exStyle, DWORD style, const RECT& rect, HWND parent) {
  WallpaperApp& app = saver.app;
  RegisterWindowClassOnce(kScreensaverWindowClass, ScreensaverWndProc, app.instance, {0, false});
  HWND window =
      CreateWindowExW(exStyle, kScreensaverWindowClass, L"Tidemere", style, rect.left, rect.top,
                      rect.right - rect.left, rect.bottom - rect.top, parent, nullptr, app.instance, &saver);
  if (window == nullptr) {
    WriteLog(L"[saver] window not made error=%lu", GetLastError());
    return nullptr;
  }
  app.desktop.wallpaperWindow = window;
  StartPresenter(app, rect.right - rect.left, rect.bottom - rect.top);
  ShowWithFirstFrame(app);
  // It rests as the wallpaper does (display off, locked, suspending; a
  // preview also while its dialog is hidden), but follows no shell.
  app.lifecycle.followsShell = false;
  CreateNotifyWindow(app);
  StartLifecycle(app);
  return window;
}

int RunUntilClosed(WallpaperApp& app) {
  const int result = RunMessageLoop(app, GetMessageW);
  BeginExit(app);  // the notifications and the broadcast window
  StopFrames(app);
  ReleaseAll(app);
  return result;
}

int RunFullScreen(Screensaver& saver) {
  // One full-screen screensaver at a time; a second one has nothing to do.
  HANDLE mutex = CreateMutexW(nullptr, TRUE, kScreensaverMutex);
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    WriteLog(L"[saver] already running full screen");
    if (mutex != nullptr) CloseHandle(mutex);
    return 0;
  }
  int result = 1;
  if (HWND window = StartFullScreenSaver(saver)) {
    RECT rect;
    GetWindowRect(window, &rect);
    WriteLog(L"[saver] full screen %dx%d", int(rect.right - rect.left), int(rect.bottom - rect.top));
    StartFrames(saver.app);
    result = RunUntilClosed(saver.app);
    ShowCursor(TRUE);
  }
  if (mutex != nullptr) CloseHandle(mutex);
  return result;
}

int RunPreview(Screensaver& saver, HWND parent) {
  if (StartPreview(saver, parent) == nullptr) return 1;
  WriteLog(L"[saver] preview in 0x%p", parent);
  StartFrames(saver.app);
  return RunUntilClosed(saver.app);
}

SaveResult SaveSettingsOfWindow(WallpaperApp& app) {
  return SaveAndLog(app.settings);
}

void EndWithWindow(WallpaperApp&) {
  PostQuitMessage(0);
}

int RunConfigure(Screensaver& saver, HWND owner) {
  WallpaperApp& app = saver.app;
  app.requests.settingsApplied = SaveSettingsOfWindow;
  app.requests.settingsClosed = EndWithWindow;
  OpenSettingsWindow(app, owner != nullptr ? owner : GetForegroundWindow());
  if (app.ui.settingsWindow == nullptr) return 1;
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

// The settings folder: a screensaver may live where it cannot write.
std::wstring SettingsFolderFile(const wchar_t* name) {
  std::wstring path = GetSettingsPath();
  return path.substr(0, path.find_last_of(L'\\') + 1) + name;
}

}  // namespace

HWND StartFullScreenSaver(Screensaver& saver) {
  saver.fullScreen = true;
  HWND window =
      CreateSaverWindow(saver, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, WS_POPUP, VirtualScreenRect(), nullptr);
  if (window == nullptr) return nullptr;
  SetForegroundWindow(window);
  SetFocus(window);
  ShowCursor(FALSE);
  return window;
}

HWND StartPreview(Screensaver& saver, HWND parent) {
  if (parent == nullptr || !IsWindow(parent)) {
    WriteLog(L"[saver] no window to preview in");
    return nullptr;
  }
  saver.fullScreen = false;
  saver.app.settings.fpsMode = kFpsPowerSaver;  // a small picture beside other controls
  RECT client = {};
  GetClientRect(parent, &client);
  return CreateSaverWindow(saver, WS_EX_NOACTIVATE, WS_CHILD, client, parent);
}

LRESULT CALLBACK ScreensaverWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Screensaver* saver = WindowOwner<Screensaver>(window, message, lParam);
  if (saver == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  WallpaperApp& app = saver->app;
  if (saver->fullScreen && HandleFullScreenInput(*saver, message, wParam, lParam)) return 0;
  switch (message) {
    case WM_TIMER:
      OnWindowTimer(app);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(window, &paint);
      ShowBackBuffer(app);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;  // a preview takes no focus
    case WM_DESTROY:
      // Also when the preview's parent goes: the screensaver ends with it.
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      app.desktop.wallpaperWindow = nullptr;
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

int RunScreensaver(HINSTANCE instance, const SaverArguments& arguments) {
  debugLogging = arguments.debug;
  SetLogFilePath(SettingsFolderFile(L"Tidemere.log"));
  WriteLog(L"[saver] mode %d window %llu", int(arguments.mode), (unsigned long long)arguments.window);
  if (arguments.mode == SaverMode::kPassword) return 0;

  static Screensaver saver;  // one per process; windows keep a pointer to it
  saver.app.instance = instance;
  LoadSettings(saver.app.settings);
  SeedRandom(unsigned(std::time(nullptr)));
  HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(arguments.window));
  switch (arguments.mode) {
    case SaverMode::kFullScreen:
      return RunFullScreen(saver);
    case SaverMode::kPreview:
      return RunPreview(saver, window);
    case SaverMode::kConfigure:
      return RunConfigure(saver, window);
    default:
      return 0;
  }
}
