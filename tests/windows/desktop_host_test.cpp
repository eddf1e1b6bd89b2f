// The wallpaper-layer search and restore against stand-in shell windows made
// by the test itself, one layout per test.
#include <gtest/gtest.h>

#include "app/app_win32.h"
#include "base/log.h"
#include "base/program_path_win32.h"
#include "common/globals_win32.h"
#include "common/names_win32.h"
#include "desktop/desktop_win32.h"
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

TEST_F(DesktopLayout, NoProgmanLeavesBothNull) {
  FindDesktopHost(app);
  EXPECT_EQ(app.desktop.progmanWindow, nullptr);
  EXPECT_EQ(app.desktop.desktopHost, nullptr);
  EXPECT_NE(ReadProgramLog().find(Utf8(L"错误：未找到 Progman 窗口")), std::string::npos);
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

TEST_F(DesktopLayout, IconViewInTopLevelWorkerFindsTheOtherTopLevelWorker) {
  HWND progman = Make(L"Progman");
  HWND iconHost = Make(L"WorkerW");
  Make(L"SHELLDLL_DefView", iconHost);
  HWND emptyWorker = Make(L"WorkerW");
  FindDesktopHost(app);
  EXPECT_EQ(app.desktop.progmanWindow, progman);
  EXPECT_EQ(app.desktop.desktopHost, emptyWorker);
}

TEST_F(DesktopLayout, VisibleCandidateBeatsAnEarlierInvisibleOne) {
  HWND progman = Make(L"Progman");
  Make(L"WorkerW", progman, false);
  HWND visible = Make(L"WorkerW", progman, true);
  FindDesktopHost(app);
  EXPECT_EQ(app.desktop.desktopHost, visible);
}

TEST_F(DesktopLayout, OnlyInvisibleCandidateIsTaken) {
  HWND progman = Make(L"Progman");
  HWND hidden = Make(L"WorkerW", progman, false);
  FindDesktopHost(app);
  EXPECT_EQ(app.desktop.desktopHost, hidden);
}

TEST_F(DesktopLayout, NoCandidateFallsBackToProgman) {
  HWND progman = Make(L"Progman");
  HWND worker = Make(L"WorkerW", progman);
  Make(L"SHELLDLL_DefView", worker);  // a WorkerW with icons is no candidate
  FindDesktopHost(app);
  EXPECT_EQ(app.desktop.desktopHost, progman);
  EXPECT_NE(ReadProgramLog().find(Utf8(L"(Progman(兜底))")), std::string::npos);
}

TEST_F(DesktopLayout, LayerLeftHiddenByAKilledInstanceIsShownAgain) {
  HWND progman = Make(L"Progman");
  Make(L"SHELLDLL_DefView", progman);
  HWND worker = Make(L"WorkerW", progman, false);
  RestoreWallpaperLayer(app);
  EXPECT_TRUE(IsWindowVisible(worker));
  EXPECT_NE(ReadProgramLog().find(Utf8(L"已恢复原壁纸层显示")), std::string::npos);
  // Then the new search finds it visible.
  FindDesktopHost(app);
  EXPECT_EQ(app.desktop.desktopHost, worker);
}

TEST_F(DesktopLayout, HiddenTopLevelHostIsRestoredThroughTheRecordedHost) {
  HWND progman = Make(L"Progman");
  HWND worker = Make(L"WorkerW", nullptr, false);
  app.desktop.progmanWindow = progman;
  app.desktop.desktopHost = worker;
  RestoreWallpaperLayer(app);
  EXPECT_TRUE(IsWindowVisible(worker));
}

TEST_F(DesktopLayout, WallpaperWindowGoesUnderTheIconsAndHidesTheLayer) {
  HWND progman = Make(L"Progman");
  HWND icons = Make(L"SHELLDLL_DefView", progman);
  HWND worker = Make(L"WorkerW", progman);
  app.instance = GetModuleHandleW(nullptr);
  FindDesktopHost(app);
  CreateWallpaperWindow(app);
  ASSERT_NE(app.desktop.wallpaperWindow, nullptr);
  EXPECT_EQ(GetParent(app.desktop.wallpaperWindow), progman);
  EXPECT_FALSE(IsWindowVisible(worker));
  EXPECT_EQ(GetWindow(icons, GW_HWNDNEXT), app.desktop.wallpaperWindow) << "directly below the icon view";
  RECT rect;
  GetWindowRect(app.desktop.wallpaperWindow, &rect);
  EXPECT_EQ(rect.right - rect.left, GetSystemMetrics(SM_CXVIRTUALSCREEN));

  // The exit path shows the layer again and ends the loop through WM_QUIT.
  RestoreWallpaperLayer(app);
  EXPECT_TRUE(IsWindowVisible(worker));
  app.lifecycle.exitRequested = true;
  DestroyWindow(app.desktop.wallpaperWindow);
  MSG message;
  EXPECT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  std::string log = ReadProgramLog();
  EXPECT_NE(log.find(Utf8(L"隐藏原壁纸层")), std::string::npos);
  EXPECT_NE(log.find(Utf8(L"壁纸窗口创建成功")), std::string::npos);
}

}  // namespace
