// The notification-area icon, its popup menu and the message-only window
// that receives the icon's notifications and the menu's commands.
#include <cwchar>
#include <iterator>

#include "base/log.h"
#include "common/names_win32.h"
#include "common/window_class_win32.h"
#include "policy/tray_menu.h"
#include "settings/settings_win32.h"
#include "ui/dpi_win32.h"
#include "ui/ui_win32.h"

namespace {

// Shell_NotifyIcon fails while Explorer is still busy at log-on; only a shell
// that (re)starts says so ("TaskbarCreated"). A failed add is tried again
// after these many seconds, a minute in all.
constexpr UINT_PTR kTrayRetryTimer = 1;
constexpr UINT kTrayRetrySeconds[] = {2, 4, 8, 16, 30};

// NOTE: LoadIcon gives only the 32-pixel image of the group, which the
// notification area shrinks blurrily, and a shared icon that must never be
// destroyed. LoadImage without LR_SHARED at the small-icon size of the
// taskbar's DPI picks the image made for it, and the icon is ours.
HICON LoadTrayIcon(HINSTANCE instance) {
  const int size = SystemMetricForDpi(SM_CXSMICON, PrimaryMonitorDpi());
  return static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(kAppIconResource), IMAGE_ICON, size, size, 0));
}

void ShowTrayMenu(WallpaperApp& app) {
  WriteLog(L"[tray] right click, show menu");
  if (app.ui.trayMenu == nullptr || app.ui.messageWindow == nullptr) return;
  // Read afresh each time: another program may have changed the Run key.
  MENUITEMINFOW item = {};
  item.cbSize = sizeof(item);
  item.fMask = MIIM_STATE;
  item.fState = IsAutostartEnabled() ? MFS_CHECKED : MFS_UNCHECKED;
  SetMenuItemInfoW(app.ui.trayMenu, kMenuCommandAutostart, FALSE, &item);
  POINT cursor = {};
  GetCursorPos(&cursor);
  // Without the foreground the menu would not close when the user clicks
  // elsewhere; the WM_NULL after it lets the menu's loop finish cleanly.
  SetForegroundWindow(app.ui.messageWindow);
  app.outside.trackPopupMenu(app.ui.trayMenu, TPM_BOTTOMALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0,
                             app.ui.messageWindow, nullptr);
  PostMessageW(app.ui.messageWindow, WM_NULL, 0, 0);
}

void OnTrayCommand(WallpaperApp& app, UINT command) {
  WriteLog(L"[tray] WM_COMMAND id=%u", command);
  const MenuItem item = MenuItemOfCommand(command);
  switch (item.action) {
    case MenuAction::kTheme:
      Request(app.requests.themeChosen, app, item.theme);
      break;
    case MenuAction::kSettings:
      OpenSettingsWindow(app);
      break;
    case MenuAction::kAbout:
      OpenAboutWindow(app);
      break;
    case MenuAction::kAutostart:
      ToggleAutostart();
      break;
    case MenuAction::kExit:
      Request(app.requests.exitAsked, app);
      break;
    case MenuAction::kSeparator:  // no item of ours
      break;
  }
}

}  // namespace

void AddTrayIcon(WallpaperApp& app) {
  if (app.ui.trayIcon == nullptr) app.ui.trayIcon = LoadTrayIcon(app.instance);
  NOTIFYICONDATAW data = {};
  data.cbSize = sizeof(data);
  data.hWnd = app.ui.messageWindow;
  data.uID = kTrayIconId;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = WM_TRAYICON;
  data.hIcon = app.ui.trayIcon;
  std::wcsncpy(data.szTip, L"Tidemere", sizeof(data.szTip) / sizeof(data.szTip[0]) - 1);
  app.ui.trayAdded = app.outside.shellNotifyIcon(NIM_ADD, &data) != FALSE;
  DWORD error = GetLastError();
  WriteLog(L"托盘图标创建: %d (err=%lu)", app.ui.trayAdded ? 1 : 0, error);
  // Asked again while the icon is still there (the shell did not restart):
  // it is ours all the same, and must be removed at exit.
  if (!app.ui.trayAdded) app.ui.trayAdded = app.outside.shellNotifyIcon(NIM_MODIFY, &data) != FALSE;
  if (app.ui.trayAdded) {
    app.ui.trayAddRetries = 0;
  } else if (app.ui.messageWindow != nullptr && app.ui.trayAddRetries < int(std::size(kTrayRetrySeconds))) {
    const UINT seconds = kTrayRetrySeconds[app.ui.trayAddRetries++];
    SetTimer(app.ui.messageWindow, kTrayRetryTimer, seconds * 1000, nullptr);
    WriteLog(L"[tray] the notification area refused the icon; trying again in %u s", seconds);
  }
}

void CreateTray(WallpaperApp& app) {
  if (app.ui.trayAdded) return;
  AddTrayIcon(app);

  if (app.ui.trayMenu != nullptr) return;  // kept from an earlier call whose icon was not added
  app.ui.trayMenu = CreatePopupMenu();
  for (const MenuItem& item : TrayMenuItems(L"Start with Windows")) {
    if (item.action == MenuAction::kSeparator) {
      AppendMenuW(app.ui.trayMenu, MF_SEPARATOR, 0, nullptr);
    } else {
      AppendMenuW(app.ui.trayMenu, MF_STRING, item.command, item.text);
    }
  }
}

void RemoveTray(WallpaperApp& app) {
  UserInterface& ui = app.ui;
  if (ui.trayAdded) {
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof(data);
    data.hWnd = ui.messageWindow;
    data.uID = kTrayIconId;
    app.outside.shellNotifyIcon(NIM_DELETE, &data);
    ui.trayAdded = false;
    WriteLog(L"托盘图标已移除");
    if (ui.trayMenu != nullptr) {
      DestroyMenu(ui.trayMenu);
      ui.trayMenu = nullptr;
    }
    if (ui.trayIcon != nullptr) DestroyIcon(ui.trayIcon);  // LoadImageW without LR_SHARED: ours
    ui.trayIcon = nullptr;
  }
  if (ui.messageWindow != nullptr) {
    KillTimer(ui.messageWindow, kTrayRetryTimer);
    DestroyWindow(ui.messageWindow);
    ui.messageWindow = nullptr;
  }
}

void CreateMessageWindow(WallpaperApp& app) {
  WindowClassStyle none;
  none.dialogLook = false;  // a message-only window: no icon, cursor or background
  RegisterWindowClassOnce(kMessageWindowClass, MessageWndProc, app.instance, none);
  app.ui.messageWindow =
      CreateWindowExW(0, kMessageWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, app.instance, &app);
  WriteLog(L"消息窗口创建 hwnd=0x%p", app.ui.messageWindow);
}

LRESULT CALLBACK MessageWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WallpaperApp* app = WindowOwner<WallpaperApp>(window, message, lParam);
  if (app == nullptr) return DefWindowProcW(window, message, wParam, lParam);

  switch (message) {
    case WM_TRAYICON:
      if (lParam == WM_RBUTTONUP || lParam == WM_CONTEXTMENU) ShowTrayMenu(*app);
      return 0;
    case WM_COMMAND:
      OnTrayCommand(*app, LOWORD(wParam));
      return 0;
    case WM_TIMER:
      if (wParam != kTrayRetryTimer) break;
      KillTimer(window, kTrayRetryTimer);
      if (!app->ui.trayAdded) AddTrayIcon(*app);
      return 0;
    case WM_HOTKEY:
      // Only while a modal loop (the menu, a message box) dispatches it: the
      // program's own loop takes hot keys before any window.
      WriteLog(L"[msg] WM_HOTKEY id=%d", int(wParam));
      Request(app->requests.hotkeyPressed, *app, unsigned(wParam));
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}
