// The user interface: the notification-area icon and its menu, the hidden
// broadcast window, the settings, About and species-icon windows, and the
// painted application icon.
#pragma once

#include <windows.h>
// after windows.h, which it builds on
#include <shellapi.h>

#include "app/wallpaper_app_win32.h"

// Window classes.
constexpr const wchar_t* kMessageWindowClass = L"WavescreenMsgWnd";
constexpr const wchar_t* kNotifyWindowClass = L"WavescreenNotifyWnd";
constexpr const wchar_t* kSettingsWindowClass = L"WavescreenSettingsWnd";
constexpr const wchar_t* kSpeciesIconWindowClass = L"FishIconWnd";
constexpr const wchar_t* kAboutWindowClass = L"TidemereAboutWnd";

// The application icon resource.
constexpr int kAppIconResource = 101;
// The notification-area icon's identifier.
constexpr UINT kTrayIconId = 1;

// Tray menu commands.
enum TrayCommand : UINT {
  kCommandTropical = 1001,
  kCommandDeepSea = 1002,
  kCommandKoiPond = 1003,
  kCommandSettings = 1004,
  kCommandExit = 1005,
  kCommandAbout = 1006,
  kCommandAutostart = 1007,
  kCommandCoralReef = 1008,
  kCommandShipwreck = 1009,
  kCommandAncientRuins = 1010,
};

// Settings window control identifiers.
constexpr int kSpeciesCountEditBase = 1000;  // + species number
constexpr int kTotalFishEdit = 1102;
constexpr int kFpsModeCombo = 1103;

// Calls that reach outside the program (a message box waiting for the user,
// the popup menu's modal loop, the browser). They go through here so that
// tests can stand in for them; the program never changes them.
struct OutsideCalls {
  int(WINAPI* messageBox)(HWND, LPCWSTR, LPCWSTR, UINT) = MessageBoxW;
  BOOL(WINAPI* trackPopupMenu)(HMENU, UINT, int, int, int, HWND, const RECT*) = TrackPopupMenu;
  HINSTANCE(WINAPI* shellExecute)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT) = ShellExecuteW;
};
extern OutsideCalls outsideCalls;

// Tray: the icon (resource 101, tip "Tidemere"), the mouse hook and the menu.
void CreateTray(WallpaperApp& app);
// Adds the notification-area icon and logs the result; also after the shell
// restarted ("TaskbarCreated").
void AddTrayIcon(WallpaperApp& app);
LRESULT CALLBACK MessageWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The hidden top-level window that receives broadcasts; into app.notifyWindow.
void CreateNotifyWindow(WallpaperApp& app);
LRESULT CALLBACK NotifyWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// "Settings..." and "About Tidemere...": open the window, or raise the open one.
void OpenSettingsWindow(WallpaperApp& app);
void OpenAboutWindow(WallpaperApp& app);
LRESULT CALLBACK SettingsWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void UpdateAllocatedLabel(HWND window);
LRESULT CALLBACK AboutWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK FishIconWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The application icon painted at N x N pixels; null when it cannot be made.
// The caller owns it (DestroyIcon).
HICON CreateAppIcon(int size);
