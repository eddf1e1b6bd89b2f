// The frame driver, the GDI presenter, the wallpaper window's placement and
// the pointer hook, on real windows under Wine.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h, which they build on
#include <d3d11.h>
#include <dcomp.h>
#include <wtsapi32.h>

// mingw-w64's dcomp.h declares no uuid for these three (the stand-in asks
// for them): as the Windows SDK gives them.
__CRT_UUID_DECL(IDCompositionSurface, 0xbb8a4953, 0x2c99, 0x4f5a, 0x96, 0xf5, 0x48, 0x19, 0x02, 0x7f, 0xa3,
                0xac);
__CRT_UUID_DECL(IDCompositionVisual, 0x4d93059d, 0x097b, 0x4651, 0x9a, 0x60, 0xf0, 0xf2, 0x51, 0x16, 0xe2,
                0xf3);
__CRT_UUID_DECL(IDCompositionTarget, 0xeacdd04c, 0x117e, 0x4e17, 0x88, 0xf4, 0xd1, 0xb1, 0x2b, 0x0e, 0x3d,
                0x89);

#include <algorithm>
#include <vector>

#include "app/app_win32.h"
#include "app/screensaver_win32.h"
#include "base/clock.h"
#include "base/log.h"
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

// A stand-in DirectComposition (Wine has none) that records what the
// presenter asks of it: the surfaces made, what each visual was given as its
// content, each BeginDraw's update and each commit.
struct CompositionRecord {
  std::vector<IUnknown*> surfaces;
  std::vector<IUnknown*> contents;
  std::vector<RECT> updates;
  int commits = 0;
};
CompositionRecord* composition = nullptr;

template <typename Interface>
struct Fake : Interface {
  ULONG refs = 1;
  virtual ~Fake() = default;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    *out = iid == __uuidof(IUnknown) || iid == __uuidof(Interface) ? this : nullptr;
    if (*out == nullptr) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs;
    if (left == 0) delete this;
    return left;
  }
};

#define NOT_USED(...)                              \
  HRESULT STDMETHODCALLTYPE __VA_ARGS__ override { \
    return E_NOTIMPL;                              \
  }

struct FakeSurface : Fake<IDCompositionSurface> {
  HRESULT STDMETHODCALLTYPE BeginDraw(const RECT* update, REFIID, void** surface, POINT* offset) override {
    composition->updates.push_back(*update);
    *surface = nullptr;  // no pixels to draw into: the update is what is checked
    *offset = {};
    return E_NOTIMPL;
  }
  NOT_USED(EndDraw())
  NOT_USED(SuspendDraw())
  NOT_USED(ResumeDraw())
  NOT_USED(Scroll(const RECT*, const RECT*, int, int))
};

struct FakeVisual : Fake<IDCompositionVisual> {
  HRESULT STDMETHODCALLTYPE SetContent(IUnknown* content) override {
    composition->contents.push_back(content);
    const auto& made = composition->surfaces;
    return std::find(made.begin(), made.end(), content) != made.end() ? S_OK : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE SetOffsetX(float) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetOffsetY(float) override { return S_OK; }
  NOT_USED(SetOffsetX(IDCompositionAnimation*))
  NOT_USED(SetOffsetY(IDCompositionAnimation*))
  NOT_USED(SetTransform(const D2D_MATRIX_3X2_F&))
  NOT_USED(SetTransform(IDCompositionTransform*))
  NOT_USED(SetTransformParent(IDCompositionVisual*))
  NOT_USED(SetEffect(IDCompositionEffect*))
  NOT_USED(SetBitmapInterpolationMode(DCOMPOSITION_BITMAP_INTERPOLATION_MODE))
  NOT_USED(SetBorderMode(DCOMPOSITION_BORDER_MODE))
  NOT_USED(SetClip(const D2D_RECT_F&))
  NOT_USED(SetClip(IDCompositionClip*))
  NOT_USED(AddVisual(IDCompositionVisual*, BOOL, IDCompositionVisual*))
  NOT_USED(RemoveVisual(IDCompositionVisual*))
  NOT_USED(RemoveAllVisuals())
  NOT_USED(SetCompositeMode(DCOMPOSITION_COMPOSITE_MODE))
};

struct FakeTarget : Fake<IDCompositionTarget> {
  HRESULT STDMETHODCALLTYPE SetRoot(IDCompositionVisual*) override { return S_OK; }
};

struct FakeDevice : Fake<IDCompositionDevice> {
  HRESULT STDMETHODCALLTYPE Commit() override {
    ++composition->commits;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE CreateTargetForHwnd(HWND, BOOL, IDCompositionTarget** target) override {
    *target = new FakeTarget;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE CreateVisual(IDCompositionVisual** visual) override {
    *visual = new FakeVisual;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE CreateSurface(UINT, UINT, DXGI_FORMAT, DXGI_ALPHA_MODE,
                                          IDCompositionSurface** surface) override {
    *surface = new FakeSurface;
    composition->surfaces.push_back(*surface);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE CheckDeviceState(BOOL* valid) override {
    *valid = TRUE;
    return S_OK;
  }
  NOT_USED(WaitForCommitCompletion())
  NOT_USED(GetFrameStatistics(DCOMPOSITION_FRAME_STATISTICS*))
  NOT_USED(CreateVirtualSurface(UINT, UINT, DXGI_FORMAT, DXGI_ALPHA_MODE, IDCompositionVirtualSurface**))
  NOT_USED(CreateSurfaceFromHandle(HANDLE, IUnknown**))
  NOT_USED(CreateSurfaceFromHwnd(HWND, IUnknown**))
  NOT_USED(CreateTranslateTransform(IDCompositionTranslateTransform**))
  NOT_USED(CreateScaleTransform(IDCompositionScaleTransform**))
  NOT_USED(CreateRotateTransform(IDCompositionRotateTransform**))
  NOT_USED(CreateSkewTransform(IDCompositionSkewTransform**))
  NOT_USED(CreateMatrixTransform(IDCompositionMatrixTransform**))
  NOT_USED(CreateTransformGroup(IDCompositionTransform**, UINT, IDCompositionTransform**))
  NOT_USED(CreateTranslateTransform3D(IDCompositionTranslateTransform3D**))
  NOT_USED(CreateScaleTransform3D(IDCompositionScaleTransform3D**))
  NOT_USED(CreateRotateTransform3D(IDCompositionRotateTransform3D**))
  NOT_USED(CreateMatrixTransform3D(IDCompositionMatrixTransform3D**))
  NOT_USED(CreateTransform3DGroup(IDCompositionTransform3D**, UINT, IDCompositionTransform3D**))
  NOT_USED(CreateEffectGroup(IDCompositionEffectGroup**))
  NOT_USED(CreateRectangleClip(IDCompositionRectangleClip**))
  NOT_USED(CreateAnimation(IDCompositionAnimation**))
};

HRESULT WINAPI CreateFakeCompositionDevice(IUnknown*, REFIID, void** device) {
  *device = static_cast<IDCompositionDevice*>(new FakeDevice);
  return S_OK;
}

// A 40 Hz compositor: its clock ticks every 25 ms.
constexpr int kFakeCompositorHz = 40;
DWORD WINAPI WaitForFakeCompositorClock(UINT count, const HANDLE* handles, DWORD) {
  if (count > 0 &&
      WaitForMultipleObjects(count, handles, FALSE, 1000 / kFakeCompositorHz) < WAIT_OBJECT_0 + count)
    return WAIT_OBJECT_0;
  return WAIT_OBJECT_0 + count;
}
// A clock that returns at once, as DwmFlush may with nothing to compose.
DWORD WINAPI HurriedFakeCompositorClock(UINT count, const HANDLE*, DWORD) {
  return WAIT_OBJECT_0 + count;
}
HRESULT WINAPI FakeCompositionTiming(HWND, DWM_TIMING_INFO* timing) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  timing->qpcRefreshPeriod = QPC_TIME(frequency.QuadPart / kFakeCompositorHz);
  timing->rateRefresh = {kFakeCompositorHz, 1};
  return S_OK;
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

namespace {
void CALLBACK EndTheLoopAfterward(HWND, UINT, UINT_PTR, DWORD) {
  PostQuitMessage(0);
}
}  // namespace

// Where DirectComposition starts: the visual's content is a composition
// surface, updated where the frame changed, and smooth frames come on the
// compositor's clock.
TEST_F(FrameDriver, DirectCompositionGetsASurfaceAndFramesOnTheCompositorsClock) {
  CompositionRecord record;
  composition = &record;
  app.outside.createCompositionDevice = CreateFakeCompositionDevice;
  app.outside.waitForCompositorClock = WaitForFakeCompositorClock;
  app.outside.compositionTiming = FakeCompositionTiming;
  app.presenter.kind = PresenterKind::kNone;
  app.instance = GetModuleHandleW(nullptr);
  app.desktop.wallpaperWindow = Make(L"TestWallpaperWnd");  // 200 x 100
  StartPresenter(app, 200, 100);
  ASSERT_EQ(app.presenter.kind, PresenterKind::kSurface)
      << "Direct3D 11 under Wine, DirectComposition stood in";
  ASSERT_EQ(record.surfaces.size(), 1u);
  EXPECT_EQ(record.contents, record.surfaces) << "nothing but the surface was offered as content";

  RenderFrame(app);
  ASSERT_EQ(record.updates.size(), 1u);
  const RECT whole = {0, 0, 200, 100};
  EXPECT_TRUE(EqualRect(&record.updates[0], &whole)) << "the first frame whole";
  const int commits = record.commits;
  Sleep(20);
  RenderFrame(app);
  EXPECT_EQ(record.commits, commits + 1);
  for (size_t i = 1; i < record.updates.size(); ++i) {
    const RECT& r = record.updates[i];
    EXPECT_LT((r.right - r.left) * (r.bottom - r.top), 200 * 100) << "later frames: what changed";
  }

  // Smooth frames on the 40 Hz compositor's ticks, not 60 a second by time.
  app.lifecycle.monitors = {{0, 0, 4000, 4000}};
  StartFrames(app);
  RenderFrame(app);
  const int start = app.frame.loop.framesRendered;
  const UINT_PTR end = SetTimer(nullptr, 0, 2000, EndTheLoopAfterward);
  EXPECT_EQ(RunMessageLoop(app, GetMessageW), 0);
  KillTimer(nullptr, end);
  const int frames = app.frame.loop.framesRendered - start;
  EXPECT_GE(frames, 2 * kFakeCompositorHz * 7 / 10);
  EXPECT_LE(frames, 2 * kFakeCompositorHz + 2);
  EXPECT_EQ(app.frame.loop.framePeriod, kNanosecondsPerSecond / kFakeCompositorHz);
  StopFrames(app);

  // A clock that returns at once never paces faster than the compositor.
  app.outside.waitForCompositorClock = HurriedFakeCompositorClock;
  StartFrames(app);
  RenderFrame(app);
  const int hurried = app.frame.loop.framesRendered;
  const UINT_PTR second = SetTimer(nullptr, 0, 1000, EndTheLoopAfterward);
  EXPECT_EQ(RunMessageLoop(app, GetMessageW), 0);
  KillTimer(nullptr, second);
  EXPECT_LE(app.frame.loop.framesRendered - hurried, kFakeCompositorHz * 4 / 3 + 3);
  StopFrames(app);
  ReleaseComposition(app);
  composition = nullptr;
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

  // It rests as the wallpaper does: the system's notifications reach it.
  WallpaperApp& app = saver.app;
  ASSERT_NE(app.lifecycle.notifyWindow, nullptr);
  auto Frames = [&app] {
    app.lifecycle.nextCoverageCheck = 0;
    const int before = app.frame.loop.framesRendered;
    TickDue(app);
    return app.frame.loop.framesRendered - before;
  };
  EXPECT_EQ(Frames(), 1);
  SendMessageW(app.lifecycle.notifyWindow, WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 0);
  EXPECT_EQ(Frames(), 0) << "locked";
  SendMessageW(app.lifecycle.notifyWindow, WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 0);
  EXPECT_EQ(Frames(), 1);
  SendMessageW(app.lifecycle.notifyWindow, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
  EXPECT_EQ(Frames(), 0) << "suspending";
  SendMessageW(app.lifecycle.notifyWindow, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
  // What lies under the dialog never covers the preview; its dialog hidden
  // or minimized does.
  const RECT screen = VirtualScreenRect();
  HWND below = MakeWindow(L"TestCoverWnd", nullptr, true);
  SetWindowPos(below, host, screen.left, screen.top, screen.right - screen.left, screen.bottom - screen.top,
               SWP_NOACTIVATE);
  EXPECT_EQ(Frames(), 1) << "windows under the dialog cover every monitor";
  ShowWindow(host, SW_HIDE);
  EXPECT_EQ(Frames(), 0) << "dialog hidden";
  ShowWindow(host, SW_SHOWNOACTIVATE);
  EXPECT_EQ(Frames(), 1);
  ShowWindow(host, SW_SHOWMINNOACTIVE);
  EXPECT_EQ(Frames(), 0) << "dialog minimized";
  ShowWindow(host, SW_RESTORE);
  EXPECT_EQ(Frames(), 1);
  DestroyWindow(below);

  DestroyWindow(host);
  EXPECT_FALSE(IsWindow(preview));
  MSG quit;
  EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "it ends with its window";
  BeginExit(saver.app);
  ReleaseAll(saver.app);
  DrainMessages();
}
