// "FishIconWnd": one species' flat figure on its rounded tile, next to the
// species' name in the settings window. The species number is the window's
// user data.
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
      {
        draw::Graphics g = draw::MakeGdiplusGraphics(dc);
        DrawSpeciesTile(g, int(GetWindowLongPtrW(window, GWLP_USERDATA)), client.right, client.bottom);
      }
      EndPaint(window, &paint);
      return 0;
    }
  }
  return DefWindowProcW(window, message, wParam, lParam);
}
