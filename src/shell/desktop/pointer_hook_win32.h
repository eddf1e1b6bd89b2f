// The low-level mouse hook that feeds the aquarium, on a thread of its own:
// pointer moves set the point the creatures flee, a left press releases a
// burst of bubbles; every event is passed on unchanged. It serves `hookApp`.
#pragma once

#include "common/wallpaper_app_win32.h"

void InstallPointerHook(WallpaperApp& app);
void RemovePointerHook(WallpaperApp& app);
LRESULT CALLBACK MouseHookProc(int code, WPARAM wParam, LPARAM lParam);
