// The frame driver, the GDI presenter, the wallpaper window's placement and
// the pointer hook, on real windows under Wine.
#include <gtest/gtest.h>

#include <vector>

#include "base/log.h"
#include "desktop/desktop_win32.h"
#include "desktop/pointer_hook_win32.h"
#include "windows/gdiplus_render.h"
#include "windows/win32_test_support.h"

namespace {

// The window's pixels as the screen shows them, 0x00RRGGBB.
std::vector<uint32_t> ReadWindowPixels(HWND window, int width, int height) {
  std::vector<uint32_t> pixels;
  draw::DibSurface copy;
  if (!draw::CreateDibSurface(copy, width, height)) return pixels;
  HDC dc = GetDC(window);
  BitBlt(copy.dc, 0, 0, width, height, dc, 0, 0, SRCCOPY);
  ReleaseDC(window, dc);
  GdiFlush();
  for (int i = 0; i < width * height; ++i) pixels.push_back(copy.pixels[i] & 0xFFFFFF);
  draw::DestroyDibSurface(copy);
  return pixels;
}

void Paint(HWND window, COLORREF color) {
  HDC dc = GetDC(window);
  HBRUSH brush = CreateSolidBrush(color);
  RECT rect;
  GetClientRect(window, &rect);
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
  ReleaseDC(window, dc);
}

// Runs this thread's messages for a while: low-level hooks are called while
// the installing thread waits for messages.
void Pump(int milliseconds, HWND restackTarget = nullptr, int* restacks = nullptr) {
  const DWORD end = GetTickCount() + DWORD(milliseconds);
  while (GetTickCount() < end) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (restacks && message.hwnd == restackTarget && message.message == WM_WALLPAPER_RESTACK) ++*restacks;
      DispatchMessageW(&message);
    }
  }
}

RECT WindowRect(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  return rect;
}

class FrameDriver : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(EnsureGdiplus());
    app.presenter = PresenterKind::kGdi;
    app.lastFrameTime = MonotonicNanoseconds();
  }
  void TearDown() override {
    ReleaseBackBuffer(app);
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) DestroyWindow(*it);
    DrainMessages();
    debugLogging = false;
  }
  HWND Make(const wchar_t* className, HWND parent = nullptr) {
    HWND window = MakeWindow(className, parent, true);
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    windows.push_back(window);
    return window;
  }
  WallpaperApp app;
  std::vector<HWND> windows;
};

}  // namespace

TEST_F(FrameDriver, GdiPresenterPutsTheBackBufferOnTheWindow) {
  app.wallpaperWindow = Make(L"TestWallpaperWnd");  // 200 x 100
  Paint(app.wallpaperWindow, RGB(255, 0, 255));
  RenderFrame(app);
  ASSERT_NE(app.backBufferBits, nullptr);
  ASSERT_EQ(app.backBufferWidth, 200);
  ASSERT_EQ(app.backBufferHeight, 100);
  GdiFlush();
  const std::vector<uint32_t> shown = ReadWindowPixels(app.wallpaperWindow, 200, 100);
  ASSERT_EQ(shown.size(), 200u * 100u);
  int same = 0;
  for (int i = 0; i < 200 * 100; ++i) same += shown[i] == (app.backBufferBits[i] & 0xFFFFFF);
  EXPECT_GE(same, 200 * 100 * 99 / 100) << "the window shows what the back buffer holds";
  EXPECT_NE(shown[100 * 50 + 100], 0xFF00FFu) << "the test colour is gone";
}

TEST_F(FrameDriver, NothingIsPresentedWithoutABackBuffer) {
  app.wallpaperWindow = Make(L"TestWallpaperWnd");
  Paint(app.wallpaperWindow, RGB(255, 0, 255));
  // A memory DC whose DIB was never made: nothing to show yet.
  draw::DibSurface other;
  ASSERT_TRUE(draw::CreateDibSurface(other, 200, 100));
  app.memoryDc = other.dc;
  PresentFrame(app, 200, 100);
  app.memoryDc = nullptr;
  draw::DestroyDibSurface(other);
  const std::vector<uint32_t> shown = ReadWindowPixels(app.wallpaperWindow, 200, 100);
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown[0], 0xFF00FFu);
  EXPECT_EQ(shown[200 * 100 - 1], 0xFF00FFu);
}

TEST_F(FrameDriver, EmptyClientAreaRendersAndCountsNothing) {
  app.wallpaperWindow = Make(L"TestWallpaperWnd");
  SetWindowPos(app.wallpaperWindow, nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE);
  const int before = FramesRendered();
  const int64_t clock = app.lastFrameTime;
  for (int i = 0; i < 3; ++i) RenderFrame(app);
  EXPECT_EQ(FramesRendered(), before);
  EXPECT_EQ(app.memoryDc, nullptr);
  EXPECT_FALSE(app.aquarium.populated);
  EXPECT_EQ(app.aquarium.elapsed, 0.0);
  EXPECT_EQ(app.lastFrameTime, clock);
}

TEST_F(FrameDriver, BackBufferIsReusedAndRemadeOnlyForANewSize) {
  app.wallpaperWindow = Make(L"TestWallpaperWnd");
  const int before = FramesRendered();
  RenderFrame(app);
  const HDC dc = app.memoryDc;
  const HBITMAP bitmap = app.backBuffer;
  const uint32_t* bits = app.backBufferBits;
  RenderFrame(app);
  EXPECT_EQ(app.memoryDc, dc);
  EXPECT_EQ(app.backBuffer, bitmap);
  EXPECT_EQ(app.backBufferBits, bits);
  EXPECT_EQ(FramesRendered(), before + 2);
  EXPECT_TRUE(app.aquarium.populated);
  EXPECT_GT(app.aquarium.elapsed, 0.0);

  SetWindowPos(app.wallpaperWindow, nullptr, 0, 0, 120, 80, SWP_NOZORDER | SWP_NOACTIVATE);
  RenderFrame(app);
  EXPECT_EQ(app.backBufferWidth, 120);
  EXPECT_EQ(app.backBufferHeight, 80);
  BITMAP info = {};
  ASSERT_NE(GetObjectW(app.backBuffer, sizeof(info), &info), 0);
  EXPECT_EQ(info.bmWidth, 120);
  EXPECT_EQ(info.bmHeight, 80);
  EXPECT_EQ(info.bmBitsPixel, 32);
}

// The wallpaper window with its own procedure, attached to a stand-in parent
// whose client area starts left of and above the screen, as Progman's does
// with a monitor left of the primary one.
TEST_F(FrameDriver, WallpaperWindowCoversTheVirtualScreenUnderAParentWithANegativeOrigin) {
  const RECT screen = VirtualScreenRect();
  HWND parent = Make(L"TestShellWnd");
  SetWindowPos(parent, nullptr, screen.left - 300, screen.top - 200, screen.right - screen.left + 300,
               screen.bottom - screen.top + 200, SWP_NOZORDER | SWP_NOACTIVATE);
  app.progmanWindow = parent;
  app.instance = GetModuleHandleW(nullptr);
  CreateWallpaperWindow(app);
  ASSERT_NE(app.wallpaperWindow, nullptr);
  EXPECT_EQ(GetParent(app.wallpaperWindow), parent);
  RECT placed = WindowRect(app.wallpaperWindow);
  EXPECT_EQ(placed.left, screen.left);
  EXPECT_EQ(placed.top, screen.top);
  EXPECT_EQ(placed.right, screen.right);
  EXPECT_EQ(placed.bottom, screen.bottom);

  // A display change puts it back over the virtual screen, and the next
  // frame draws at the new size.
  SetWindowPos(app.wallpaperWindow, nullptr, 10, 10, 64, 48, SWP_NOZORDER | SWP_NOACTIVATE);
  RenderFrame(app);
  ASSERT_EQ(app.backBufferWidth, 64);
  SendMessageW(app.wallpaperWindow, WM_DISPLAYCHANGE, 32, MAKELPARAM(screen.right, screen.bottom));
  placed = WindowRect(app.wallpaperWindow);
  EXPECT_EQ(placed.left, screen.left);
  EXPECT_EQ(placed.top, screen.top);
  EXPECT_EQ(placed.right, screen.right);
  EXPECT_EQ(app.backBufferWidth, 0) << "the display change forces a new back buffer";
  RenderFrame(app);
  EXPECT_EQ(app.backBufferWidth, screen.right - screen.left);
  EXPECT_EQ(app.backBufferHeight, screen.bottom - screen.top);

  DestroyWindow(app.wallpaperWindow);
}

TEST_F(FrameDriver, DisplayChangeContentFollowsTheNewSize) {
  app.instance = GetModuleHandleW(nullptr);
  CreateWallpaperWindow(app);  // no shell: a top-level window over the virtual screen
  ASSERT_NE(app.wallpaperWindow, nullptr);
  ASSERT_EQ(app.presenter, PresenterKind::kGdi) << "Wine has no DirectComposition";
  SetWindowPos(app.wallpaperWindow, HWND_TOPMOST, 0, 0, 96, 64, SWP_NOACTIVATE);
  RenderFrame(app);
  ASSERT_EQ(app.backBufferWidth, 96);

  SendMessageW(app.wallpaperWindow, WM_DISPLAYCHANGE, 32, 0);
  RenderFrame(app);
  const RECT screen = VirtualScreenRect();
  const int width = screen.right - screen.left, height = screen.bottom - screen.top;
  ASSERT_EQ(app.backBufferWidth, width);
  GdiFlush();
  // Far beyond the old size, the window shows the new frame: not cropped.
  const std::vector<uint32_t> shown = ReadWindowPixels(app.wallpaperWindow, width, height);
  ASSERT_EQ(shown.size(), size_t(width) * size_t(height));
  int same = 0, probes = 0;
  for (int y = height / 2; y < height; y += 7)
    for (int x = width / 2; x < width; x += 7, ++probes)
      same += shown[size_t(y) * width + x] == (app.backBufferBits[size_t(y) * width + x] & 0xFFFFFF);
  EXPECT_GE(same, probes * 99 / 100);

  DestroyWindow(app.wallpaperWindow);
}

namespace {

struct SeenEvent {
  WPARAM message;
  POINT point;
};
std::vector<SeenEvent> seenByLaterHook;

LRESULT CALLBACK ObserverHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code >= 0) seenByLaterHook.push_back({wParam, reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam)->pt});
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void SendPointer(int x, int y, DWORD buttonFlags) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  // Absolute coordinates are 0..65535 over the primary screen.
  input.mi.dx = LONG((x * 65535 + GetSystemMetrics(SM_CXSCREEN) / 2) / (GetSystemMetrics(SM_CXSCREEN) - 1));
  input.mi.dy = LONG((y * 65535 + GetSystemMetrics(SM_CYSCREEN) / 2) / (GetSystemMetrics(SM_CYSCREEN) - 1));
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttonFlags;
  SendInput(1, &input, sizeof(input));
}

}  // namespace

TEST_F(FrameDriver, PointerHookFeedsTheAquariumAndPassesEveryEventOn) {
  app.wallpaperWindow = Make(L"TestWallpaperWnd");
  SetWindowPos(app.wallpaperWindow, nullptr, 50, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  seenByLaterHook.clear();
  // Installed first, so it is called after ours: it sees what ours passes on.
  HHOOK observer = SetWindowsHookExW(WH_MOUSE_LL, ObserverHook, GetModuleHandleW(nullptr), 0);
  hookApp = &app;
  HHOOK hook = SetWindowsHookExW(WH_MOUSE_LL, MouseHookProc, GetModuleHandleW(nullptr), 0);
  ASSERT_NE(observer, nullptr);
  ASSERT_NE(hook, nullptr);

  SendPointer(150, 90, 0);
  Pump(300);
  EXPECT_TRUE(app.aquarium.pointerKnown);
  EXPECT_EQ(app.aquarium.pointerX, 100.0f) << "in the wallpaper window's client coordinates";
  EXPECT_EQ(app.aquarium.pointerY, 50.0f);
  EXPECT_TRUE(app.aquarium.bubbles.empty()) << "a move adds no bubbles";

  int restacks = 0;
  SendPointer(150, 90, MOUSEEVENTF_LEFTDOWN);
  SendPointer(150, 90, MOUSEEVENTF_LEFTUP);
  Pump(300, app.wallpaperWindow, &restacks);
  const size_t burst = app.aquarium.bubbles.size();
  EXPECT_GE(burst, 15u);
  EXPECT_LE(burst, 25u);
  for (const Bubble& b : app.aquarium.bubbles) {
    EXPECT_LE(std::abs(b.x - 100.0f), 30.0f);
    EXPECT_LE(std::abs(b.y - 50.0f), 10.0f);
  }
  EXPECT_EQ(restacks, 1) << "a press asks the window to restack once";

  // Without an application the hook only passes events on.
  hookApp = nullptr;
  SendPointer(150, 90, MOUSEEVENTF_LEFTDOWN);
  SendPointer(150, 90, MOUSEEVENTF_LEFTUP);
  Pump(300);
  EXPECT_EQ(app.aquarium.bubbles.size(), burst);

  UnhookWindowsHookEx(hook);
  UnhookWindowsHookEx(observer);
  int downs = 0, ups = 0, moves = 0;
  for (const SeenEvent& event : seenByLaterHook) {
    EXPECT_EQ(event.point.x, 150);
    EXPECT_EQ(event.point.y, 90);
    downs += event.message == WM_LBUTTONDOWN;
    ups += event.message == WM_LBUTTONUP;
    moves += event.message == WM_MOUSEMOVE;
  }
  EXPECT_EQ(downs, 2);
  EXPECT_EQ(ups, 2);
  EXPECT_GE(moves, 1);
}
