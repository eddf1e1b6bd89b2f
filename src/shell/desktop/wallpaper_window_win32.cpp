#include "desktop/wallpaper_window_win32.h"

#include "base/log.h"
#include "common/app_icon_win32.h"
#include "common/names_win32.h"
#include "common/window_class_win32.h"
#include "desktop/desktop_host_win32.h"
#include "desktop/frame_driver_win32.h"
#include "desktop/lifecycle_win32.h"
#include "desktop/presenter_win32.h"

RECT VirtualScreenRect() {
  const int x = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int y = GetSystemMetrics(SM_YVIRTUALSCREEN);
  return {x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN), y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

void CoverScreenRect(HWND window, HWND insertAfter, const RECT& screen, UINT flags) {
  // A child is placed in its parent's client coordinates, whose origin is not
  // the virtual screen's: Progman's client area starts at the virtual
  // screen's origin, left of or above the primary monitor.
  POINT origin = {screen.left, screen.top};
  HWND parent = (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) ? GetParent(window) : nullptr;
  if (parent != nullptr) ScreenToClient(parent, &origin);
  SetWindowPos(window, insertAfter, origin.x, origin.y, screen.right - screen.left,
               screen.bottom - screen.top, flags);
}

void CreateWallpaperWindow(WallpaperApp& app) {
  WindowClassStyle look;
  look.dialogLook = false;  // no background: every pixel is ours
  look.arrowCursor = true;
  look.appIcon = true;
  look.redrawOnResize = true;
  RegisterWindowClassOnce(kWallpaperWindowClass, WallpaperWndProc, app.instance, look);

  const RECT screen = VirtualScreenRect();
  const int x = screen.left, y = screen.top;
  const int width = screen.right - screen.left, height = screen.bottom - screen.top;
  DesktopAttachment& desktop = app.desktop;

  // Made hidden and shown only once it is in place with its first frame: a
  // visible top-level popup over every monitor would flash black first.
  // NOTE: Explorer would hear of our window's end through WM_PARENTNOTIFY
  // and could keep us waiting at log-off.
  DWORD exStyle = WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT | WS_EX_NOPARENTNOTIFY;
  // NOTE: Progman of Windows 11 24H2 has no redirection surface; a plain child
  // of it shows nothing drawn with GDI, a layered one does (Windows 8 and later).
  if (desktop.raisedDesktop) exStyle |= WS_EX_LAYERED;
  HWND window = CreateWindowExW(exStyle, kWallpaperWindowClass, L"Tidemere", WS_POPUP, x, y, width, height,
                                nullptr, nullptr, app.instance, &app);
  if (window == nullptr) {
    WriteLog(L"壁纸窗口创建失败 error=%lu", GetLastError());
    return;
  }
  desktop.wallpaperWindow = window;
  if (desktop.raisedDesktop) SetLayeredWindowAttributes(window, 0, 255, LWA_ALPHA);

  HWND parent = desktop.progmanWindow ? desktop.progmanWindow : desktop.desktopHost;
  LONG_PTR parentStyle = parent ? GetWindowLongPtrW(parent, GWL_EXSTYLE) : 0;
  WriteLog(L"Progman ExStyle=0x%llx raisedDesktop=%d", (long long)parentStyle,
           (parentStyle & WS_EX_NOREDIRECTIONBITMAP) ? 1 : 0);

  LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  style &= ~LONG_PTR(WS_POPUP | WS_CHILD);
  SetWindowLongPtrW(window, GWL_STYLE, style | WS_CHILD);

  HWND previousParent = SetParent(window, parent);
  WriteLog(L"SetParent ret=0x%p GetParent=0x%p", previousParent, GetParent(window));

  // Directly under the icon view where there is one (above the shell's layer
  // when that is Progman's child too), else on top of its siblings. Without
  // a shell it is a top-level window over every monitor: below every other
  // window, until a shell appears.
  HWND icons = parent ? FindWindowExW(parent, nullptr, L"SHELLDLL_DefView", nullptr) : nullptr;
  CoverScreenRect(window,
                  icons    ? icons
                  : parent ? HWND_TOP
                           : HWND_BOTTOM,
                  screen, SWP_FRAMECHANGED | SWP_NOACTIVATE);
  if (parent == nullptr && !app.lifecycle.noShellSaid) {
    app.lifecycle.noShellSaid = true;
    WriteLog(L"[shell] no desktop to live in: the wallpaper stays below every window until a shell appears");
  }

  StartPresenter(app, width, height);
  ShowWithFirstFrame(app);
  // Only now that something of ours is on the screen may the shell's layer go.
  KeepLayerBehind(app);
  if (desktop.layerPlace == LayerPlace::kUnderIcons) {
    WriteLog(L"覆盖原壁纸层 0x%p（不隐藏）", desktop.desktopHost);
  }

  // Which way frames really go: through DirectComposition, or copied by GDI.
  WriteLog(L"壁纸窗口创建成功 hwnd=0x%p parent=0x%p 尺寸=%dx%d (%s)", window, parent, width, height,
           app.presenter.kind == PresenterKind::kSurface ? L"DComp" : L"GDI");

  HICON bigIcon = CreateAppIcon(32);
  HICON smallIcon = CreateAppIcon(16);
  if (bigIcon != nullptr) SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
  if (smallIcon != nullptr) SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
}

LRESULT CALLBACK WallpaperWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WallpaperApp* app = WindowOwner<WallpaperApp>(window, message, lParam);
  if (app == nullptr) return DefWindowProcW(window, message, wParam, lParam);

  switch (message) {
    case WM_TIMER:
      OnWindowTimer(*app);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(window, &paint);
      // Part of the window was lost: the back buffer holds the last frame,
      // shown again whole (moving frames go on at their own pace).
      ShowBackBuffer(*app);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_DISPLAYCHANGE: {
      const RECT screen = VirtualScreenRect();
      CoverScreenRect(window, nullptr, screen, SWP_NOZORDER | SWP_NOACTIVATE);
      // The next frame follows the new size (a new back buffer, new content
      // for the presenter) and is shown whole whatever the size.
      RequestFullFrame(*app, FullFrameReason::kDisplayChange);
      WriteLog(L"显示器变化，窗口调整为 %dx%d @ (%d,%d)", int(screen.right - screen.left),
               int(screen.bottom - screen.top), int(screen.left), int(screen.top));
      return 0;
    }
    case WM_WALLPAPER_RESTACK:
      PlaceUnderDesktopIcons(window, SWP_NOREDRAW);
      return 0;
    case WM_HOTKEY:
      WriteLog(L"[msg] WM_HOTKEY id=%d", int(wParam));
      Request(app->requests.hotkeyPressed, *app, unsigned(wParam));
      return 0;
    case WM_CLOSE:
      WriteLog(L"[msg] WM_CLOSE received");
      Request(app->requests.exitAsked, *app);
      return 0;
    case WM_DESTROY:
      WriteLog(L"[msg] WM_DESTROY received");
      // The painted icons belong to this window alone.
      for (WPARAM kind : {ICON_BIG, ICON_SMALL}) {
        auto icon = reinterpret_cast<HICON>(SendMessageW(window, WM_SETICON, kind, 0));
        if (icon != nullptr) DestroyIcon(icon);
      }
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      // Only an exit the user asked for ends the program; the shell taking
      // the window down with it does not.
      if (app->lifecycle.exitRequested) {
        PostQuitMessage(0);
      } else {
        OnWallpaperWindowDestroyed(*app);
      }
      return 0;
    case WM_PARENTNOTIFY:
      WriteLog(L"[msg] WM_PARENTNOTIFY wp=0x%x", unsigned(wParam));
      break;
    case WM_NCDESTROY:
      WriteLog(L"[msg] WM_NCDESTROY received");
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}
