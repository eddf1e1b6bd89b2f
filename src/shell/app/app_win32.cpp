#include "app/app_win32.h"

#include <windows.h>
// after windows.h, which it builds on
#include <gdiplus.h>

#include <vector>

#include "base/log.h"
#include "base/system_message_win32.h"
#include "common/names_win32.h"
#include "desktop/desktop_host_win32.h"
#include "desktop/frame_driver_win32.h"
#include "desktop/lifecycle_win32.h"
#include "desktop/pointer_hook_win32.h"
#include "desktop/presenter_win32.h"
#include "desktop/wallpaper_window_win32.h"
#include "policy/tray_menu.h"
#include "settings/settings_win32.h"
#include "ui/ui_win32.h"

namespace {

SaveResult ApplySettings(WallpaperApp& app) {
  const SaveResult saved = SaveAndLog(app.settings);
  app.aquarium.populated = false;
  return saved;
}

}  // namespace

SaveResult SaveAndLog(const Settings& settings) {
  const SaveResult saved = SaveSettings(settings);
  if (!saved.ok) {
    WriteLog(L"[settings] saving %s failed: error %lu (%s)", GetSettingsPath().c_str(), saved.error,
             SystemMessage(saved.error).c_str());
  }
  return saved;
}

void WireRequests(WallpaperApp& app) {
  app.requests.hotkeyPressed = OnHotkey;
  app.requests.themeChosen = SetEffect;
  app.requests.exitAsked = RequestExit;
  app.requests.settingsApplied = ApplySettings;
  app.requests.shellBack = AddTrayIcon;
}

HWND FindRunningWallpaperWindow() {
  // NOTE: FindWindow searches only top-level windows; the wallpaper window is
  // Progman's child, and top level only where there was no shell.
  HWND progman = FindWindowW(L"Progman", nullptr);
  HWND child = progman ? FindWindowExW(progman, nullptr, kWallpaperWindowClass, nullptr) : nullptr;
  return child ? child : FindWindowW(kWallpaperWindowClass, nullptr);
}

bool AnInstanceRuns() {
  // The message-only window lives as long as the instance, attached or not
  // (only FindWindowEx with HWND_MESSAGE finds it).
  return FindRunningWallpaperWindow() != nullptr ||
         FindWindowExW(HWND_MESSAGE, nullptr, kMessageWindowClass, nullptr) != nullptr;
}

int Run(WallpaperApp& app) {
  WireRequests(app);
  RestoreLayerLeftHidden(app);
  FindDesktopHost(app);
  CreateWallpaperWindow(app);
  if (app.desktop.wallpaperWindow == nullptr) {
    WriteLog(L"窗口创建失败，退出");
    return 1;
  }

  CreateMessageWindow(app);
  RegisterHotkeys(app);
  CreateNotifyWindow(app);
  CreateTray(app);
  InstallPointerHook(app);
  StartLifecycle(app);
  StartFrames(app);
  const int result = RunMessageLoop(app, GetMessageW);
  StopFrames(app);
  return result;
}

void RegisterHotkeys(WallpaperApp& app) {
  // NOTE: thread hot keys (no window) are lost while a modal loop runs (the
  // tray menu, a message box); a window's are dispatched to it there too.
  HWND owner = app.ui.messageWindow;
  const UINT modifiers = MOD_CONTROL | MOD_SHIFT;
  const std::vector<Hotkey> keys = Hotkeys();
  BOOL registered[4] = {};  // as the log line names them: 1, 2, 3 and 0
  bool all = true;
  for (size_t i = 0; i < keys.size(); ++i) {
    // The virtual-key code of a digit key is its character.
    const BOOL ok = RegisterHotKey(owner, keys[i].id, modifiers, UINT(keys[i].digit));
    if (i < 4) registered[i] = ok;
    all = all && ok;
  }
  DWORD error = GetLastError();
  WriteLog(L"热键注册(Ctrl+Shift,hWnd=0x%p) 1=%d 2=%d 3=%d 0=%d (err=%lu)", owner, registered[0],
           registered[1], registered[2], registered[3], error);
  if (!all) {
    WriteLog(L"警告：部分热键注册失败，可能被其他程序占用，请关闭占用程序后重试");
  }
}

int RunMessageLoop(WallpaperApp& app, GetMessageFunction getMessage) {
  MSG message = {};
  for (;;) {
    if (FramesWaitInTheLoop(app)) {
      WaitForFrameOrMessage(app);
      if (!PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) continue;
    }
    const BOOL got = getMessage(&message, nullptr, 0, 0);
    if (got == 0) return int(message.wParam);
    if (got == -1) {
      // No message to act on: clean up as for an exit and say why.
      WriteLog(L"GetMessageW failed err=%lu, exiting", GetLastError());
      RequestExit(app);
      return kMessageLoopFailed;
    }
    if (message.message == WM_HOTKEY) {
      // Hot keys are handled here, before any window; inside a modal loop the
      // message window's procedure takes them.
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
  if (id == unsigned(kExitHotkeyId)) {
    WriteLog(L"热键退出");
    RequestExit(app);
    return;
  }
  for (const Hotkey& key : Hotkeys()) {
    if (unsigned(key.id) == id) SetEffect(app, key.id);
  }
}

void SetEffect(WallpaperApp& app, int newTheme) {
  WriteLog(L"SetEffect called: old=%d new=%d", app.settings.theme, newTheme);
  if (newTheme == app.settings.theme) return;
  app.settings.theme = newTheme;
  WriteLog(L"切换效果 -> %d", newTheme);
  SaveAndLog(app.settings);  // a hot key shows no box: the log says it
  app.aquarium.populated = false;
}

void RequestExit(WallpaperApp& app) {
  BeginExit(app);
  RemovePointerHook(app);
  RemoveTray(app);
  RestoreWallpaperLayer(app);
  // Its WM_DESTROY posts WM_QUIT, which ends the loop of Run.
  if (app.desktop.wallpaperWindow != nullptr) {
    DestroyWindow(app.desktop.wallpaperWindow);
  } else {
    PostQuitMessage(0);  // waiting for the shell: no window to end the loop
  }
}

void ReleaseAll(WallpaperApp& app) {
  RestoreWallpaperLayer(app);
  ReleaseComposition(app);
  ReleaseBackBuffer(app);
  if (app.gdiplusToken != 0) {
    Gdiplus::GdiplusShutdown(app.gdiplusToken);
    app.gdiplusToken = 0;
  }
  Aquarium& a = app.aquarium;
  a.starfish.clear();
  a.corals.clear();
  a.lightRays.clear();
  a.plants.clear();
  a.bubbles.clear();
  a.creatures.clear();
  a.starfish.shrink_to_fit();
  a.corals.shrink_to_fit();
  a.lightRays.shrink_to_fit();
  a.plants.shrink_to_fit();
  a.bubbles.shrink_to_fit();
  a.creatures.shrink_to_fit();
}
