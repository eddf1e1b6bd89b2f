// The wallpaper window "WavescreenWnd": made hidden, parented to the shell's
// desktop under the icons, shown with its first frame.
#pragma once

#include "common/wallpaper_app_win32.h"

// Into app.desktop.wallpaperWindow, with its presenter; stays null on failure.
void CreateWallpaperWindow(WallpaperApp& app);
LRESULT CALLBACK WallpaperWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
