#include "desktop/desktop_win32.h"

// The DirectComposition presenter arrives with the frame pipeline; without it
// the wallpaper window reports a presenter that did not start.
bool InitComposition(WallpaperApp&, int, int) {
  return false;
}

void PresentFrame(WallpaperApp&, int, int) {}
