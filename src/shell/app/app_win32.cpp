#include <windows.h>
// after windows.h, which they build on
#include <gdiplus.h>
#include <shellapi.h>

#include "app/wallpaper_app_win32.h"
#include "base/log.h"
#include "desktop/desktop_win32.h"
#include "settings/settings_win32.h"
#include "ui/ui_win32.h"

WallpaperApp* hookApp = nullptr;
ULONG_PTR gdiplusToken = 0;

int Run(WallpaperApp& app) {
  RestoreWallpaperLayer(app);
  FindDesktopHost(app);
  CreateWallpaperWindow(app);
  if (app.wallpaperWindow == nullptr) {
    WriteLog(L"窗口创建失败，退出");
    return 1;
  }

  const UINT modifiers = MOD_CONTROL | MOD_SHIFT;
  BOOL key1 = RegisterHotKey(nullptr, 1, modifiers, 0x31);
  BOOL key2 = RegisterHotKey(nullptr, 2, modifiers, 0x32);
  BOOL key3 = RegisterHotKey(nullptr, 3, modifiers, 0x33);
  BOOL key0 = RegisterHotKey(nullptr, 4, modifiers, 0x30);
  DWORD error = GetLastError();
  WriteLog(L"热键注册(Ctrl+Shift,hWnd=NULL) 1=%d 2=%d 3=%d 0=%d (err=%lu)", key1, key2, key3, key0, error);
  if (!key1 || !key2 || !key3 || !key0) {
    WriteLog(L"警告：部分热键注册失败，可能被其他程序占用，请关闭占用程序后重试");
  }

  WNDCLASSEXW messageClass = {};
  messageClass.cbSize = sizeof(messageClass);
  messageClass.lpfnWndProc = MessageWndProc;
  messageClass.hInstance = app.instance;
  messageClass.lpszClassName = L"WavescreenMsgWnd";
  RegisterClassExW(&messageClass);
  app.messageWindow =
      CreateWindowExW(0, L"WavescreenMsgWnd", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, app.instance, &app);
  WriteLog(L"消息窗口创建 hwnd=0x%p", app.messageWindow);
  CreateNotifyWindow(app);

  CreateTray(app);
  StartLifecycle(app);
  SetTimer(app.wallpaperWindow, 1, 16, nullptr);
  app.lastFrameTime = MonotonicNanoseconds();
  return RunMessageLoop(app, GetMessageW);
}

int RunMessageLoop(WallpaperApp& app, GetMessageFunction getMessage) {
  MSG message = {};
  for (;;) {
    const BOOL got = getMessage(&message, nullptr, 0, 0);
    if (got == 0) return int(message.wParam);
    if (got == -1) {
      // No message to act on: clean up as for an exit and say why.
      WriteLog(L"GetMessageW failed err=%lu, exiting", GetLastError());
      RequestExit(app);
      return kMessageLoopFailed;
    }
    if (message.message == WM_HOTKEY) {
      // Thread hot keys arrive without a window: handle them here.
      WriteLog(L"[loop] WM_HOTKEY id=%d hwnd=0x%p", int(message.wParam), message.hwnd);
      OnHotkey(app, unsigned(message.wParam));
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void OnHotkey(WallpaperApp& app, unsigned id) {
  WriteLog(L"OnHotkey id=%d", int(id));
  if (id >= 1 && id <= 3) {
    SetEffect(app, int(id));
  } else if (id == 4) {
    WriteLog(L"热键退出");
    RequestExit(app);
  }
}

void SetEffect(WallpaperApp& app, int newTheme) {
  WriteLog(L"SetEffect called: old=%d new=%d", app.settings.theme, newTheme);
  if (newTheme == app.settings.theme) return;
  app.settings.theme = newTheme;
  WriteLog(L"切换效果 -> %d", newTheme);
  SaveSettings(app.settings);
  app.aquarium.populated = false;
}

void RequestExit(WallpaperApp& app) {
  app.lifecycle.exitRequested = true;
  if (app.mouseHook != nullptr) {
    UnhookWindowsHookEx(app.mouseHook);
    app.mouseHook = nullptr;
  }
  hookApp = nullptr;
  if (app.trayAdded) {
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof(data);
    data.hWnd = app.messageWindow;
    data.uID = 1;
    Shell_NotifyIconW(NIM_DELETE, &data);
    app.trayAdded = false;
    WriteLog(L"托盘图标已移除");
    if (app.trayMenu != nullptr) {
      DestroyMenu(app.trayMenu);
      app.trayMenu = nullptr;
    }
    // Loaded from the resource by LoadIconW: shared, so released, not destroyed.
    app.trayIcon = nullptr;
  }
  if (app.messageWindow != nullptr) {
    DestroyWindow(app.messageWindow);
    app.messageWindow = nullptr;
  }
  StopLifecycle(app);
  if (app.notifyWindow != nullptr) {
    DestroyWindow(app.notifyWindow);
    app.notifyWindow = nullptr;
  }
  RestoreWallpaperLayer(app);
  // Its WM_DESTROY posts WM_QUIT, which ends the loop of Run.
  if (app.wallpaperWindow != nullptr) {
    DestroyWindow(app.wallpaperWindow);
  } else {
    PostQuitMessage(0);  // waiting for the shell: no window to end the loop
  }
}

void ReleaseAll(WallpaperApp& app) {
  RestoreWallpaperLayer(app);
  ReleaseComposition(app);
  ReleaseBackBuffer(app);
  if (gdiplusToken != 0) {
    Gdiplus::GdiplusShutdown(gdiplusToken);
    gdiplusToken = 0;
  }
  app.aquarium.starfish.clear();
  app.aquarium.corals.clear();
  app.aquarium.lightRays.clear();
  app.aquarium.plants.clear();
  app.aquarium.bubbles.clear();
  app.aquarium.creatures.clear();
  app.aquarium.starfish.shrink_to_fit();
  app.aquarium.corals.shrink_to_fit();
  app.aquarium.lightRays.shrink_to_fit();
  app.aquarium.plants.shrink_to_fit();
  app.aquarium.bubbles.shrink_to_fit();
  app.aquarium.creatures.shrink_to_fit();
}
