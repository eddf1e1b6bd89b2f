#include "windows/ui_test_support.h"

// after windows.h, which it builds on
#include <gdiplus.h>

#include <cstdio>
#include <cstdlib>

#include "base/log.h"
#include "common/window_class_win32.h"
#include "policy/tray_menu.h"
#include "settings/settings_win32.h"
#include "windows/gdiplus_render.h"
#include "windows/win32_test_support.h"

std::vector<MessageBoxCall> UiTest::messageBoxes;
std::vector<ShellExecuteCall> UiTest::shellExecutes;
std::vector<PopupMenuCall> UiTest::popupMenus;

namespace {

int WINAPI RecordMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
  UiTest::messageBoxes.push_back({owner, text ? text : L"", caption ? caption : L"", type});
  return IDOK;
}

HINSTANCE WINAPI RecordShellExecute(HWND window, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                                    LPCWSTR directory, INT show) {
  UiTest::shellExecutes.push_back(
      {window, verb ? verb : L"", file ? file : L"", parameters != nullptr || directory != nullptr, show});
  return reinterpret_cast<HINSTANCE>(INT_PTR(33));  // success
}

BOOL WINAPI RecordPopupMenu(HMENU menu, UINT flags, int, int, int, HWND owner, const RECT*) {
  MENUITEMINFOW item = {};
  item.cbSize = sizeof(item);
  item.fMask = MIIM_STATE;
  GetMenuItemInfoW(menu, kMenuCommandAutostart, FALSE, &item);
  UiTest::popupMenus.push_back({menu, flags, owner, item.fState});
  return TRUE;
}

}  // namespace

void UiTest::SetUp() {
  DeleteProgramLog();
  debugLogging = true;
  hadSettings = ReadWholeFile(GetSettingsPath(), savedSettings);
  app.instance = GetModuleHandleW(nullptr);
  EnsureGdiplus();  // the windows paint with GDI+, as in the program
  messageBoxes.clear();
  shellExecutes.clear();
  popupMenus.clear();
  WireRequests(app);
  app.outside.messageBox = RecordMessageBox;
  app.outside.shellExecute = RecordShellExecute;
  app.outside.trackPopupMenu = RecordPopupMenu;
}

void UiTest::TearDown() {
  if (app.ui.settingsWindow) DestroyWindow(app.ui.settingsWindow);
  if (app.ui.aboutWindow) DestroyWindow(app.ui.aboutWindow);
  RequestExit(app);  // tray icon, hook, message and broadcast windows
  if (app.ui.trayMenu) DestroyMenu(app.ui.trayMenu);
  DrainMessages();
  debugLogging = false;
  const std::wstring path = GetSettingsPath();
  if (hadSettings) {
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (file) {
      std::fwrite(savedSettings.data(), 1, savedSettings.size(), file);
      std::fclose(file);
    }
  } else {
    DeleteFileW(path.c_str());
  }
}

void UiTest::CreateMessageWindow() {
  ::CreateMessageWindow(app);
}

void UiTest::Command(UINT id) {
  SendMessageW(app.ui.messageWindow, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

std::string UiTest::Log() const {
  return ReadProgramLog();
}

namespace {
struct ClassSearch {
  const wchar_t* className;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectOfClass(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<ClassSearch*>(param);
  wchar_t name[64] = {};
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == GetCurrentProcessId() && GetClassNameW(window, name, 64) &&
      std::wstring(name) == search->className) {
    search->found.push_back(window);
  }
  return TRUE;
}
}  // namespace

std::vector<HWND> WindowsOfClass(const wchar_t* className) {
  ClassSearch search = {className, {}};
  EnumWindows(CollectOfClass, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring TextOf(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

RECT RectInParent(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

bool ColorNear(uint32_t a, uint32_t b, int tolerance) {
  for (int shift : {0, 8, 16}) {
    if (std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF)) > tolerance) return false;
  }
  return true;
}

namespace {
Picture Capture(HDC source, int x, int y, int width, int height) {
  Picture picture;
  draw::DibSurface surface;
  if (width <= 0 || height <= 0 || !draw::CreateDibSurface(surface, width, height)) return picture;
  BitBlt(surface.dc, 0, 0, width, height, source, x, y, SRCCOPY);
  GdiFlush();
  picture.width = width;
  picture.height = height;
  picture.pixels.assign(surface.pixels, surface.pixels + size_t(width) * height);
  draw::DestroyDibSurface(surface);
  return picture;
}
}  // namespace

Picture CaptureClient(HWND window, bool redrawAll) {
  RedrawWindow(window, nullptr, nullptr,
               (redrawAll ? RDW_INVALIDATE | RDW_ERASE : 0) | RDW_ALLCHILDREN | RDW_UPDATENOW);
  RECT client;
  GetClientRect(window, &client);
  // Through the window's own DC: what the window painted, whether or not the
  // display has shown it yet.
  HDC dc = GetDC(window);
  Picture picture = Capture(dc, 0, 0, client.right, client.bottom);
  ReleaseDC(window, dc);
  return picture;
}

Picture CaptureWindow(HWND window) {
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  RECT rect;
  GetWindowRect(window, &rect);
  HDC dc = GetWindowDC(window);
  Picture picture = Capture(dc, 0, 0, rect.right - rect.left, rect.bottom - rect.top);
  ReleaseDC(window, dc);
  return picture;
}

void SaveScreenshot(const Picture& picture, const wchar_t* name) {
  const wchar_t* folder = _wgetenv(L"TIDEMERE_SCREENSHOT_DIR");
  if (folder == nullptr || picture.width == 0 || !EnsureGdiplus()) return;
  namespace flat = Gdiplus::DllExports;
  std::vector<uint32_t> opaque(picture.pixels);
  for (uint32_t& pixel : opaque) pixel |= 0xFF000000;
  Gdiplus::GpBitmap* bitmap = nullptr;
  if (flat::GdipCreateBitmapFromScan0(picture.width, picture.height, picture.width * 4, PixelFormat32bppARGB,
                                      reinterpret_cast<BYTE*>(opaque.data()), &bitmap) != Gdiplus::Ok) {
    return;
  }
  // The PNG encoder's class id.
  const CLSID png = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
  const std::wstring path = std::wstring(folder) + L"\\" + name;
  flat::GdipSaveImageToFile(bitmap, path.c_str(), &png, nullptr);
  flat::GdipDisposeImage(bitmap);
}
