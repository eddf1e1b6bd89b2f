// The application icon painted at run time: the icon figure drawn with GDI+
// into a 32-bit DIB and made into an icon.
#include <vector>

#include "draw/gdiplus/gdiplus_graphics.h"
#include "draw/icons.h"
#include "ui/ui_win32.h"

HICON CreateAppIcon(int size) {
  if (size <= 0) return nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);

  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = size;
  info.bmiHeader.biHeight = -size;  // rows top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP color = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = color ? SelectObject(memory, color) : nullptr;

  if (color != nullptr) {
    Graphics g = MakeGdiplusGraphics(memory);
    DrawAppIconFigure(g, size);
  }
  GdiFlush();

  // The mask is 1 where the picture is fully transparent, for the places that
  // draw icons without their alpha channel. Rows are padded to 16 bits.
  const int maskStride = ((size + 15) / 16) * 2;
  std::vector<BYTE> maskBits(size_t(maskStride) * size, 0);
  if (bits != nullptr) {
    const auto* pixels = static_cast<const uint32_t*>(bits);
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        if ((pixels[size_t(y) * size + x] >> 24) == 0)
          maskBits[size_t(y) * maskStride + x / 8] |= BYTE(0x80 >> (x % 8));
      }
    }
  }
  HBITMAP mask = CreateBitmap(size, size, 1, 1, maskBits.data());

  HICON icon = nullptr;
  if (color != nullptr && mask != nullptr) {
    ICONINFO iconInfo = {};
    iconInfo.fIcon = TRUE;
    iconInfo.hbmMask = mask;
    iconInfo.hbmColor = color;
    icon = CreateIconIndirect(&iconInfo);  // copies both bitmaps
  }

  if (previous != nullptr) SelectObject(memory, previous);
  if (color != nullptr) DeleteObject(color);
  if (mask != nullptr) DeleteObject(mask);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return icon;
}
