// Living with the system: the hidden broadcast window and what it hears
// (display, session, power, the shell's restart), whether windows cover the
// wallpaper, the shell check that attaches again, the end of the program and
// the crash filter.
#pragma once

#include "common/wallpaper_app_win32.h"

// The hidden broadcast window, into app.lifecycle.notifyWindow.
void CreateNotifyWindow(WallpaperApp& app);
LRESULT CALLBACK NotifyWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Registers for session and power notifications on the broadcast window and
// starts its once-a-second shell check.
void StartLifecycle(WallpaperApp& app);
// An exit the user asked for: notifications stop, the broadcast window goes,
// and the shell check never attaches again.
void BeginExit(WallpaperApp& app);
bool HandleSystemMessage(WallpaperApp& app, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
// Whether opaque windows cover every monitor, at most four times a second.
void UpdateCoverage(WallpaperApp& app);
// Attaches again when the shell's windows are gone or new (not otherwise).
void CheckShell(WallpaperApp& app);
// The wallpaper window died without an exit being asked for.
void OnWallpaperWindowDestroyed(WallpaperApp& app);
// Once a second while attached: takes a layer the shell made late, keeps the
// window under the icons and over the virtual screen, the layer behind it.
void KeepInPlace(WallpaperApp& app);
void InstallCrashFilter(WallpaperApp& app);
LONG WINAPI WallpaperCrashFilter(EXCEPTION_POINTERS* exception);

// What the process holds, for the /debug report a user can send in.
struct ProcessResources {
  unsigned long gdiObjects = 0;
  unsigned long userObjects = 0;
  unsigned long handles = 0;
  unsigned long privateKilobytes = 0;
};
ProcessResources ReadProcessResources();
