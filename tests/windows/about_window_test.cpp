// The About window: one at a time, the website link's hot rectangle, the
// hand cursor, Escape, and painted text whatever fonts the system has.
#include <gtest/gtest.h>

#include "policy/tray_menu.h"
#include "base/log.h"
#include "windows/ui_test_support.h"

namespace {

class AboutWindow : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    CreateMessageWindow();
    Command(kMenuCommandAbout);
    window = app.ui.aboutWindow;
    ASSERT_NE(window, nullptr);
  }
  void ReleaseAt(int x, int y) { SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y)); }
  HWND window = nullptr;
};

size_t Count(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

TEST_F(AboutWindow, OpensOnceAndComesBackAfterEscape) {
  EXPECT_EQ(TextOf(window), L"About Tidemere");
  EXPECT_TRUE(IsWindowVisible(window));
  RECT outer;
  GetWindowRect(window, &outer);
  EXPECT_EQ(outer.right - outer.left, 440);
  EXPECT_EQ(outer.bottom - outer.top, 290);
  EXPECT_NE(SendMessageW(window, WM_GETICON, ICON_SMALL, 0), 0) << "icon 101";

  Command(kMenuCommandAbout);
  EXPECT_EQ(app.ui.aboutWindow, window);
  EXPECT_EQ(WindowsOfClass(kAboutWindowClass).size(), 1u);
  EXPECT_EQ(Count(Log(), ToUtf8(L"关于对话框已打开")), 1u);

  SendMessageW(window, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_TRUE(IsWindow(window)) << "other keys do nothing";
  SendMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(app.ui.aboutWindow, nullptr);

  Command(kMenuCommandAbout);
  EXPECT_NE(app.ui.aboutWindow, nullptr);
  EXPECT_EQ(WindowsOfClass(kAboutWindowClass).size(), 1u);
  EXPECT_EQ(Count(Log(), ToUtf8(L"关于对话框已打开")), 2u);
}

TEST_F(AboutWindow, LinkRectangleOpensTheWebsite) {
  // The corners of the hot rectangle, inclusive.
  for (POINT p : {POINT{130, 178}, POINT{280, 198}, POINT{130, 198}, POINT{280, 178}, POINT{200, 188}}) {
    shellExecutes.clear();
    ReleaseAt(p.x, p.y);
    ASSERT_EQ(shellExecutes.size(), 1u) << p.x << "," << p.y;
    EXPECT_EQ(shellExecutes[0].window, nullptr);
    EXPECT_EQ(shellExecutes[0].verb, L"open");
    EXPECT_EQ(shellExecutes[0].file, L"https://tidemere.app/");
    EXPECT_FALSE(shellExecutes[0].parameters);
    EXPECT_EQ(shellExecutes[0].show, SW_SHOWNORMAL);
  }
  shellExecutes.clear();
  // Just outside each edge.
  for (POINT p : {POINT{129, 180}, POINT{200, 199}, POINT{281, 190}, POINT{200, 177}}) ReleaseAt(p.x, p.y);
  SendMessageW(window, WM_LBUTTONDOWN, 0, MAKELPARAM(200, 188));
  EXPECT_TRUE(shellExecutes.empty()) << "pressing alone, or outside the rectangle, opens nothing";
}

TEST_F(AboutWindow, HandCursorOnlyOverTheLink) {
  auto CursorAt = [&](int x, int y) {
    POINT point = {x, y};
    ClientToScreen(window, &point);
    SetCursorPos(point.x, point.y);
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    LRESULT handled = SendMessageW(window, WM_SETCURSOR, WPARAM(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return handled && GetCursor() == LoadCursorW(nullptr, IDC_HAND);
  };
  EXPECT_TRUE(CursorAt(130, 178));
  EXPECT_TRUE(CursorAt(280, 198));
  EXPECT_FALSE(CursorAt(129, 188));
  EXPECT_FALSE(CursorAt(200, 199));
}

// How many pixels of a region differ from the background of their row, taken
// near the right edge where nothing is written (the band is a vertical gradient).
int Ink(const Picture& picture, int left, int top, int right, int bottom) {
  int count = 0;
  for (int y = top; y < bottom; ++y) {
    const uint32_t background = picture.At(picture.width - 6, y);
    for (int x = left; x < right; ++x) count += picture.At(x, y) != background;
  }
  return count;
}

TEST_F(AboutWindow, PaintsBandIconAndEveryTextRow) {
  // "Segoe UI" is missing under Wine, and so is GDI+'s generic sans-serif
  // family: the text must be there all the same.
  Picture picture = CaptureClient(window);
  ASSERT_GT(picture.width, 400);
  SaveScreenshot(CaptureWindow(window), L"about-window.png");
  EXPECT_TRUE(ColorNear(picture.At(300, 2), 0x1E508C)) << "the band's top colour";
  EXPECT_NE(picture.At(70, 70), picture.At(300, 70)) << "the icon on the band";
  const uint32_t face = GetSysColor(COLOR_BTNFACE);
  const uint32_t buttonFace = (face & 0xFF) << 16 | (face & 0xFF00) | (face >> 16 & 0xFF);
  EXPECT_EQ(picture.At(10, 260), buttonFace) << "below the band the class background";

  EXPECT_GT(Ink(picture, 140, 24, 300, 56), 100) << "\"Tidemere\"";
  EXPECT_GT(Ink(picture, 142, 62, 360, 78), 50) << "description";
  EXPECT_GT(Ink(picture, 142, 84, 230, 98), 20) << "version";
  for (int row : {150, 178, 206}) {
    EXPECT_GT(Ink(picture, 40, row - 1, 120, row + 16), 20) << "label of row " << row;
    EXPECT_GT(Ink(picture, 130, row - 1, 330, row + 16), 20) << "value of row " << row;
  }
  EXPECT_GT(Ink(picture, 40, 231, 300, 246), 20) << "hint";
}

TEST_F(UiTest, AppIconIsTheFigureOnATransparentSquare) {
  for (int size : {16, 32, 96}) {
    SCOPED_TRACE(size);
    HICON icon = CreateAppIcon(size);
    ASSERT_NE(icon, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    EXPECT_TRUE(info.fIcon);
    BITMAP bitmap = {};
    GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
    EXPECT_EQ(bitmap.bmWidth, size);
    EXPECT_EQ(bitmap.bmHeight, size);
    EXPECT_EQ(bitmap.bmBitsPixel, 32);
    // Read the colour bitmap back: transparent corners, an opaque blue badge.
    std::vector<uint32_t> pixels(size_t(size) * size);
    BITMAPINFO header = {};
    header.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    header.bmiHeader.biWidth = size;
    header.bmiHeader.biHeight = -size;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, info.hbmColor, 0, size, pixels.data(), &header, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(pixels[0] >> 24, 0u);
    EXPECT_EQ(pixels[size_t(size) * size - 1] >> 24, 0u);
    // Near the top of the badge, left of the dorsal fin (whose anti-aliased
    // edge reaches the middle column at 16 pixels).
    const uint32_t badge = pixels[size_t(size / 8 + 3) * size + size / 4];
    EXPECT_EQ(badge >> 24, 0xFFu);
    EXPECT_GT(badge & 0xFF, (badge >> 16) & 0xFF) << "blue";
    // The mask marks the transparent corners for places that ignore alpha.
    std::vector<uint8_t> mask(size_t((size + 31) / 32 * 4) * size);
    struct {
      BITMAPINFOHEADER header;
      RGBQUAD colors[2];
    } maskInfo = {};
    maskInfo.header = header.bmiHeader;
    maskInfo.header.biBitCount = 1;
    screen = GetDC(nullptr);
    GetDIBits(screen, info.hbmMask, 0, size, mask.data(), reinterpret_cast<BITMAPINFO*>(&maskInfo),
              DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    EXPECT_TRUE(mask[0] & 0x80) << "top left corner transparent";
    const size_t stride = (size + 31) / 32 * 4;
    EXPECT_FALSE(mask[size_t(size / 2) * stride + size / 16] & (0x80 >> ((size / 2) % 8))) << "centre opaque";
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    EXPECT_TRUE(DestroyIcon(icon));
  }
  EXPECT_EQ(CreateAppIcon(0), nullptr);
}

TEST_F(UiTest, SpeciesIconWindowsPaintTheirTileAndFigure) {
  CreateMessageWindow();
  Command(kMenuCommandSettings);
  ASSERT_NE(app.ui.settingsWindow, nullptr);
  Picture picture = CaptureClient(app.ui.settingsWindow);
  ASSERT_GT(picture.width, 1000);
  // Tropical Fish (species 0) at (30, 76): pale blue tile top, its orange body at the centre.
  EXPECT_TRUE(ColorNear(picture.At(30 + 41, 76 + 3), 0xDCEBFA)) << std::hex << picture.At(71, 79);
  EXPECT_TRUE(ColorNear(picture.At(30 + 41 - 4, 76 + 27), 0xFF6B35)) << std::hex << picture.At(67, 103);
  // Shark (species 5) at (295, 76): its steel-blue body.
  EXPECT_TRUE(ColorNear(picture.At(295 + 41, 76 + 27), 0x4682B4)) << std::hex << picture.At(336, 103);
}

}  // namespace
