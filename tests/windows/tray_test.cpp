// The notification-area icon, its menu and the message-only window's
// commands, and the hidden window that hears "TaskbarCreated".
#include <gtest/gtest.h>

#include "base/log.h"
#include "base/program_path_win32.h"
#include "common/globals_win32.h"
#include "common/names_win32.h"
#include "desktop/desktop_host_win32.h"
#include "desktop/frame_driver_win32.h"
#include "desktop/lifecycle_win32.h"
#include "desktop/pointer_hook_win32.h"
#include "desktop/presenter_win32.h"
#include "desktop/wallpaper_window_win32.h"
#include "policy/tray_menu.h"
#include "settings/settings_win32.h"
#include "windows/ui_test_support.h"

namespace {

const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::string Utf8(const wchar_t* text) {
  return ToUtf8(text);
}

size_t Count(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

// Does the shell still hold our icon? Changing the tip only works on an icon it has.
bool ShellHasIcon(HWND window) {
  NOTIFYICONDATAW data = {};
  data.cbSize = sizeof(data);
  data.hWnd = window;
  data.uID = kTrayIconId;
  data.uFlags = NIF_TIP;
  lstrcpyW(data.szTip, L"Tidemere");
  return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

void SetRunValue(const std::wstring& text) {
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  if (text.empty()) {
    RegDeleteValueW(key, L"Tidemere");
  } else {
    RegSetValueExW(key, L"Tidemere", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   DWORD((text.size() + 1) * sizeof(wchar_t)));
  }
  RegCloseKey(key);
}

// The notification area as Explorer gives it at log-on: busy, it refuses the
// first icons.
int refusalsLeft = 0;
BOOL WINAPI BusyShellNotifyIcon(DWORD message, PNOTIFYICONDATAW data) {
  if (message != NIM_DELETE && refusalsLeft > 0) {
    --refusalsLeft;
    SetLastError(ERROR_TIMEOUT);
    return FALSE;
  }
  return Shell_NotifyIconW(message, data);
}

class Tray : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    CreateMessageWindow();
    ASSERT_NE(app.ui.messageWindow, nullptr);
  }
  void TearDown() override {
    SetRunValue(L"");
    UiTest::TearDown();
  }
};

TEST_F(Tray, CreateTrayAddsTheIconInstallsTheHookAndBuildsTheMenu) {
  CreateTray(app);
  InstallPointerHook(app);  // as Run does next
  EXPECT_TRUE(app.ui.trayAdded);
  EXPECT_NE(app.ui.trayIcon, nullptr) << "icon resource 101";
  // The small image of the group, not the 32-pixel one shrunk, and our own.
  ICONINFO info = {};
  ASSERT_TRUE(GetIconInfo(app.ui.trayIcon, &info));
  BITMAP bitmap = {};
  GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  EXPECT_EQ(bitmap.bmWidth, GetSystemMetrics(SM_CXSMICON));
  EXPECT_NE(app.ui.trayIcon, LoadIconW(app.instance, MAKEINTRESOURCEW(kAppIconResource)))
      << "not the shared icon";
  EXPECT_TRUE(ShellHasIcon(app.ui.messageWindow));
  EXPECT_EQ(hookApp, &app);
  EXPECT_NE(app.desktop.mouseHook, nullptr);
  const std::string log = Log();
  EXPECT_NE(log.find(Utf8(L"托盘图标创建: 1 (err=")), std::string::npos) << log;
  EXPECT_NE(
      log.find(ToUtf8(FormatLogMessage(L"鼠标钩子安装: %p", static_cast<void*>(app.desktop.mouseHook)))),
      std::string::npos)
      << log;

  struct Entry {
    UINT id;
    const wchar_t* text;
  };
  const Entry expected[] = {
      {1001, L"Tropical Aquarium"},
      {1002, L"Deep Sea Aquarium"},
      {1003, L"Koi Pond"},
      {1008, L"Coral Reef"},
      {1009, L"Shipwreck"},
      {1010, L"Ancient Ruins"},
      {0, nullptr},
      {1004, L"Settings..."},
      {1006, L"About Tidemere..."},
      {1007, L"Start with Windows"},
      {0, nullptr},
      {1005, L"Exit"},
  };
  ASSERT_NE(app.ui.trayMenu, nullptr);
  ASSERT_EQ(GetMenuItemCount(app.ui.trayMenu), 12);
  for (int position = 0; position < 12; ++position) {
    MENUITEMINFOW item = {};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU;
    ASSERT_TRUE(GetMenuItemInfoW(app.ui.trayMenu, UINT(position), TRUE, &item));
    EXPECT_EQ(item.hSubMenu, nullptr);
    if (expected[position].text == nullptr) {
      EXPECT_TRUE(item.fType & MFT_SEPARATOR) << "position " << position;
      continue;
    }
    EXPECT_EQ(item.fState & (MFS_CHECKED | MFS_DISABLED), 0u) << "plain items, no mark until the menu opens";
    EXPECT_EQ(item.fType, UINT(MFT_STRING)) << "position " << position;
    EXPECT_EQ(GetMenuItemID(app.ui.trayMenu, position), expected[position].id);
    wchar_t text[64] = {};
    GetMenuStringW(app.ui.trayMenu, UINT(position), text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, expected[position].text);
  }

  // A second call adds nothing.
  HMENU menu = app.ui.trayMenu;
  CreateTray(app);
  EXPECT_EQ(app.ui.trayMenu, menu);
  EXPECT_EQ(Count(Log(), Utf8(L"托盘图标创建")), 1u);
}

TEST_F(Tray, ThemeCommandsGoThroughSetEffect) {
  CreateTray(app);
  const UINT commands[] = {1002, 1003, 1008, 1009, 1010, 1001};
  const int themes[] = {2, 3, 4, 5, 6, 1};
  int previous = app.settings.theme;
  ASSERT_EQ(previous, 1);
  for (int i = 0; i < 6; ++i) {
    app.aquarium.populated = true;
    Command(commands[i]);
    EXPECT_EQ(app.settings.theme, themes[i]) << "command " << commands[i];
    EXPECT_FALSE(app.aquarium.populated) << "the next frame rebuilds the aquarium";
    const std::string log = Log();
    EXPECT_NE(log.find("[tray] WM_COMMAND id=" + std::to_string(commands[i])), std::string::npos);
    EXPECT_NE(log.find(ToUtf8(FormatLogMessage(L"SetEffect called: old=%d new=%d", previous, themes[i]))),
              std::string::npos)
        << log;
    previous = themes[i];
  }
  // The active theme again: logged, nothing rebuilt.
  app.aquarium.populated = true;
  Command(1001);
  EXPECT_TRUE(app.aquarium.populated);
  EXPECT_NE(Log().find("SetEffect called: old=1 new=1"), std::string::npos);
  // An unknown command is only logged.
  Command(1234);
  EXPECT_NE(Log().find("[tray] WM_COMMAND id=1234"), std::string::npos);
  EXPECT_EQ(app.settings.theme, 1);
}

TEST_F(Tray, RightClickShowsTheMenuWithTheRunKeyReadAfresh) {
  CreateTray(app);
  SetRunValue(L"\"" + GetProgramPath() + L"\"");
  SendMessageW(app.ui.messageWindow, WM_TRAYICON, kTrayIconId, WM_RBUTTONUP);
  SetRunValue(L"");  // changed by another program while the menu is closed
  SendMessageW(app.ui.messageWindow, WM_TRAYICON, kTrayIconId, WM_CONTEXTMENU);
  ASSERT_EQ(popupMenus.size(), 2u);
  EXPECT_EQ(popupMenus[0].menu, app.ui.trayMenu);
  EXPECT_EQ(popupMenus[0].owner, app.ui.messageWindow);
  EXPECT_EQ(popupMenus[0].flags, UINT(TPM_BOTTOMALIGN | TPM_RIGHTBUTTON));
  EXPECT_TRUE(popupMenus[0].autostartState & MFS_CHECKED);
  EXPECT_FALSE(popupMenus[1].autostartState & MFS_CHECKED);
  EXPECT_EQ(Count(Log(), "[tray] right click, show menu"), 2u);

  // A left click or a move does nothing.
  SendMessageW(app.ui.messageWindow, WM_TRAYICON, kTrayIconId, WM_LBUTTONUP);
  SendMessageW(app.ui.messageWindow, WM_TRAYICON, kTrayIconId, WM_MOUSEMOVE);
  EXPECT_EQ(popupMenus.size(), 2u);
}

TEST_F(Tray, StartWithWindowsCommandTogglesTheRunValue) {
  CreateTray(app);
  Command(kMenuCommandAutostart);
  EXPECT_TRUE(IsAutostartEnabled());
  Command(kMenuCommandAutostart);
  EXPECT_FALSE(IsAutostartEnabled());
  EXPECT_NE(Log().find(Utf8(L"自动启动：已移除 r=0")), std::string::npos);
}

TEST_F(Tray, ExitRemovesIconHookAndWindows) {
  CreateNotifyWindow(app);
  CreateTray(app);
  InstallPointerHook(app);
  HWND messageWindow = app.ui.messageWindow, notifyWindow = app.lifecycle.notifyWindow;
  HICON icon = app.ui.trayIcon;
  ASSERT_TRUE(app.ui.trayAdded);
  Command(kMenuCommandExit);
  ICONINFO info = {};
  EXPECT_FALSE(GetIconInfo(icon, &info)) << "ours, so destroyed";
  EXPECT_FALSE(app.ui.trayAdded);
  EXPECT_EQ(app.desktop.mouseHook, nullptr);
  EXPECT_EQ(hookApp, nullptr);
  EXPECT_EQ(app.ui.trayMenu, nullptr);
  EXPECT_EQ(app.ui.trayIcon, nullptr);
  EXPECT_FALSE(IsWindow(messageWindow));
  EXPECT_FALSE(IsWindow(notifyWindow));
  EXPECT_EQ(app.lifecycle.notifyWindow, nullptr);
  EXPECT_NE(Log().find(Utf8(L"托盘图标已移除")), std::string::npos);
  EXPECT_FALSE(ShellHasIcon(messageWindow)) << "the shell still holds the icon";
}

// taskkill without /f, an installer: WM_CLOSE to every top-level window.
TEST_F(Tray, WmCloseToTheBroadcastWindowEndsTheProgramAsExitDoes) {
  CreateNotifyWindow(app);
  CreateTray(app);
  HWND notifyWindow = app.lifecycle.notifyWindow;
  SendMessageW(notifyWindow, WM_CLOSE, 0, 0);
  EXPECT_TRUE(app.lifecycle.exitRequested);
  EXPECT_FALSE(app.ui.trayAdded);
  EXPECT_FALSE(IsWindow(notifyWindow));
  MSG quit;
  EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the loop ends";
  EXPECT_NE(Log().find(Utf8(L"托盘图标已移除")), std::string::npos);
}

TEST_F(Tray, AnIconTheBusyShellRefusedIsAddedAgainLater) {
  app.outside.shellNotifyIcon = BusyShellNotifyIcon;
  refusalsLeft = 4;  // the add and its modify, twice
  CreateTray(app);
  EXPECT_FALSE(app.ui.trayAdded);
  EXPECT_NE(Log().find("[tray] the notification area refused the icon; trying again in 2 s"),
            std::string::npos);
  SendMessageW(app.ui.messageWindow, WM_TIMER, 1, 0);  // its 2 s are up
  EXPECT_FALSE(app.ui.trayAdded);
  EXPECT_NE(Log().find("trying again in 4 s"), std::string::npos);
  SendMessageW(app.ui.messageWindow, WM_TIMER, 1, 0);
  EXPECT_TRUE(app.ui.trayAdded);
  EXPECT_TRUE(ShellHasIcon(app.ui.messageWindow));
  EXPECT_EQ(Count(Log(), Utf8(L"托盘图标创建: ")), 3u);
}

TEST_F(Tray, TaskbarCreatedBroadcastAddsTheIconAgain) {
  CreateNotifyWindow(app);
  ASSERT_NE(app.lifecycle.notifyWindow, nullptr);
  EXPECT_EQ(app.lifecycle.taskbarCreatedMessage, RegisterWindowMessageW(L"TaskbarCreated"));
  // Top level (broadcasts reach it), never shown, no taskbar button.
  EXPECT_EQ(GetAncestor(app.lifecycle.notifyWindow, GA_PARENT), GetDesktopWindow());
  EXPECT_FALSE(IsWindowVisible(app.lifecycle.notifyWindow));
  EXPECT_TRUE(GetWindowLongPtrW(app.lifecycle.notifyWindow, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_EQ(WindowsOfClass(kNotifyWindowClass).size(), 1u);

  CreateTray(app);
  ASSERT_TRUE(app.ui.trayAdded);
  // The shell restarts: its icons are gone, our flag still says added.
  NOTIFYICONDATAW data = {};
  data.cbSize = sizeof(data);
  data.hWnd = app.ui.messageWindow;
  data.uID = kTrayIconId;
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &data));
  ASSERT_FALSE(ShellHasIcon(app.ui.messageWindow));

  // As the shell announces itself: to every top-level window.
  DWORD_PTR result = 0;
  SendMessageTimeoutW(HWND_BROADCAST, app.lifecycle.taskbarCreatedMessage, 0, 0, SMTO_ABORTIFHUNG, 5000,
                      &result);
  EXPECT_TRUE(app.ui.trayAdded);
  EXPECT_TRUE(ShellHasIcon(app.ui.messageWindow));
  EXPECT_EQ(Count(Log(), Utf8(L"托盘图标创建: 1 (err=")), 2u) << Log();
}

}  // namespace
