// The DPI of windows and of the primary monitor, and its work area. The
// functions that tell a monitor's or a window's own DPI are looked up at run
// time: older systems lack them and then give the system DPI.
#pragma once

#include <windows.h>

#include "policy/window_placement.h"

int WindowDpi(HWND window);
int PrimaryMonitorDpi();
// A system metric (SM_CXSMICON ...) at `dpi`.
int SystemMetricForDpi(int index, int dpi);
// The primary monitor's work area (the screen less the taskbar).
ScreenRect PrimaryWorkArea();
