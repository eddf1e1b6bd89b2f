// The notification-area icon, its menu and message window, and the painted
// application icon.
#pragma once

#include "app/wallpaper_app_win32.h"

void CreateTray(WallpaperApp& app);
LRESULT CALLBACK MessageWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The application icon painted at N x N pixels; null when it cannot be made.
HICON CreateAppIcon(int size);
