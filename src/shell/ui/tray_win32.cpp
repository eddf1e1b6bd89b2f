// The notification-area icon, its popup menu and the message-only window
// that receives the icon's notifications and the menu's commands.
#include <cwchar>

#include "base/log.h"
#include "desktop/pointer_hook_win32.h"
#include "settings/settings_win32.h"
#include "ui/ui_win32.h"

OutsideCalls outsideCalls;

namespace {

struct MenuEntry {
  UINT command;  // 0: a separator
  const wchar_t* text;
};

const MenuEntry kTrayMenu[] = {
    {kCommandTropical, L"Tropical Aquarium"},
    {kCommandDeepSea, L"Deep Sea Aquarium"},
    {kCommandKoiPond, L"Koi Pond"},
    {kCommandCoralReef, L"Coral Reef"},
    {kCommandShipwreck, L"Shipwreck"},
    {kCommandAncientRuins, L"Ancient Ruins"},
    {0, nullptr},
    {kCommandSettings, L"Settings..."},
    {kCommandAbout, L"About Tidemere..."},
    {kCommandAutostart, L"Start with Windows"},
    {0, nullptr},
    {kCommandExit, L"Exit"},
};
static_assert(sizeof(kTrayMenu) / sizeof(kTrayMenu[0]) == 12, "the menu has twelve entries");

// The theme each theme command selects; 0 for the other commands.
int ThemeOfCommand(UINT command) {
  switch (command) {
    case kCommandTropical:
      return 1;
    case kCommandDeepSea:
      return 2;
    case kCommandKoiPond:
      return 3;
    case kCommandCoralReef:
      return 4;
    case kCommandShipwreck:
      return 5;
    case kCommandAncientRuins:
      return 6;
    default:
      return 0;
  }
}

void ShowTrayMenu(WallpaperApp& app) {
  WriteLog(L"[tray] right click, show menu");
  if (app.trayMenu == nullptr || app.messageWindow == nullptr) return;
  // Read afresh each time: another program may have changed the Run key.
  MENUITEMINFOW item = {};
  item.cbSize = sizeof(item);
  item.fMask = MIIM_STATE;
  item.fState = IsAutostartEnabled() ? MFS_CHECKED : MFS_UNCHECKED;
  SetMenuItemInfoW(app.trayMenu, kCommandAutostart, FALSE, &item);
  POINT cursor = {};
  GetCursorPos(&cursor);
  // Without the foreground the menu would not close when the user clicks
  // elsewhere; the WM_NULL after it lets the menu's loop finish cleanly.
  SetForegroundWindow(app.messageWindow);
  outsideCalls.trackPopupMenu(app.trayMenu, TPM_BOTTOMALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0,
                              app.messageWindow, nullptr);
  PostMessageW(app.messageWindow, WM_NULL, 0, 0);
}

void OnTrayCommand(WallpaperApp& app, UINT command) {
  WriteLog(L"[tray] WM_COMMAND id=%u", command);
  if (int theme = ThemeOfCommand(command)) {
    SetEffect(app, theme);
    return;
  }
  switch (command) {
    case kCommandSettings:
      OpenSettingsWindow(app);
      break;
    case kCommandAbout:
      OpenAboutWindow(app);
      break;
    case kCommandAutostart:
      ToggleAutostart();
      break;
    case kCommandExit:
      RequestExit(app);
      break;
  }
}

}  // namespace

void AddTrayIcon(WallpaperApp& app) {
  if (app.trayIcon == nullptr) app.trayIcon = LoadIconW(app.instance, MAKEINTRESOURCEW(kAppIconResource));
  NOTIFYICONDATAW data = {};
  data.cbSize = sizeof(data);
  data.hWnd = app.messageWindow;
  data.uID = kTrayIconId;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = WM_TRAYICON;
  data.hIcon = app.trayIcon;
  std::wcsncpy(data.szTip, L"Tidemere", sizeof(data.szTip) / sizeof(data.szTip[0]) - 1);
  app.trayAdded = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
  DWORD error = GetLastError();
  WriteLog(L"托盘图标创建: %d (err=%lu)", app.trayAdded ? 1 : 0, error);
  // Asked again while the icon is still there (the shell did not restart):
  // it is ours all the same, and must be removed at exit.
  if (!app.trayAdded) app.trayAdded = Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

void CreateTray(WallpaperApp& app) {
  if (app.trayAdded) return;
  AddTrayIcon(app);

  hookApp = &app;
  if (app.mouseHook == nullptr)
    app.mouseHook = SetWindowsHookExW(WH_MOUSE_LL, MouseHookProc, app.instance, 0);
  WriteLog(L"鼠标钩子安装: %p", app.mouseHook);

  if (app.trayMenu != nullptr) return;  // kept from an earlier call whose icon was not added
  app.trayMenu = CreatePopupMenu();
  for (const MenuEntry& entry : kTrayMenu) {
    if (entry.command == 0) {
      AppendMenuW(app.trayMenu, MF_SEPARATOR, 0, nullptr);
    } else {
      AppendMenuW(app.trayMenu, MF_STRING, entry.command, entry.text);
    }
  }
}

LRESULT CALLBACK MessageWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    return 0;
  }
  auto* app = reinterpret_cast<WallpaperApp*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (app == nullptr) return DefWindowProcW(window, message, wParam, lParam);

  switch (message) {
    case WM_TRAYICON:
      if (lParam == WM_RBUTTONUP || lParam == WM_CONTEXTMENU) ShowTrayMenu(*app);
      return 0;
    case WM_COMMAND:
      OnTrayCommand(*app, LOWORD(wParam));
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}
