// A rectangle in screen pixels: left and top inside, right and bottom outside.
#pragma once

struct ScreenRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Empty() const { return right <= left || bottom <= top; }
};

// The part both share (empty when they do not meet).
inline ScreenRect Intersection(const ScreenRect& a, const ScreenRect& b) {
  return {a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
          a.right < b.right ? a.right : b.right, a.bottom < b.bottom ? a.bottom : b.bottom};
}

// The smallest rectangle holding both.
inline ScreenRect Bounds(const ScreenRect& a, const ScreenRect& b) {
  return {a.left < b.left ? a.left : b.left, a.top < b.top ? a.top : b.top,
          a.right > b.right ? a.right : b.right, a.bottom > b.bottom ? a.bottom : b.bottom};
}
