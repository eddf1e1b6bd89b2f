// The application: bringing the desktop attachment, the hot keys and the tray
// up, the message loop, theme switching, exit and release.
#pragma once

#include "common/wallpaper_app_win32.h"

// Fills app.requests: what desktop/ and ui/ ask goes to the functions below.
void WireRequests(WallpaperApp& app);

// A running instance's wallpaper window, wherever it is: Progman's child,
// or a top-level window when it started without a shell. Null when none.
HWND FindRunningWallpaperWindow();
// Whether an instance of the wallpaper runs in this session: its wallpaper
// window or its message-only window exists.
bool AnInstanceRuns();

int Run(WallpaperApp& app);
// Ctrl+Shift+1, 2, 3 and 0 (policy/tray_menu.h), owned by the message window.
void RegisterHotkeys(WallpaperApp& app);
// The message loop of Run. Returns the WM_QUIT code, or kMessageLoopFailed
// when the message retrieval itself fails.
using GetMessageFunction = BOOL(WINAPI*)(LPMSG, HWND, UINT, UINT);
constexpr int kMessageLoopFailed = 2;
int RunMessageLoop(WallpaperApp& app, GetMessageFunction getMessage);
void OnHotkey(WallpaperApp& app, unsigned id);
// Saves the settings; a failure is logged with the file and the system's
// reason, and the values stay in use for this session.
SaveResult SaveAndLog(const Settings& settings);
void SetEffect(WallpaperApp& app, int newTheme);
void RequestExit(WallpaperApp& app);
void ReleaseAll(WallpaperApp& app);
