// What the program's own windows share: registering their classes once per
// process, and the start of their procedures.
#pragma once

#include <windows.h>

#include "app/wallpaper_app_win32.h"

struct WindowClassStyle {
  int windowExtraBytes = 0;
  bool dialogLook = true;  // arrow cursor and the button-face background
};

// Registers the class on first use; later calls find it registered.
void RegisterWindowClassOnce(const wchar_t* name, WNDPROC procedure, HINSTANCE instance,
                             WindowClassStyle style = {});

// WM_NCCREATE of a top-level window: keeps the creation parameter (the
// application) in the user data and, with an application, gives the window
// icon 101 as its large and small icon (shared, so never destroyed).
WallpaperApp* AttachApplication(HWND window, LPARAM createStruct, bool withIcon);
