// The GDI+ drawing backend: a Graphics over the GDI+ flat API on a device
// context, plus what tests and tools need to draw off screen: starting GDI+
// and a 32-bit top-down DIB section to draw into.
#pragma once

#include <windows.h>

#include <cstdint>

#include "draw/toolkit.h"

namespace Gdiplus {
class GpGraphics;
}

namespace draw {

// Anti-aliased graphics (high-quality bilinear interpolation) on `dc`. The
// creation status is the initial last status; on failure native is null.
Graphics MakeGdiplusGraphics(HDC dc);

// The GDI+ graphics behind `g`, for what the toolkit does not draw (text);
// null when `g` is not a GDI+ graphics or its creation failed.
Gdiplus::GpGraphics* GdiplusGraphicsOf(const Graphics& g);

// Starts GDI+ for this process; 0 when it could not be started.
ULONG_PTR StartGdiplus();
void StopGdiplus(ULONG_PTR token);

// A 32-bit top-down DIB section selected into its own memory DC. Pixels are
// 0xAARRGGBB (premultiplied), rows top-down, `width` pixels per row.
struct DibSurface {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ previous = nullptr;
  uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
};

// Makes a zero-filled surface; false (and nothing to free) on failure.
bool CreateDibSurface(DibSurface& surface, int width, int height);
void DestroyDibSurface(DibSurface& surface);

}  // namespace draw
