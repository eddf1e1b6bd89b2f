#include <cwchar>

#include "base/log.h"
#include "desktop/desktop_win32.h"

namespace {

bool HasClass(HWND window, const wchar_t* name) {
  wchar_t className[64] = {};
  if (GetClassNameW(window, className, 64) == 0) return false;
  return std::wcscmp(className, name) == 0;
}

struct CandidateSearch {
  HWND visible = nullptr;
  HWND firstInvisible = nullptr;
};

// Returns true when the search is over (a visible candidate was found).
bool Consider(CandidateSearch& search, HWND window) {
  if (!IsWallpaperLayerCandidate(window)) return false;
  if (IsWindowVisible(window)) {
    search.visible = window;
    return true;
  }
  if (search.firstInvisible == nullptr) search.firstInvisible = window;
  return false;
}

BOOL CALLBACK ConsiderTopLevel(HWND window, LPARAM param) {
  return Consider(*reinterpret_cast<CandidateSearch*>(param), window) ? FALSE : TRUE;
}

void ShowLayer(HWND layer) {
  ShowWindow(layer, SW_SHOW);
  InvalidateRect(layer, nullptr, TRUE);
  WriteLog(L"已恢复原壁纸层显示 0x%p", layer);
}

}  // namespace

bool IsWallpaperLayerCandidate(HWND window) {
  return HasClass(window, L"WorkerW") &&
         FindWindowExW(window, nullptr, L"SHELLDLL_DefView", nullptr) == nullptr;
}

void PlaceUnderDesktopIcons(HWND window, UINT extraFlags) {
  HWND parent = GetParent(window);
  if (parent == nullptr) return;  // a top-level window has no icon view to stay under
  HWND icons = FindWindowExW(parent, nullptr, L"SHELLDLL_DefView", nullptr);
  if (icons == nullptr) return;
  SetWindowPos(window, icons, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | extraFlags);
}

void FindDesktopHost(WallpaperApp& app) {
  HWND progman = FindWindowW(L"Progman", nullptr);
  if (progman == nullptr) {
    WriteLog(L"错误：未找到 Progman 窗口");
    app.desktop.progmanWindow = nullptr;
    app.desktop.desktopHost = nullptr;
    return;
  }
  // Asks the shell to create its wallpaper-layer WorkerW.
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(progman, 0x052C, 0, 0, SMTO_ABORTIFHUNG, 1000, &ignored);
  Sleep(300);
  app.desktop.progmanWindow = progman;

  CandidateSearch search;
  for (HWND child = GetWindow(progman, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (Consider(search, child)) break;
  }
  HWND found = search.visible ? search.visible : search.firstInvisible;
  if (found == nullptr) {
    CandidateSearch topLevel;
    EnumWindows(ConsiderTopLevel, reinterpret_cast<LPARAM>(&topLevel));
    found = topLevel.visible ? topLevel.visible : topLevel.firstInvisible;
  }
  app.desktop.desktopHost = found ? found : progman;
  WriteLog(L"桌面壁纸层 = 0x%p (%s)", app.desktop.desktopHost,
           app.desktop.desktopHost != progman ? L"WorkerW" : L"Progman(兜底)");
}

void RestoreWallpaperLayer(WallpaperApp& app) {
  HWND progman = FindWindowW(L"Progman", nullptr);
  if (progman != nullptr) {
    for (HWND child = GetWindow(progman, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
      if (IsWallpaperLayerCandidate(child) && !IsWindowVisible(child)) {
        ShowLayer(child);
        return;
      }
    }
  }
  if (app.desktop.desktopHost != nullptr && app.desktop.desktopHost != app.desktop.progmanWindow &&
      !IsWindowVisible(app.desktop.desktopHost)) {
    ShowLayer(app.desktop.desktopHost);
  }
}
