// The low-level mouse hook that feeds the aquarium: pointer moves set the
// point the creatures flee, a left press releases a burst of bubbles.
#pragma once

#include <windows.h>

// Serves `hookApp`; every event is passed on unchanged.
LRESULT CALLBACK MouseHookProc(int code, WPARAM wParam, LPARAM lParam);
