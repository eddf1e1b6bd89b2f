// Where the settings and About windows go: their sizes scaled by the
// monitor's DPI (designed at 96) and their rectangles kept on the screen.
// Portable, so the arithmetic is tested natively.
#pragma once

#include "base/screen_rect.h"

// `value` designed at 96 DPI, at `dpi`, rounded to the nearest pixel (halves
// away from zero, as MulDiv does). At 96 the value is unchanged.
int ScaleForDpi(int value, int dpi);
float ScaleForDpi(float value, int dpi);

// A window of width x height centred on a screen of screenWidth x
// screenHeight (integer division towards zero, as the windows were designed).
ScreenRect CentredOnScreen(int width, int height, int screenWidth, int screenHeight);

// `window` moved (not resized) so that it lies inside `area`; a window larger
// than the area keeps its top left corner in it, so the caption stays reachable.
ScreenRect KeptInside(ScreenRect window, ScreenRect area);

// The settings window: 1100 pixels wide at 96 DPI and as high as its frame
// (caption and borders, `frameHeight` pixels) plus a client area of 616
// pixels, which holds every control down to the footer, but at most the
// screen height - 40; centred on the primary screen, kept inside its work area.
constexpr int kSettingsClientHeight = 616;
ScreenRect SettingsWindowRect(int dpi, int frameHeight, int screenWidth, int screenHeight,
                              ScreenRect workArea);
// The About window: 440 x 290 at 96 DPI, centred the same way.
ScreenRect AboutWindowRect(int dpi, int screenWidth, int screenHeight, ScreenRect workArea);
