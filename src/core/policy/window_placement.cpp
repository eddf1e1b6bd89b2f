#include "policy/window_placement.h"

#include <algorithm>

int ScaleForDpi(int value, int dpi) {
  const long long scaled = (long long)value * dpi;
  const long long half = scaled >= 0 ? 48 : -48;
  return int((scaled + half) / 96);
}

float ScaleForDpi(float value, int dpi) {
  return value * float(dpi) / 96.0f;
}

ScreenRect CentredOnScreen(int width, int height, int screenWidth, int screenHeight) {
  ScreenRect rect;
  rect.left = (screenWidth - width) / 2;
  rect.top = (screenHeight - height) / 2;
  rect.right = rect.left + width;
  rect.bottom = rect.top + height;
  return rect;
}

ScreenRect KeptInside(ScreenRect window, ScreenRect area) {
  int dx = 0, dy = 0;
  if (window.right > area.right) dx = area.right - window.right;
  if (window.left + dx < area.left) dx = area.left - window.left;
  if (window.bottom > area.bottom) dy = area.bottom - window.bottom;
  if (window.top + dy < area.top) dy = area.top - window.top;
  return {window.left + dx, window.top + dy, window.right + dx, window.bottom + dy};
}

ScreenRect SettingsWindowRect(int dpi, int frameHeight, int screenWidth, int screenHeight,
                              ScreenRect workArea) {
  const int width = ScaleForDpi(1100, dpi);
  const int height = std::min(ScaleForDpi(kSettingsClientHeight, dpi) + frameHeight, screenHeight - 40);
  return KeptInside(CentredOnScreen(width, height, screenWidth, screenHeight), workArea);
}

ScreenRect AboutWindowRect(int dpi, int screenWidth, int screenHeight, ScreenRect workArea) {
  return KeptInside(CentredOnScreen(ScaleForDpi(440, dpi), ScaleForDpi(290, dpi), screenWidth, screenHeight),
                    workArea);
}
