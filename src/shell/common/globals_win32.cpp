#include "common/globals_win32.h"

WallpaperApp* hookApp = nullptr;
WallpaperApp* crashApp = nullptr;
