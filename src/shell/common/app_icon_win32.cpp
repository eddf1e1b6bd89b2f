// The icon figure drawn by the toolkit's rasteriser straight into a 32-bit
// DIB section, made into an icon.
#include "common/app_icon_win32.h"

#include <vector>

#include "draw/gdiplus/gdiplus_graphics.h"
#include "draw/icons.h"

HICON CreateAppIcon(int size) {
  draw::DibSurface surface;
  if (!draw::CreateDibSurface(surface, size, size)) return nullptr;
  {
    draw::Graphics g = draw::MakeRasterGraphics({surface.pixels, size, size, size});
    DrawAppIconFigure(g, size);
  }

  // The mask is 1 where the picture is fully transparent, for the places that
  // draw icons without their alpha channel. Rows are padded to 16 bits.
  const int maskStride = ((size + 15) / 16) * 2;
  std::vector<BYTE> maskBits(size_t(maskStride) * size, 0);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      if ((surface.pixels[size_t(y) * size + x] >> 24) == 0)
        maskBits[size_t(y) * maskStride + x / 8] |= BYTE(0x80 >> (x % 8));
    }
  }
  HBITMAP mask = CreateBitmap(size, size, 1, 1, maskBits.data());

  HICON icon = nullptr;
  SelectObject(surface.dc, surface.previous);  // an icon's bitmaps must not be in a DC
  if (mask != nullptr) {
    ICONINFO iconInfo = {};
    iconInfo.fIcon = TRUE;
    iconInfo.hbmMask = mask;
    iconInfo.hbmColor = surface.bitmap;
    icon = CreateIconIndirect(&iconInfo);  // copies both bitmaps
    DeleteObject(mask);
  }
  draw::DestroyDibSurface(surface);
  return icon;
}
