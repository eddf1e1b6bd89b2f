// Finding the shell's wallpaper layer and living beside it: covering it where
// the wallpaper window can lie above it, hiding it where it cannot, and
// showing it again whenever the program ends.
#include "desktop/desktop_host_win32.h"

#include <cwchar>

#include "base/log.h"
#include "common/globals_win32.h"

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

BOOL CALLBACK FindIconHost(HWND window, LPARAM param) {
  if (!HasClass(window, L"WorkerW") || IconView(window) == nullptr) return TRUE;
  *reinterpret_cast<HWND*>(param) = window;
  return FALSE;
}

// Progman's child below the icon view, when the view is Progman's child
// (Windows 11 24H2, where the shell puts its layer there).
HWND LayerAmongChildren(HWND progman) {
  HWND icons = IconView(progman);
  if (icons == nullptr) return nullptr;
  for (HWND next = GetWindow(icons, GW_HWNDNEXT); next != nullptr; next = GetWindow(next, GW_HWNDNEXT)) {
    if (IsWallpaperLayerCandidate(next)) return next;
  }
  return nullptr;
}

// NOTE: after 0x052C the shell of Windows 10 and 11 up to 23H2 moves the icon
// view into a top-level WorkerW and puts its wallpaper layer, another
// WorkerW, right behind it. Other empty WorkerWs exist (another program's,
// a leftover, the shell's before it split the icons out): only the one right
// behind the icons' WorkerW is the layer.
HWND TopLevelLayer() {
  HWND iconHost = nullptr;
  EnumWindows(FindIconHost, reinterpret_cast<LPARAM>(&iconHost));
  if (iconHost == nullptr) return nullptr;
  HWND behind = GetWindow(iconHost, GW_HWNDNEXT);
  return behind != nullptr && IsWallpaperLayerCandidate(behind) ? behind : nullptr;
}

// Shown where it lies in the z-order, without waiting for its thread.
// NOTE: ShowWindow(SW_SHOWNA) puts a hidden top-level window at the top of
// the z-order: the layer would cover every window, and lie no longer right
// behind the icons' WorkerW. SWP_ASYNCWINDOWPOS posts the change to the
// layer's thread (Explorer's), as ShowWindowAsync would.
constexpr UINT kShowInPlace =
    SWP_SHOWWINDOW | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS;

void ShowLayer(HWND layer) {
  SetWindowPos(layer, nullptr, 0, 0, 0, 0, kShowInPlace);
  InvalidateRect(layer, nullptr, TRUE);
  WriteLog(L"已恢复原壁纸层显示 0x%p", layer);
}

}  // namespace

bool IsWallpaperLayerCandidate(HWND window) {
  return HasClass(window, L"WorkerW") && IconView(window) == nullptr;
}

void PlaceUnderDesktopIcons(HWND window, UINT extraFlags) {
  if (window == nullptr) return;
  const UINT flags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | extraFlags;
  HWND parent = GetAncestor(window, GA_PARENT);
  if (parent == nullptr || parent == GetDesktopWindow()) {
    // No desktop to live in: below every other window, never over them.
    if (GetWindow(window, GW_HWNDNEXT) != nullptr) SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, flags);
    return;
  }
  HWND icons = IconView(parent);
  if (icons == nullptr) return;
  SetWindowPos(window, icons, 0, 0, 0, 0, flags);
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
  // a restart) gets its layer taken by the once-a-second check, which also
  // follows it when the shell makes another.
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
    // Only a layer we hid is ours to show again.
    if (IsWindowVisible(layer)) {
      ShowWindowAsync(layer, SW_HIDE);
      desktop.hiddenLayer = layer;
      WriteLog(L"隐藏原壁纸层 0x%p", layer);
    }
  } else if (GetWindow(desktop.wallpaperWindow, GW_HWNDNEXT) != layer) {
    // Progman's child below the icons: the wallpaper window lies between the
    // two and covers it, so even a killed program leaves the shell's own
    // wallpaper behind.
    PlaceUnderDesktopIcons(desktop.wallpaperWindow, SWP_NOREDRAW);
  }
}

void FollowWallpaperLayer(WallpaperApp& app) {
  DesktopAttachment& desktop = app.desktop;
  if (desktop.progmanWindow == nullptr) return;
  LayerPlace place = LayerPlace::kNone;
  HWND layer = FindWallpaperLayer(desktop.progmanWindow, place);
  HWND current = desktop.layerPlace == LayerPlace::kNone ? nullptr : desktop.desktopHost;
  // NOTE: a hidden window's place in the z-order is not kept everywhere (Wine
  // puts a window it hides on top): the layer we hid stays ours until the
  // shell puts another behind its icons.
  if (layer == nullptr && current != nullptr && current == desktop.hiddenLayer && IsWindow(current) &&
      IsWallpaperLayerCandidate(current))
    return;
  if (layer == current && (layer == nullptr || place == desktop.layerPlace)) return;
  // The window we hid is the shell's layer no more: it gets back what it had.
  RestoreWallpaperLayer(app);
  desktop.desktopHost = layer ? layer : desktop.progmanWindow;
  desktop.layerPlace = place;
  if (layer != nullptr) {
    WriteLog(L"[shell] the wallpaper layer 0x%p appeared", layer);
  } else {
    WriteLog(L"[shell] the wallpaper layer 0x%p is no longer behind the icons", current);
  }
}

void RestoreWallpaperLayer(WallpaperApp& app) {
  DesktopAttachment& desktop = app.desktop;
  HWND layer = desktop.hiddenLayer;
  desktop.hiddenLayer = nullptr;
  if (layer != nullptr && IsWindow(layer) && !IsWindowVisible(layer)) ShowLayer(layer);
}

void RestoreLayerLeftHidden(WallpaperApp& app) {
  RestoreWallpaperLayer(app);
  // NOTE: a program ended from Task Manager (TerminateProcess) runs none of
  // its own code: the next start shows what it left hidden, Progman's child
  // or the top-level layer behind the icons' WorkerW. Nothing else hides the
  // shell's layer.
  HWND progman = FindWindowW(L"Progman", nullptr);
  if (progman == nullptr) return;
  LayerPlace place = LayerPlace::kNone;
  HWND layer = FindWallpaperLayer(progman, place);
  if (layer != nullptr && !IsWindowVisible(layer)) ShowLayer(layer);
}

void ShowHiddenLayerNow(const WallpaperApp& app) {
  // Nothing here may allocate, lock or wait: it runs in a dying process.
  if (HWND layer = app.desktop.hiddenLayer) SetWindowPos(layer, nullptr, 0, 0, 0, 0, kShowInPlace);
}
