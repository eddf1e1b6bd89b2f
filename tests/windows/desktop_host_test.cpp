// The wallpaper-layer search and restore against stand-in shell windows made
// by the test itself, one layout per test.
#include <gtest/gtest.h>

#include <cwchar>
#include <vector>

#include "app/app_win32.h"
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
#include "windows/win32_test_support.h"

namespace {

class DesktopLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteProgramLog();
    debugLogging = true;
  }
  void TearDown() override {
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) DestroyWindow(*it);
    DrainMessages();
    debugLogging = false;
  }
  HWND Make(const wchar_t* className, HWND parent = nullptr, bool visible = true) {
    HWND window = MakeWindow(className, parent, visible);
    windows.push_back(window);
    return window;
  }
  std::vector<HWND> windows;
  WallpaperApp app;
};

std::string Utf8(const wchar_t* text) {
  return ToUtf8(text);
}

size_t Count(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

// As Explorer shows its layer for a slideshow: where it lies in the z-order.
void ShowInPlace(HWND window) {
  SetWindowPos(window, nullptr, 0, 0, 0, 0,
               SWP_SHOWWINDOW | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TEST_F(DesktopLayout, NoProgmanLeavesBothNullAndTheWindowBelowEveryOther) {
  HWND other = Make(L"TestAppWnd");  // a program's window
  FindDesktopHost(app);
  EXPECT_EQ(app.desktop.progmanWindow, nullptr);
  EXPECT_EQ(app.desktop.desktopHost, nullptr);
  EXPECT_NE(ReadProgramLog().find(Utf8(L"错误：未找到 Progman 窗口")), std::string::npos);

  // No shell (Explorer ended, another shell): a top-level window over every
  // monitor, which must never cover the programs' windows.
  app.instance = GetModuleHandleW(nullptr);
  CreateWallpaperWindow(app);
  HWND window = app.desktop.wallpaperWindow;
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(GetAncestor(window, GA_PARENT), GetDesktopWindow());
  EXPECT_EQ(GetWindow(window, GW_HWNDNEXT), nullptr) << "at the bottom of the z-order";
  EXPECT_FALSE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);  // a click raised it
  KeepInPlace(app);
  EXPECT_EQ(GetWindow(window, GW_HWNDNEXT), nullptr) << "back below " << other;
  const std::string log = ReadProgramLog();
  EXPECT_EQ(Count(log, "[shell] no desktop to live in"), 1u) << "said once";
  EXPECT_NE(log.find(Utf8(L"壁纸窗口创建成功")), std::string::npos);
  EXPECT_NE(log.find("(GDI)"), std::string::npos) << "frames are copied by GDI under Wine: the log says so";
  EXPECT_EQ(log.find("(DComp)"), std::string::npos);
  app.lifecycle.exitRequested = true;
  DestroyWindow(window);
}

TEST_F(DesktopLayout, IconViewInsideProgmanFindsTheEmptyWorkerChild) {
  HWND progman = Make(L"Progman");
  Make(L"SHELLDLL_DefView", progman);
  HWND worker = Make(L"WorkerW", progman);
  FindDesktopHost(app);
  EXPECT_EQ(app.desktop.progmanWindow, progman);
  EXPECT_EQ(app.desktop.desktopHost, worker);
  EXPECT_NE(ReadProgramLog().find(Utf8(L"(WorkerW)")), std::string::npos);
}

// Before the shell has split the icons out (log-on, a restart) only the icon
// view is there, and empty WorkerWs of others may be: none is the layer.
TEST_F(DesktopLayout, AStrayWorkerWIsNeverTakenAndTheRealLayerIsFollowed) {
  HWND progman = Make(L"Progman");
  HWND icons = Make(L"SHELLDLL_DefView", progman);
  HWND above = Make(L"WorkerW", progman);  // above the icon view: not the shell's layer
  SetWindowPos(above, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  HWND stray = Make(L"WorkerW");
  app.instance = GetModuleHandleW(nullptr);
  FindDesktopHost(app);
  EXPECT_EQ(app.desktop.desktopHost, progman);
  EXPECT_EQ(app.desktop.layerPlace, LayerPlace::kNone);
  CreateWallpaperWindow(app);
  ASSERT_NE(app.desktop.wallpaperWindow, nullptr);
  EXPECT_TRUE(IsWindowVisible(stray));
  EXPECT_EQ(app.desktop.hiddenLayer, nullptr);

  // The shell splits: the icons into a top-level WorkerW, its layer right behind it.
  HWND layer = Make(L"WorkerW");
  HWND iconHost = Make(L"WorkerW");
  SetParent(icons, iconHost);
  ASSERT_EQ(GetWindow(iconHost, GW_HWNDNEXT), layer);
  KeepInPlace(app);
  EXPECT_EQ(app.desktop.desktopHost, layer);
  EXPECT_FALSE(IsWindowVisible(layer));
  EXPECT_TRUE(IsWindowVisible(stray));

  // It makes another layer: the one we hid is given back, the new one taken.
  HWND newer = Make(L"WorkerW");
  SetWindowPos(newer, iconHost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  KeepInPlace(app);
  EXPECT_EQ(app.desktop.desktopHost, newer);
  EXPECT_TRUE(IsWindowVisible(layer));
  EXPECT_FALSE(IsWindowVisible(newer));
  RestoreWallpaperLayer(app);
  EXPECT_TRUE(IsWindowVisible(newer));
  EXPECT_TRUE(IsWindowVisible(stray));

  // A layer hidden by someone else is not ours to show at the end.
  HWND hiddenByOthers = Make(L"WorkerW", nullptr, false);
  SetWindowPos(hiddenByOthers, iconHost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  KeepInPlace(app);
  EXPECT_EQ(app.desktop.desktopHost, hiddenByOthers);
  EXPECT_EQ(app.desktop.hiddenLayer, nullptr);
  RestoreWallpaperLayer(app);
  EXPECT_FALSE(IsWindowVisible(hiddenByOthers));
  app.lifecycle.exitRequested = true;
  DestroyWindow(app.desktop.wallpaperWindow);
}

TEST_F(DesktopLayout, NoCandidateFallsBackToProgman) {
  HWND progman = Make(L"Progman");
  HWND worker = Make(L"WorkerW", progman);
  Make(L"SHELLDLL_DefView", worker);  // a WorkerW with icons is no candidate
  Make(L"WorkerW", progman);          // nor one without an icon view to lie under
  FindDesktopHost(app);
  EXPECT_EQ(app.desktop.desktopHost, progman);
  EXPECT_NE(ReadProgramLog().find(Utf8(L"(Progman(兜底))")), std::string::npos);
}

// An earlier instance ended from Task Manager runs none of its own code: the
// next start shows what it hid, Progman's child or the top-level layer.
TEST_F(DesktopLayout, ALayerLeftHiddenByAKilledInstanceIsShownAgainWhereverItIs) {
  HWND progman = Make(L"Progman");
  Make(L"SHELLDLL_DefView", progman);
  HWND worker = Make(L"WorkerW", progman, false);
  RestoreLayerLeftHidden(app);
  EXPECT_TRUE(IsWindowVisible(worker));
  EXPECT_NE(ReadProgramLog().find(Utf8(L"已恢复原壁纸层显示")), std::string::npos);
  FindDesktopHost(app);
  EXPECT_EQ(app.desktop.desktopHost, worker);
}

TEST_F(DesktopLayout, ATopLevelLayerLeftHiddenIsShownAgainInItsPlace) {
  Make(L"Progman");
  HWND layer = Make(L"WorkerW", nullptr, false);
  HWND iconHost = Make(L"WorkerW");
  Make(L"SHELLDLL_DefView", iconHost);
  RestoreLayerLeftHidden(app);  // nothing recorded: a new process
  EXPECT_TRUE(IsWindowVisible(layer));
  EXPECT_EQ(GetWindow(iconHost, GW_HWNDNEXT), layer) << "still right behind the icons";
}

TEST_F(DesktopLayout, WallpaperWindowCoversALayerThatIsProgmansChild) {
  HWND progman = Make(L"Progman");
  HWND icons = Make(L"SHELLDLL_DefView", progman);
  HWND worker = Make(L"WorkerW", progman);
  app.instance = GetModuleHandleW(nullptr);
  FindDesktopHost(app);
  CreateWallpaperWindow(app);
  ASSERT_NE(app.desktop.wallpaperWindow, nullptr);
  EXPECT_EQ(GetParent(app.desktop.wallpaperWindow), progman);
  EXPECT_TRUE(IsWindowVisible(app.desktop.wallpaperWindow));
  EXPECT_EQ(GetWindow(icons, GW_HWNDNEXT), app.desktop.wallpaperWindow) << "directly below the icon view";
  EXPECT_EQ(GetWindow(app.desktop.wallpaperWindow, GW_HWNDNEXT), worker) << "and over the layer";
  EXPECT_TRUE(IsWindowVisible(worker)) << "covered, so that a killed program leaves the wallpaper behind";
  EXPECT_EQ(app.desktop.hiddenLayer, nullptr);
  EXPECT_FALSE(GetWindowLongPtrW(app.desktop.wallpaperWindow, GWL_EXSTYLE) & WS_EX_LAYERED);
  EXPECT_TRUE(GetWindowLongPtrW(app.desktop.wallpaperWindow, GWL_EXSTYLE) & WS_EX_NOPARENTNOTIFY);
  RECT rect;
  GetWindowRect(app.desktop.wallpaperWindow, &rect);
  EXPECT_EQ(rect.right - rect.left, GetSystemMetrics(SM_CXVIRTUALSCREEN));

  // The exit path ends the loop through WM_QUIT.
  app.lifecycle.exitRequested = true;
  DestroyWindow(app.desktop.wallpaperWindow);
  MSG message;
  EXPECT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  std::string log = ReadProgramLog();
  EXPECT_EQ(log.find(Utf8(L"隐藏原壁纸层")), std::string::npos);
  EXPECT_NE(log.find(Utf8(L"覆盖原壁纸层")), std::string::npos);
  EXPECT_NE(log.find(Utf8(L"壁纸窗口创建成功")), std::string::npos);
}

// Windows 10: the icons in a top-level WorkerW, the shell's layer the WorkerW
// right behind it; another empty WorkerW may lie in front of both.
TEST_F(DesktopLayout, Windows10TakesTheShellsOwnLayerHidesItAndHidesItAgain) {
  HWND progman = Make(L"Progman");
  HWND layer = Make(L"WorkerW");  // each new top-level window goes in front
  HWND iconHost = Make(L"WorkerW");
  Make(L"SHELLDLL_DefView", iconHost);
  HWND other = Make(L"WorkerW");
  ASSERT_EQ(GetWindow(iconHost, GW_HWNDNEXT), layer);
  app.instance = GetModuleHandleW(nullptr);
  FindDesktopHost(app);
  EXPECT_EQ(app.desktop.desktopHost, layer) << "not the first empty WorkerW found";
  CreateWallpaperWindow(app);
  ASSERT_NE(app.desktop.wallpaperWindow, nullptr);
  EXPECT_EQ(GetParent(app.desktop.wallpaperWindow), progman);
  EXPECT_FALSE(IsWindowVisible(layer)) << "in front of Progman: only hiding works";
  EXPECT_TRUE(IsWindowVisible(other));
  EXPECT_EQ(app.desktop.hiddenLayer, layer);

  // A slideshow shows it again: the once-a-second check hides it again.
  ShowInPlace(layer);
  KeepInPlace(app);
  EXPECT_FALSE(IsWindowVisible(layer));
  EXPECT_EQ(app.desktop.desktopHost, layer);
  // (Wine puts a window it hides on top; Windows leaves it behind the icons.)
  SetWindowPos(layer, iconHost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  RestoreWallpaperLayer(app);
  EXPECT_TRUE(IsWindowVisible(layer));
  EXPECT_EQ(GetWindow(iconHost, GW_HWNDNEXT), layer) << "shown where it lay, not over every window";
  EXPECT_EQ(app.desktop.hiddenLayer, nullptr);
  DestroyWindow(app.desktop.wallpaperWindow);
}

TEST_F(DesktopLayout, ALayerTheShellMakesLateIsTakenByTheNextCheck) {
  Make(L"Progman");
  HWND iconHost = Make(L"WorkerW");
  Make(L"SHELLDLL_DefView", iconHost);
  app.instance = GetModuleHandleW(nullptr);
  FindDesktopHost(app);
  EXPECT_EQ(app.desktop.layerPlace, LayerPlace::kNone);
  CreateWallpaperWindow(app);
  ASSERT_NE(app.desktop.wallpaperWindow, nullptr);

  HWND late = Make(L"WorkerW");
  SetWindowPos(late, iconHost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  KeepInPlace(app);
  EXPECT_EQ(app.desktop.desktopHost, late);
  EXPECT_FALSE(IsWindowVisible(late));
  EXPECT_NE(ReadProgramLog().find("appeared"), std::string::npos);
  DestroyWindow(app.desktop.wallpaperWindow);
}

// Windows 11 24H2: Progman without a redirection surface, the icon view its
// layered child, the shell's layer its child below that.
TEST_F(DesktopLayout, RaisedDesktopGetsALayeredWindowBetweenIconsAndLayer) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  MakeWindow(L"Progman", nullptr, false);  // registers the class
  HWND progman = CreateWindowExW(WS_EX_NOREDIRECTIONBITMAP, L"Progman", L"", WS_POPUP | WS_VISIBLE, 0, 0, 320,
                                 200, nullptr, nullptr, instance, nullptr);
  windows.push_back(progman);
  HWND icons = Make(L"SHELLDLL_DefView", progman);
  SetWindowLongPtrW(icons, GWL_EXSTYLE, GetWindowLongPtrW(icons, GWL_EXSTYLE) | WS_EX_LAYERED);
  HWND layer = Make(L"WorkerW", progman);
  app.instance = instance;
  FindDesktopHost(app);
  EXPECT_TRUE(app.desktop.raisedDesktop);
  CreateWallpaperWindow(app);
  HWND window = app.desktop.wallpaperWindow;
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED);
  BYTE alpha = 0;
  DWORD flags = 0;
  EXPECT_TRUE(GetLayeredWindowAttributes(window, nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 255);
  EXPECT_EQ(GetWindow(icons, GW_HWNDNEXT), window);
  EXPECT_EQ(GetWindow(window, GW_HWNDNEXT), layer);
  EXPECT_TRUE(IsWindowVisible(layer));

  // DirectComposition failed (as always under Wine): frames go by GDI, the
  // layer stays visible under them, and DirectComposition is tried again
  // later, each time after twice as long, at most a minute apart.
  EXPECT_EQ(app.presenter.kind, PresenterKind::kGdi);
  KeepPresenterWorking(app);
  EXPECT_EQ(app.presenter.retryMs, 1000u);
  for (uint64_t expected : {2000u, 4000u, 8000u, 16000u, 32000u, 60000u, 60000u}) {
    app.presenter.nextRetry = 0;  // its time has come
    KeepPresenterWorking(app);
    EXPECT_EQ(app.presenter.retryMs, expected);
    EXPECT_EQ(app.presenter.kind, PresenterKind::kGdi);
  }
  EXPECT_TRUE(IsWindowVisible(layer));
  EXPECT_NE(ReadProgramLog().find("next try in 60 s"), std::string::npos);
  DestroyWindow(window);
}

namespace {

// Every time a "WavescreenWnd" is about to become visible: its parent then.
std::vector<HWND> parentsWhenShown;

LRESULT CALLBACK WatchShowing(int code, WPARAM wParam, LPARAM lParam) {
  const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
  wchar_t className[64] = {};
  GetClassNameW(call->hwnd, className, 64);
  if (code == HC_ACTION && std::wcscmp(className, kWallpaperWindowClass) == 0) {
    const bool shown = (call->message == WM_SHOWWINDOW && call->wParam) ||
                       (call->message == WM_WINDOWPOSCHANGING &&
                        (reinterpret_cast<const WINDOWPOS*>(call->lParam)->flags & SWP_SHOWWINDOW));
    if (shown) parentsWhenShown.push_back(GetParent(call->hwnd));
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

TEST_F(DesktopLayout, TheWallpaperWindowIsNeverVisibleBeforeItIsParented) {
  HWND progman = Make(L"Progman");
  Make(L"SHELLDLL_DefView", progman);
  Make(L"WorkerW", progman);
  app.instance = GetModuleHandleW(nullptr);
  FindDesktopHost(app);
  parentsWhenShown.clear();
  HHOOK watch = SetWindowsHookExW(WH_CALLWNDPROC, WatchShowing, nullptr, GetCurrentThreadId());
  CreateWallpaperWindow(app);
  UnhookWindowsHookEx(watch);
  ASSERT_NE(app.desktop.wallpaperWindow, nullptr);
  EXPECT_TRUE(IsWindowVisible(app.desktop.wallpaperWindow));
  ASSERT_FALSE(parentsWhenShown.empty());
  for (HWND parent : parentsWhenShown) EXPECT_EQ(parent, progman) << "shown before it was Progman's child";
  EXPECT_GE(app.frame.loop.framesRendered, 1) << "shown with its first frame";
  DestroyWindow(app.desktop.wallpaperWindow);
}

TEST_F(DesktopLayout, ARunningInstanceIsFoundWhereItsWindowsAre) {
  EXPECT_FALSE(AnInstanceRuns());
  HWND progman = Make(L"Progman");
  HWND wallpaper = Make(kWallpaperWindowClass, progman);
  EXPECT_EQ(FindRunningWallpaperWindow(), wallpaper) << "Progman's child, which FindWindow never sees";
  EXPECT_TRUE(AnInstanceRuns());
  DestroyWindow(wallpaper);
  EXPECT_FALSE(AnInstanceRuns());
  // Waiting for a shell, with no wallpaper window: its message-only window.
  HWND messages = Make(kMessageWindowClass, HWND_MESSAGE, false);
  EXPECT_EQ(FindRunningWallpaperWindow(), nullptr);
  EXPECT_TRUE(AnInstanceRuns());
  DestroyWindow(messages);
}

}  // namespace
