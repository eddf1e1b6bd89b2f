// Finding the shell's wallpaper layer, the wallpaper window and its procedure,
// the presenter and the frame driver.
#pragma once

#include "app/wallpaper_app_win32.h"

void FindDesktopHost(WallpaperApp& app);
void CreateWallpaperWindow(WallpaperApp& app);
void RestoreWallpaperLayer(WallpaperApp& app);
LRESULT CALLBACK WallpaperWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// A "WorkerW" without a "SHELLDLL_DefView" child: the shell's wallpaper layer.
bool IsWallpaperLayerCandidate(HWND window);
// Places `window` directly below its parent's "SHELLDLL_DefView" child, if any.
void PlaceUnderDesktopIcons(HWND window, UINT extraFlags);

bool InitComposition(WallpaperApp& app, int width, int height);
void PresentFrame(WallpaperApp& app, int width, int height);

void OnTimerTick(WallpaperApp& app);
void RenderFrame(WallpaperApp& app);
