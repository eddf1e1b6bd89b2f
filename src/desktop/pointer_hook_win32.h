// The low-level mouse hook that feeds the pointer and the bubble bursts to
// the application in `hookApp`.
#pragma once

#include <windows.h>

LRESULT CALLBACK MouseHookProc(int code, WPARAM wParam, LPARAM lParam);
