// A rectangle in screen pixels: left and top inside, right and bottom outside.
#pragma once

struct ScreenRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};
