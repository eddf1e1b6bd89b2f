// Renders through the GDI+ backend into a RenderBuffer.
#pragma once

#include <cstring>

#include "common/render_buffer.h"
#include "draw/gdiplus/gdiplus_graphics.h"

// GDI+ stays started for the rest of the test process.
inline bool EnsureGdiplus() {
  static const ULONG_PTR token = draw::StartGdiplus();
  return token != 0;
}

// Wine's GDI+ differs from Windows' where tests must know: it weights gradient
// colours by alpha and does not anti-alias.
inline bool RunningUnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

inline RenderBuffer RenderWithGdiplus(int width, int height, const DrawFn& drawing) {
  RenderBuffer buffer;
  draw::DibSurface surface;
  if (!EnsureGdiplus() || !draw::CreateDibSurface(surface, width, height)) return buffer;
  {
    draw::Graphics g = draw::MakeGdiplusGraphics(surface.dc);
    drawing(g);
  }
  GdiFlush();
  buffer.width = width;
  buffer.height = height;
  buffer.pixels.assign(surface.pixels, surface.pixels + size_t(width) * size_t(height));
  draw::DestroyDibSurface(surface);
  return buffer;
}
