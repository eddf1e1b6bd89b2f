// The user interface under test: an application wired as Run wires it, the
// calls that would wait for a person replaced by recorders, the settings file
// kept aside, and window pictures read back.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/app_win32.h"
#include "common/app_icon_win32.h"
#include "common/names_win32.h"
#include "common/wallpaper_app_win32.h"
#include "ui/ui_win32.h"

struct MessageBoxCall {
  HWND owner;
  std::wstring text;
  std::wstring caption;
  UINT type;
};

struct ShellExecuteCall {
  HWND window;
  std::wstring verb;
  std::wstring file;
  bool parameters;  // any parameters or directory given
  INT show;
};

struct PopupMenuCall {
  HMENU menu;
  UINT flags;
  HWND owner;
  UINT autostartState;  // the state of "Start with Windows" while the menu shows
};

class UiTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Run's message-only window "WavescreenMsgWnd" on this application.
  void CreateMessageWindow();
  // A menu command as the popup menu sends it.
  void Command(UINT id);
  std::string Log() const;

  WallpaperApp app;

 public:
  // What the stand-ins of the outside calls saw.
  static std::vector<MessageBoxCall> messageBoxes;
  static std::vector<ShellExecuteCall> shellExecutes;
  static std::vector<PopupMenuCall> popupMenus;

 private:
  std::string savedSettings;
  bool hadSettings = false;
};

// The windows of a class that belong to this process.
std::vector<HWND> WindowsOfClass(const wchar_t* className);
std::wstring TextOf(HWND window);
// The window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND window);

// A window's pixels (0x00RRGGBB, rows top-down) as it painted them.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
  uint32_t At(int x, int y) const { return pixels[size_t(y) * width + x] & 0xFFFFFF; }
};
// Colours (0x00RRGGBB) within `tolerance` in every channel.
bool ColorNear(uint32_t a, uint32_t b, int tolerance = 12);
// The client area, or the whole window with its frame.
// Pending painting is done first; `redrawAll` repaints everything before.
Picture CaptureClient(HWND window, bool redrawAll = true);
Picture CaptureWindow(HWND window);
// Writes the picture as PNG into $TIDEMERE_SCREENSHOT_DIR, when that is set.
void SaveScreenshot(const Picture& picture, const wchar_t* name);
