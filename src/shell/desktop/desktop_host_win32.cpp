// Finding the shell's wallpaper layer and living beside it: covering it where
// the wallpaper window can lie above it, hiding it where it cannot, and
// showing it again whenever the program ends.
#include <cwchar>

#include "base/log.h"
#include "common/globals_win32.h"
#include "desktop/desktop_host_win32.h"

namespace {

// Messages sent to the shell give up soon: a busy Explorer must not hang the
// wallpaper (nor, at log-off, keep it from ending).
constexpr UINT kShellMessageTimeoutMs = 300;
// The shell makes its wallpaper layer after 0x052C, on its own thread.
constexpr DWORD kLayerWaitMs = 300;
constexpr DWORD kLayerPollMs = 30;

bool HasClass(HWND window, const wchar_t* name) {
  wchar_t className[64] = {};
  if (GetClassNameW(window, className, 64) == 0) return false;
  return std::wcscmp(className, name) == 0;
}

HWND IconView(HWND parent) {
  return parent ? FindWindowExW(parent, nullptr, L"SHELLDLL_DefView", nullptr) : nullptr;
}

struct CandidateSearch {
  HWND visible = nullptr;
  HWND firstInvisible = nullptr;
  HWND Found() const { return visible ? visible : firstInvisible; }
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

BOOL CALLBACK FindIconHost(HWND window, LPARAM param) {
  if (!HasClass(window, L"WorkerW") || IconView(window) == nullptr) return TRUE;
  *reinterpret_cast<HWND*>(param) = window;
  return FALSE;
}

// The layer among Progman's children: the candidate below the icon view when
// the view is Progman's child (that is where the shell puts its own), else
// the first visible candidate, else the first invisible one.
HWND LayerAmongChildren(HWND progman) {
  if (HWND icons = IconView(progman)) {
    for (HWND next = GetWindow(icons, GW_HWNDNEXT); next != nullptr; next = GetWindow(next, GW_HWNDNEXT)) {
      if (IsWallpaperLayerCandidate(next)) return next;
    }
  }
  CandidateSearch search;
  for (HWND child = GetWindow(progman, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (Consider(search, child)) break;
  }
  return search.Found();
}

// The top-level layer: the shell's own is the WorkerW right behind the one
// that holds the icon view; other empty WorkerWs may exist (another
// program's, a leftover), so any candidate is taken only when that one is not
// there.
HWND TopLevelLayer() {
  HWND iconHost = nullptr;
  EnumWindows(FindIconHost, reinterpret_cast<LPARAM>(&iconHost));
  if (iconHost != nullptr) {
    HWND behind = GetWindow(iconHost, GW_HWNDNEXT);
    if (behind != nullptr && IsWallpaperLayerCandidate(behind)) return behind;
  }
  CandidateSearch search;
  EnumWindows(ConsiderTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.Found();
}

void ShowLayer(HWND layer) {
  // NOTE: the layer is Explorer's window; ShowWindow would wait for its thread.
  ShowWindowAsync(layer, SW_SHOWNA);
  InvalidateRect(layer, nullptr, TRUE);
  WriteLog(L"已恢复原壁纸层显示 0x%p", layer);
}

}  // namespace

bool IsWallpaperLayerCandidate(HWND window) {
  return HasClass(window, L"WorkerW") && IconView(window) == nullptr;
}

void PlaceUnderDesktopIcons(HWND window, UINT extraFlags) {
  HWND icons = IconView(GetParent(window));
  if (icons == nullptr) return;  // a top-level window has no icon view to stay under
  SetWindowPos(window, icons, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | extraFlags);
}

HWND FindWallpaperLayer(HWND progman, LayerPlace& place) {
  HWND layer = LayerAmongChildren(progman);
  place = LayerPlace::kUnderIcons;
  if (layer == nullptr) {
    layer = TopLevelLayer();
    place = LayerPlace::kTopLevel;
  }
  if (layer == nullptr) place = LayerPlace::kNone;
  return layer;
}

void FindDesktopHost(WallpaperApp& app) {
  DesktopAttachment& desktop = app.desktop;
  HWND progman = FindWindowW(L"Progman", nullptr);
  desktop.layerPlace = LayerPlace::kNone;
  desktop.raisedDesktop = false;
  if (progman == nullptr) {
    WriteLog(L"错误：未找到 Progman 窗口");
    desktop.progmanWindow = nullptr;
    desktop.desktopHost = nullptr;
    return;
  }
  // Asks the shell to create its wallpaper-layer WorkerW.
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(progman, 0x052C, 0, 0, SMTO_ABORTIFHUNG, kShellMessageTimeoutMs, &ignored);
  desktop.progmanWindow = progman;
  desktop.raisedDesktop = (GetWindowLongPtrW(progman, GWL_EXSTYLE) & WS_EX_NOREDIRECTIONBITMAP) != 0;

  // The layer appears a moment later; a shell that is not ready yet (log-on,
  // a restart) gets its layer taken by the once-a-second shell check.
  HWND found = nullptr;
  for (DWORD waited = 0;; waited += kLayerPollMs) {
    found = FindWallpaperLayer(progman, desktop.layerPlace);
    if (found != nullptr || waited >= kLayerWaitMs) break;
    Sleep(kLayerPollMs);
  }
  desktop.desktopHost = found ? found : progman;
  WriteLog(L"桌面壁纸层 = 0x%p (%s)", desktop.desktopHost,
           desktop.desktopHost != progman ? L"WorkerW" : L"Progman(兜底)");
}

void KeepLayerBehind(WallpaperApp& app) {
  DesktopAttachment& desktop = app.desktop;
  HWND layer = desktop.desktopHost;
  if (desktop.wallpaperWindow == nullptr || layer == nullptr || layer == desktop.progmanWindow) return;
  if (desktop.layerPlace == LayerPlace::kTopLevel) {
    // In front of Progman, whose child the wallpaper is: only hiding it works.
    if (IsWindowVisible(layer)) {
      ShowWindowAsync(layer, SW_HIDE);
      WriteLog(L"隐藏原壁纸层 0x%p", layer);
    }
    desktop.hiddenLayer = layer;
  } else if (GetWindow(desktop.wallpaperWindow, GW_HWNDNEXT) != layer) {
    // Progman's child below the icons: the wallpaper window lies between the
    // two and covers it, so even a killed program leaves the shell's own
    // wallpaper behind.
    PlaceUnderDesktopIcons(desktop.wallpaperWindow, SWP_NOREDRAW);
  }
}

void RestoreWallpaperLayer(WallpaperApp& app) {
  DesktopAttachment& desktop = app.desktop;
  HWND progman = FindWindowW(L"Progman", nullptr);
  if (progman != nullptr) {
    for (HWND child = GetWindow(progman, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
      if (IsWallpaperLayerCandidate(child) && !IsWindowVisible(child)) {
        ShowLayer(child);
        desktop.hiddenLayer = nullptr;
        return;
      }
    }
  }
  for (HWND layer : {desktop.hiddenLayer, desktop.desktopHost}) {
    if (layer != nullptr && layer != desktop.progmanWindow && IsWindow(layer) && !IsWindowVisible(layer)) {
      ShowLayer(layer);
      break;
    }
  }
  desktop.hiddenLayer = nullptr;
}

void ShowHiddenLayerNow(const WallpaperApp& app) {
  // Nothing here may allocate, lock or wait: it runs in a dying process.
  if (HWND layer = app.desktop.hiddenLayer) ShowWindowAsync(layer, SW_SHOWNA);
}
