// Names the program, its resource script and the end-to-end helpers share:
// resource ids, window classes, private messages and command ids. The
// resource compiler reads only the #defines; the rest is C++.
#ifndef TIDEMERE_SHELL_COMMON_NAMES_WIN32_H
#define TIDEMERE_SHELL_COMMON_NAMES_WIN32_H

// Icon group 101: the window classes, the tray icon and the settings window.
#define IDI_TIDEMERE 101
// String 1: the short name Windows shows for the screensaver when the file's
// name will not do.
#define IDS_SCREENSAVER_NAME 1

#ifndef RC_INVOKED

#include <windows.h>

constexpr int kAppIconResource = IDI_TIDEMERE;

// Window classes. A second start and the "exit" command find a running
// instance by the wallpaper window's class.
constexpr const wchar_t* kWallpaperWindowClass = L"WavescreenWnd";
constexpr const wchar_t* kMessageWindowClass = L"WavescreenMsgWnd";
constexpr const wchar_t* kNotifyWindowClass = L"WavescreenNotifyWnd";
constexpr const wchar_t* kSettingsWindowClass = L"WavescreenSettingsWnd";
constexpr const wchar_t* kSpeciesIconWindowClass = L"FishIconWnd";
constexpr const wchar_t* kAboutWindowClass = L"TidemereAboutWnd";
// The screensaver's window: a class of its own, so that the wallpaper's
// searches ("exit", "already running") never find it.
constexpr const wchar_t* kScreensaverWindowClass = L"TidemereSaverWnd";

// Named kernel objects.
constexpr const wchar_t* kSingleInstanceMutex = L"Local\\Tidemere_SingleInstance";
// Held by the full-screen screensaver: one at a time.
constexpr const wchar_t* kScreensaverMutex = L"Local\\Tidemere_Screensaver";

// Private message: put the wallpaper window directly under the desktop icons.
constexpr UINT WM_WALLPAPER_RESTACK = WM_USER + 100;
// Callback message of the notification-area icon.
constexpr UINT WM_TRAYICON = WM_APP + 1;
// The notification-area icon's identifier.
constexpr UINT kTrayIconId = 1;

// The tray menu's command ids are in its portable table (policy/tray_menu.h)
// and the themes table (base/themes.h).

// Settings window control identifiers.
constexpr int kSpeciesCountEditBase = 1000;  // + species number
constexpr int kTotalFishEdit = 1102;
constexpr int kFpsModeCombo = 1103;
constexpr int kMonitorsCombo = 1104;
constexpr int kScaleWithDpiCheck = 1105;

#endif  // RC_INVOKED
#endif  // TIDEMERE_SHELL_COMMON_NAMES_WIN32_H
