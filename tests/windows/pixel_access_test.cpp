// Direct access to the pixels under a GDI+ graphics: the 32-bit DIB section
// selected into its DC, whichever way up its rows lie, and nothing where
// there is no such section (the frame is then drawn by GDI+ itself).
#include <gtest/gtest.h>

#include <vector>

#include "scene/scene.h"
#include "windows/gdiplus_render.h"

using namespace draw;

namespace {

// A DIB section of the given bit depth, top-down or bottom-up, in its own DC.
struct Section {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ previous = nullptr;
  void* bits = nullptr;

  Section(int width, int height, bool topDown, int bitCount = 32) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = topDown ? -height : height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = WORD(bitCount);
    info.bmiHeader.biCompression = BI_RGB;
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    previous = SelectObject(dc, bitmap);
  }
  ~Section() {
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  uint32_t* Pixels() const { return static_cast<uint32_t*>(bits); }
};

Aquarium SmallAquarium() {
  Aquarium aquarium;
  aquarium.elapsed = 1.5;
  aquarium.lightRays = {{120, 50, 0.1f, 1, 0.3f, 14}};
  aquarium.bubbles = {{200, 120, 8, 30, 0, 1}};
  Creature fish;
  fish.x = 150;
  fish.y = 90;
  fish.vx = 30;
  fish.size = 24;
  fish.color1 = 0xFF8020;
  fish.color2 = 0xFFD040;
  fish.color3 = 0xFFFFFF;
  aquarium.creatures = {fish};
  return aquarium;
}

}  // namespace

TEST(GdiplusPixels, TopDownSectionWithWhatGdiplusDrewAndUnchangedByTheLook) {
  ASSERT_TRUE(EnsureGdiplus());
  const int w = 40, h = 30;
  Section section(w, h, true);
  ASSERT_NE(section.bits, nullptr);
  for (int i = 0; i < w * h; ++i) section.Pixels()[i] = 0xFF000000u | uint32_t(i);
  Graphics g = MakeGdiplusGraphics(section.dc);
  FillRectangleI(g, SolidBrush(0xFFFF0000), 10, 20, 5, 5);  // drawn by GDI+ before the look
  PixelBuffer pixels;
  ASSERT_TRUE(AccessPixels(g, pixels));
  EXPECT_EQ(pixels.pixels, section.Pixels());
  EXPECT_EQ(pixels.width, w);
  EXPECT_EQ(pixels.height, h);
  EXPECT_EQ(pixels.stride, w);
  EXPECT_EQ(pixels.pixels[22 * w + 12] & 0xFFFFFF, 0xFF0000u) << ColorText(pixels.pixels[22 * w + 12]);
  // Outside the square every pixel keeps its value, the corners GDI was asked about included.
  for (int i : {0, w - 1, (h - 1) * w, w * h - 1, 5 * w + 5})
    EXPECT_EQ(section.Pixels()[i], 0xFF000000u | uint32_t(i));
}

TEST(GdiplusPixels, BottomUpSectionDrawsTheSameFrame) {
  ASSERT_TRUE(EnsureGdiplus());
  const int w = 320, h = 200;
  const Aquarium aquarium = SmallAquarium();
  Section topDown(w, h, true), bottomUp(w, h, false);
  ASSERT_NE(topDown.bits, nullptr);
  ASSERT_NE(bottomUp.bits, nullptr);
  for (Section* section : {&topDown, &bottomUp}) {
    Graphics g = MakeGdiplusGraphics(section->dc);
    PixelBuffer pixels;
    ASSERT_TRUE(AccessPixels(g, pixels));
    EXPECT_EQ(pixels.stride, section == &topDown ? w : -w);
    RenderScene(aquarium, 1, g, w, h);
    EXPECT_EQ(g.lastStatus, kStatusOk);
  }
  GdiFlush();
  int differing = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      differing += topDown.Pixels()[y * w + x] != bottomUp.Pixels()[(h - 1 - y) * w + x];
  EXPECT_EQ(differing, 0);
  EXPECT_NE(topDown.Pixels()[0], topDown.Pixels()[(h - 1) * w]) << "surface above, sand below";
}

TEST(GdiplusPixels, NoSectionNoAccessAndGdiplusDrawsTheFrame) {
  ASSERT_TRUE(EnsureGdiplus());
  const int w = 600, h = 200;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP device = CreateCompatibleBitmap(screen, w, h);  // a device bitmap: no bits to reach
  ReleaseDC(nullptr, screen);
  HGDIOBJ previous = SelectObject(dc, device);
  {
    Graphics g = MakeGdiplusGraphics(dc);
    PixelBuffer pixels;
    EXPECT_FALSE(AccessPixels(g, pixels));
    RenderScene(SmallAquarium(), 1, g, w, h);
    EXPECT_EQ(g.lastStatus, kStatusOk);
  }
  // The sand at the bottom edge, clear of the rocks, drawn by GDI+ itself.
  for (int x : {20, w - 3}) {
    const COLORREF sand = GetPixel(dc, x, h - 1);
    EXPECT_NEAR(GetRValue(sand), 0x87, 8) << "x " << x;
    EXPECT_NEAR(GetGValue(sand), 0x7C, 8) << "x " << x;
  }
  SelectObject(dc, previous);
  DeleteObject(device);
  DeleteDC(dc);

  Section rgb24(w, h, true, 24);  // a section, but not of 32-bit pixels
  ASSERT_NE(rgb24.bits, nullptr);
  Graphics g = MakeGdiplusGraphics(rgb24.dc);
  PixelBuffer pixels;
  EXPECT_FALSE(AccessPixels(g, pixels));
}
