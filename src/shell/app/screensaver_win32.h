// Tidemere as a screensaver: the same program under the name Windows expects
// (Tidemere.scr), doing what Windows asks on its command line. It lives beside
// a running wallpaper: no single-instance lock of the wallpaper's, no tray
// icon, hot keys, mouse hook or Run key, windows of a class of its own, and
// its log in the settings folder (a screensaver may sit in a system folder).
#pragma once

#include "common/wallpaper_app_win32.h"
#include "policy/screensaver_args.h"

// A screensaver's application: the aquarium and frame driver of a wallpaper,
// drawn into its own window, and what the window needs to know of itself.
struct Screensaver {
  WallpaperApp app;  // desktop.wallpaperWindow is the screensaver's window
  bool fullScreen = false;
  SaverMouse mouse;
};

// Runs what the arguments ask for; returns the process's exit code.
int RunScreensaver(HINSTANCE instance, const SaverArguments& arguments);

// One topmost window over the virtual screen, the cursor hidden; null when
// it could not be made. One window, as the wallpaper: one aquarium across the
// monitors, one frame to draw, and one activation to lose.
HWND StartFullScreenSaver(Screensaver& saver);
// A child covering `parent`'s client area that takes no focus and ignores
// input, at the power saver's rate; null when `parent` is no window.
HWND StartPreview(Screensaver& saver, HWND parent);
LRESULT CALLBACK ScreensaverWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
