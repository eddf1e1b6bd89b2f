// The application icon painted at run time by the program's own icon figure.
#pragma once

#include <windows.h>

// The icon at size x size pixels; null when it cannot be made. The caller
// owns it (DestroyIcon).
HICON CreateAppIcon(int size);
