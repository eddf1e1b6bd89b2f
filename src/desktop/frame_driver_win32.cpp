#include "desktop/desktop_win32.h"

// Frames (pacing, back buffer, step and scene) arrive with the frame driver.
void OnTimerTick(WallpaperApp&) {}

void RenderFrame(WallpaperApp&) {}
