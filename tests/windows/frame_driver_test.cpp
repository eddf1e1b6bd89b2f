// The frame driver, the GDI presenter, the wallpaper window's placement and
// the pointer hook, on real windows under Wine.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/app_win32.h"
#include "app/screensaver_win32.h"
#include "base/log.h"
#include "base/clock.h"
#include "base/program_path_win32.h"
#include "common/globals_win32.h"
#include "common/names_win32.h"
#include "desktop/desktop_host_win32.h"
#include "desktop/frame_driver_win32.h"
#include "desktop/lifecycle_win32.h"
#include "desktop/pointer_hook_win32.h"
#include "desktop/presenter_win32.h"
#include "desktop/wallpaper_window_win32.h"
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
    app.presenter.kind = PresenterKind::kGdi;
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
  app.desktop.wallpaperWindow = Make(L"TestWallpaperWnd");  // 200 x 100
  Paint(app.desktop.wallpaperWindow, RGB(255, 0, 255));
  RenderFrame(app);
  ASSERT_NE(app.frame.backBufferBits, nullptr);
  ASSERT_EQ(app.frame.backBufferWidth, 200);
  ASSERT_EQ(app.frame.backBufferHeight, 100);
  GdiFlush();
  const std::vector<uint32_t> shown = ReadWindowPixels(app.desktop.wallpaperWindow, 200, 100);
  ASSERT_EQ(shown.size(), 200u * 100u);
  int same = 0;
  for (int i = 0; i < 200 * 100; ++i) same += shown[i] == (app.frame.backBufferBits[i] & 0xFFFFFF);
  EXPECT_GE(same, 200 * 100 * 99 / 100) << "the window shows what the back buffer holds";
  EXPECT_NE(shown[100 * 50 + 100], 0xFF00FFu) << "the test colour is gone";
}

TEST_F(FrameDriver, LaterFramesCopyOnlyWhatChangedAndTheWindowKeepsUp) {
  HWND window = Make(L"TestWallpaperWnd");
  app.desktop.wallpaperWindow = window;
  SetWindowPos(window, nullptr, 0, 0, 480, 320, SWP_NOZORDER | SWP_NOACTIVATE);
  RenderFrame(app);  // the first frame: all of it
  double least = 1;
  for (int i = 0; i < 6; ++i) {
    Sleep(16);
    app.frame.loop.windowCopied = app.frame.loop.windowPixels = 0;
    RenderFrame(app);
    least = std::min(least, app.frame.loop.windowCopied / app.frame.loop.windowPixels);
  }
  EXPECT_LT(least, 0.9) << "only the changed part of a frame is copied";
  GdiFlush();
  const std::vector<uint32_t> shown = ReadWindowPixels(window, 480, 320);
  ASSERT_EQ(shown.size(), 480u * 320u);
  int same = 0;
  for (int i = 0; i < 480 * 320; ++i) same += shown[i] == (app.frame.backBufferBits[i] & 0xFFFFFF);
  EXPECT_GE(same, 480 * 320 * 99 / 100) << "the window shows what the back buffer holds";
}

TEST_F(FrameDriver, NothingIsPresentedWithoutABackBuffer) {
  app.desktop.wallpaperWindow = Make(L"TestWallpaperWnd");
  Paint(app.desktop.wallpaperWindow, RGB(255, 0, 255));
  // A memory DC whose DIB was never made: nothing to show yet.
  draw::DibSurface other;
  ASSERT_TRUE(draw::CreateDibSurface(other, 200, 100));
  app.frame.memoryDc = other.dc;
  PresentFrame(app, 200, 100);
  app.frame.memoryDc = nullptr;
  draw::DestroyDibSurface(other);
  const std::vector<uint32_t> shown = ReadWindowPixels(app.desktop.wallpaperWindow, 200, 100);
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown[0], 0xFF00FFu);
  EXPECT_EQ(shown[200 * 100 - 1], 0xFF00FFu);
}

TEST_F(FrameDriver, EmptyClientAreaRendersAndCountsNothing) {
  app.desktop.wallpaperWindow = Make(L"TestWallpaperWnd");
  SetWindowPos(app.desktop.wallpaperWindow, nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE);
  const int before = app.frame.loop.framesRendered;
  const int64_t clock = app.frame.view.lastFrameTime;
  for (int i = 0; i < 3; ++i) RenderFrame(app);
  EXPECT_EQ(app.frame.loop.framesRendered, before);
  EXPECT_EQ(app.frame.memoryDc, nullptr);
  EXPECT_FALSE(app.aquarium.populated);
  EXPECT_EQ(app.aquarium.elapsed, 0.0);
  EXPECT_EQ(app.frame.view.lastFrameTime, clock);
}

TEST_F(FrameDriver, BackBufferIsReusedAndRemadeOnlyForANewSize) {
  app.desktop.wallpaperWindow = Make(L"TestWallpaperWnd");
  const int before = app.frame.loop.framesRendered;
  RenderFrame(app);
  const HDC dc = app.frame.memoryDc;
  const HBITMAP bitmap = app.frame.backBuffer;
  const uint32_t* bits = app.frame.backBufferBits;
  RenderFrame(app);
  EXPECT_EQ(app.frame.memoryDc, dc);
  EXPECT_EQ(app.frame.backBuffer, bitmap);
  EXPECT_EQ(app.frame.backBufferBits, bits);
  EXPECT_EQ(app.frame.loop.framesRendered, before + 2);
  EXPECT_TRUE(app.aquarium.populated);
  EXPECT_GT(app.aquarium.elapsed, 0.0);

  SetWindowPos(app.desktop.wallpaperWindow, nullptr, 0, 0, 120, 80, SWP_NOZORDER | SWP_NOACTIVATE);
  RenderFrame(app);
  EXPECT_EQ(app.frame.backBufferWidth, 120);
  EXPECT_EQ(app.frame.backBufferHeight, 80);
  BITMAP info = {};
  ASSERT_NE(GetObjectW(app.frame.backBuffer, sizeof(info), &info), 0);
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
  app.desktop.progmanWindow = parent;
  app.instance = GetModuleHandleW(nullptr);
  CreateWallpaperWindow(app);
  ASSERT_NE(app.desktop.wallpaperWindow, nullptr);
  EXPECT_EQ(GetParent(app.desktop.wallpaperWindow), parent);
  RECT placed = WindowRect(app.desktop.wallpaperWindow);
  EXPECT_EQ(placed.left, screen.left);
  EXPECT_EQ(placed.top, screen.top);
  EXPECT_EQ(placed.right, screen.right);
  EXPECT_EQ(placed.bottom, screen.bottom);

  // A display change puts it back over the virtual screen, and the next
  // frame draws at the new size.
  SetWindowPos(app.desktop.wallpaperWindow, nullptr, 10, 10, 64, 48, SWP_NOZORDER | SWP_NOACTIVATE);
  RenderFrame(app);
  ASSERT_EQ(app.frame.backBufferWidth, 64);
  SendMessageW(app.desktop.wallpaperWindow, WM_DISPLAYCHANGE, 32, MAKELPARAM(screen.right, screen.bottom));
  placed = WindowRect(app.desktop.wallpaperWindow);
  EXPECT_EQ(placed.left, screen.left);
  EXPECT_EQ(placed.top, screen.top);
  EXPECT_EQ(placed.right, screen.right);
  EXPECT_EQ(app.frame.view.fullFrame, FullFrameReason::kDisplayChange) << "the next frame is new and whole";
  RenderFrame(app);
  EXPECT_EQ(app.frame.backBufferWidth, screen.right - screen.left);
  EXPECT_EQ(app.frame.backBufferHeight, screen.bottom - screen.top);

  DestroyWindow(app.desktop.wallpaperWindow);
}

TEST_F(FrameDriver, DisplayChangeContentFollowsTheNewSize) {
  app.instance = GetModuleHandleW(nullptr);
  CreateWallpaperWindow(app);  // no shell: a top-level window over the virtual screen
  ASSERT_NE(app.desktop.wallpaperWindow, nullptr);
  ASSERT_EQ(app.presenter.kind, PresenterKind::kGdi) << "Wine has no DirectComposition";
  SetWindowPos(app.desktop.wallpaperWindow, HWND_TOPMOST, 0, 0, 96, 64, SWP_NOACTIVATE);
  RenderFrame(app);
  ASSERT_EQ(app.frame.backBufferWidth, 96);

  SendMessageW(app.desktop.wallpaperWindow, WM_DISPLAYCHANGE, 32, 0);
  RenderFrame(app);
  const RECT screen = VirtualScreenRect();
  const int width = screen.right - screen.left, height = screen.bottom - screen.top;
  ASSERT_EQ(app.frame.backBufferWidth, width);
  GdiFlush();
  // Far beyond the old size, the window shows the new frame: not cropped.
  const std::vector<uint32_t> shown = ReadWindowPixels(app.desktop.wallpaperWindow, width, height);
  ASSERT_EQ(shown.size(), size_t(width) * size_t(height));
  int same = 0, probes = 0;
  for (int y = height / 2; y < height; y += 7)
    for (int x = width / 2; x < width; x += 7, ++probes)
      same += shown[size_t(y) * width + x] == (app.frame.backBufferBits[size_t(y) * width + x] & 0xFFFFFF);
  EXPECT_GE(same, probes * 99 / 100);

  DestroyWindow(app.desktop.wallpaperWindow);
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

void SendPointer(int x, int y, DWORD buttonFlags, ULONG_PTR tag = 0) {
  INPUT input = {};
  input.mi.dwExtraInfo = tag;
  input.type = INPUT_MOUSE;
  // Absolute coordinates are 0..65535 over the primary screen.
  input.mi.dx = LONG((x * 65535 + GetSystemMetrics(SM_CXSCREEN) / 2) / (GetSystemMetrics(SM_CXSCREEN) - 1));
  input.mi.dy = LONG((y * 65535 + GetSystemMetrics(SM_CYSCREEN) / 2) / (GetSystemMetrics(SM_CYSCREEN) - 1));
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttonFlags;
  SendInput(1, &input, sizeof(input));
}

}  // namespace

namespace {

// A tick at which a frame is due, however soon after the last one: it
// takes what the hook heard.
void TickDue(WallpaperApp& app) {
  app.frame.loop.pacer = FramePacer();
  OnTimerTick(app);
}

}  // namespace

TEST_F(FrameDriver, PointerHookFeedsTheAquariumAndPassesEveryEventOn) {
  app.desktop.wallpaperWindow = Make(L"TestWallpaperWnd");
  SetWindowPos(app.desktop.wallpaperWindow, nullptr, 50, 40, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  seenByLaterHook.clear();
  // Installed first, so it is called after ours: it sees what ours passes on.
  HHOOK observer = SetWindowsHookExW(WH_MOUSE_LL, ObserverHook, GetModuleHandleW(nullptr), 0);
  hookApp = &app;
  HHOOK hook = SetWindowsHookExW(WH_MOUSE_LL, MouseHookProc, GetModuleHandleW(nullptr), 0);
  ASSERT_NE(observer, nullptr);
  ASSERT_NE(hook, nullptr);

  SendPointer(150, 90, 0);
  Pump(300);
  EXPECT_FALSE(app.aquarium.pointerKnown) << "the hook only hands the event on";
  TickDue(app);
  EXPECT_TRUE(app.aquarium.pointerKnown);
  EXPECT_EQ(app.aquarium.pointerX, 100.0f) << "in the wallpaper window's client coordinates";
  EXPECT_EQ(app.aquarium.pointerY, 50.0f);

  auto ClickBubbles = [this] {
    size_t count = 0;
    for (const Bubble& b : app.aquarium.bubbles) count += b.fromClick;
    return count;
  };
  int restacks = 0;
  SendPointer(150, 90, MOUSEEVENTF_LEFTDOWN);
  SendPointer(150, 90, MOUSEEVENTF_LEFTUP);
  Pump(300);
  TickDue(app);  // takes the click, then steps the frame (up to 0.1 s of rising)
  Pump(50, app.desktop.wallpaperWindow, &restacks);
  for (const Bubble& b : app.aquarium.bubbles) {
    if (!b.fromClick) continue;
    EXPECT_LE(std::abs(b.x - 100.0f), 32.0f);
    EXPECT_LE(b.y, 60.0f);
    EXPECT_GE(b.y, 50.0f - 10.0f - 0.1f * 150.0f);
  }
  const size_t burst = ClickBubbles();
  EXPECT_GE(burst, 15u);
  EXPECT_LE(burst, 25u);
  EXPECT_EQ(restacks, 1) << "a press asks the window to restack once";

  // While resting no burst piles up: nothing would step its bubbles.
  app.lifecycle.visibility.sessionLocked = true;
  SendPointer(150, 90, MOUSEEVENTF_LEFTDOWN);
  SendPointer(150, 90, MOUSEEVENTF_LEFTUP);
  Pump(300);
  TickDue(app);
  EXPECT_EQ(ClickBubbles(), burst);
  app.lifecycle.visibility.sessionLocked = false;

  // Without an application the hook only passes events on.
  hookApp = nullptr;
  SendPointer(150, 90, MOUSEEVENTF_LEFTDOWN);
  SendPointer(150, 90, MOUSEEVENTF_LEFTUP);
  Pump(300);
  PointerPoint none;
  EXPECT_EQ(TakePointerClicks(app.desktop.pointerInbox, &none, 1), 0);

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
  EXPECT_EQ(downs, 3);
  EXPECT_EQ(ups, 3);
  EXPECT_GE(moves, 1);
}

namespace {

// Another program's low-level hook, on a thread of its own: when each tagged
// event reached it.
struct Observer {
  static constexpr int kEvents = 40;
  int64_t seenAt[kEvents + 1] = {};
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  DWORD threadId = 0;
};
Observer* observing = nullptr;

LRESULT CALLBACK TimingHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code >= 0 && observing != nullptr) {
    const ULONG_PTR tag = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam)->dwExtraInfo;
    if (tag >= 1 && tag <= ULONG_PTR(Observer::kEvents) && observing->seenAt[tag] == 0)
      observing->seenAt[tag] = MonotonicNanoseconds();
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

DWORD WINAPI ObserverThread(void* parameter) {
  auto* observer = static_cast<Observer*>(parameter);
  MSG message;
  PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
  HHOOK hook = SetWindowsHookExW(WH_MOUSE_LL, TimingHook, GetModuleHandleW(nullptr), 0);
  SetEvent(observer->ready);
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  UnhookWindowsHookEx(hook);
  return 0;
}

struct Injection {
  int64_t sentAt[Observer::kEvents + 1] = {};
};

DWORD WINAPI InjectorThread(void* parameter) {
  auto* injection = static_cast<Injection*>(parameter);
  for (int tag = 1; tag <= Observer::kEvents; ++tag) {
    injection->sentAt[tag] = MonotonicNanoseconds();
    const bool click = tag == Observer::kEvents / 2;
    SendPointer(200 + tag, 120, click ? MOUSEEVENTF_LEFTDOWN : 0, ULONG_PTR(tag));
    if (click) SendPointer(200 + tag, 120, MOUSEEVENTF_LEFTUP);
    Sleep(10);
  }
  return 0;
}

}  // namespace

TEST_F(FrameDriver, NoInputOfTheSystemWaitsForAStalledFrameThread) {
  app.desktop.wallpaperWindow = Make(L"TestWallpaperWnd");
  SetWindowPos(app.desktop.wallpaperWindow, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  app.instance = GetModuleHandleW(nullptr);
  // Another program's hook, installed before ours: it is called after ours,
  // so what delays ours delays it.
  Observer observer;
  observing = &observer;
  HANDLE observerThread = CreateThread(nullptr, 0, ObserverThread, &observer, 0, &observer.threadId);
  WaitForSingleObject(observer.ready, 5000);
  InstallPointerHook(app);
  ASSERT_NE(app.desktop.mouseHook, nullptr);
  TickDue(app);  // the first frame fills the aquarium

  // The frame thread (this one) is busy for half a second while the user
  // moves and clicks.
  Injection injection;
  HANDLE injector = CreateThread(nullptr, 0, InjectorThread, &injection, 0, nullptr);
  Sleep(500);
  WaitForSingleObject(injector, 5000);
  CloseHandle(injector);
  Sleep(100);

  int64_t worst = 0;
  int lost = 0;
  for (int tag = 1; tag <= Observer::kEvents; ++tag) {
    if (observer.seenAt[tag] == 0) {
      ++lost;
      continue;
    }
    worst = std::max(worst, observer.seenAt[tag] - injection.sentAt[tag]);
  }
  EXPECT_EQ(lost, 0) << "every event reaches the other program";
  EXPECT_LT(worst, 50 * int64_t(1000000)) << "worst delay " << worst / 1000 << " us";

  // Once the frame thread looks again, the click gives its burst.
  TickDue(app);
  size_t burst = 0;
  for (const Bubble& b : app.aquarium.bubbles) burst += b.fromClick;
  EXPECT_GE(burst, 15u);

  RemovePointerHook(app);
  EXPECT_EQ(app.desktop.mouseHook, nullptr);
  PostThreadMessageW(observer.threadId, WM_QUIT, 0, 0);
  WaitForSingleObject(observerThread, 5000);
  CloseHandle(observerThread);
  CloseHandle(observer.ready);
  observing = nullptr;
}

TEST(Screensaver, PreviewFillsItsWindowDrawsTakesNoInputAndEndsWithIt) {
  // What the screen saver settings give it: a window of theirs to draw into.
  HWND host = MakeWindow(L"TestPreviewHost", nullptr, true);
  SetWindowPos(host, HWND_TOPMOST, 20, 20, 152, 112, SWP_NOACTIVATE);
  RECT hostClient;
  GetClientRect(host, &hostClient);
  static Screensaver saver;
  saver.app.instance = GetModuleHandleW(nullptr);
  HWND preview = StartPreview(saver, host);
  ASSERT_NE(preview, nullptr);
  EXPECT_EQ(GetParent(preview), host);
  EXPECT_TRUE(IsWindowVisible(preview));
  EXPECT_TRUE(GetWindowLongPtrW(preview, GWL_STYLE) & WS_CHILD);
  EXPECT_TRUE(GetWindowLongPtrW(preview, GWL_EXSTYLE) & WS_EX_NOACTIVATE);
  RECT client = WindowRect(preview);
  EXPECT_EQ(client.right - client.left, hostClient.right);
  EXPECT_EQ(client.bottom - client.top, hostClient.bottom);
  EXPECT_EQ(saver.app.settings.fpsMode, kFpsPowerSaver) << "a low rate";
  EXPECT_GE(saver.app.frame.loop.framesRendered, 1) << "shown with its first frame";

  // The picture reaches the window: water, not a blank.
  const std::vector<uint32_t> shown = ReadWindowPixels(preview, hostClient.right, hostClient.bottom);
  ASSERT_FALSE(shown.empty());
  EXPECT_NE(shown.front(), shown.back()) << "the water column shades from top to bottom";
  EXPECT_NE(shown.front(), 0u);

  EXPECT_EQ(SendMessageW(preview, WM_MOUSEACTIVATE, WPARAM(host), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
            MA_NOACTIVATE);
  SendMessageW(preview, WM_KEYDOWN, VK_SPACE, 0);
  SendMessageW(preview, WM_LBUTTONDOWN, 0, 0);
  EXPECT_TRUE(IsWindow(preview)) << "a preview ignores input";

  DestroyWindow(host);
  EXPECT_FALSE(IsWindow(preview));
  MSG quit;
  EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "it ends with its window";
  ReleaseAll(saver.app);
  DrainMessages();
}
