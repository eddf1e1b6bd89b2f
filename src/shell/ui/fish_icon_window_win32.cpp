// "FishIconWnd": one species' flat figure on its rounded tile, next to the
// species' name in the settings window. The species number is the window's
// user data, set by the settings window.
#include "draw/gdiplus/gdiplus_graphics.h"
#include "draw/icons.h"
#include "ui/ui_win32.h"

LRESULT CALLBACK FishIconWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // the tile covers the window
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      RECT client;
      GetClientRect(window, &client);
      // Drawn by the toolkit's rasteriser into a DIB of its own, then copied.
      draw::DibSurface surface;
      if (draw::CreateDibSurface(surface, client.right, client.bottom)) {
        {
          draw::Graphics g =
              draw::MakeRasterGraphics({surface.pixels, surface.width, surface.height, surface.width});
          // The tile's rounded corners show the window's face colour around it.
          const COLORREF face = GetSysColor(COLOR_BTNFACE);
          draw::Clear(g, draw::Argb(255, GetRValue(face), GetGValue(face), GetBValue(face)));
          DrawSpeciesTile(g, int(GetWindowLongPtrW(window, GWLP_USERDATA)), client.right, client.bottom);
        }
        BitBlt(dc, 0, 0, client.right, client.bottom, surface.dc, 0, 0, SRCCOPY);
        draw::DestroyDibSurface(surface);
      }
      EndPaint(window, &paint);
      return 0;
    }
  }
  return DefWindowProcW(window, message, wParam, lParam);
}
