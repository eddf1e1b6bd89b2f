// A hidden top-level window for the broadcasts that the message-only window
// never receives: "TaskbarCreated" after the shell (re)starts, and the
// display, session and power notifications.
#include "base/log.h"
#include "common/names_win32.h"
#include "common/window_class_win32.h"
#include "desktop/lifecycle_win32.h"

namespace {

// The shell started again and every notification-area icon is gone; its
// desktop windows may be new too (the message also comes without a restart,
// after a DPI change for one: then the wallpaper stays as it is).
void OnTaskbarCreated(WallpaperApp& app) {
  Request(app.requests.shellBack, app);
  CheckShell(app);
}

}  // namespace

void CreateNotifyWindow(WallpaperApp& app) {
  RegisterWindowClassOnce(kNotifyWindowClass, NotifyWndProc, app.instance, {0, false});
  Lifecycle& life = app.lifecycle;
  life.taskbarCreatedMessage = RegisterWindowMessageW(L"TaskbarCreated");
  // Top level, so broadcasts reach it; never shown, and a tool window, so it
  // never gets a taskbar button.
  life.notifyWindow = CreateWindowExW(WS_EX_TOOLWINDOW, kNotifyWindowClass, L"", WS_POPUP, 0, 0, 0, 0,
                                      nullptr, nullptr, app.instance, &app);
  // An elevated start would otherwise not hear the unelevated shell's broadcast.
  if (life.notifyWindow != nullptr && life.taskbarCreatedMessage != 0) {
    ChangeWindowMessageFilterEx(life.notifyWindow, life.taskbarCreatedMessage, MSGFLT_ALLOW, nullptr);
  }
  WriteLog(L"广播窗口创建 hwnd=0x%p", life.notifyWindow);
}

LRESULT CALLBACK NotifyWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WallpaperApp* app = WindowOwner<WallpaperApp>(window, message, lParam);
  if (app == nullptr) return DefWindowProcW(window, message, wParam, lParam);

  LRESULT result = 0;
  if (HandleSystemMessage(*app, message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_CLOSE:
      // NOTE: taskkill without /f and installers send WM_CLOSE to every
      // top-level window of the process, and this is the only one while the
      // wallpaper is Progman's child: it ends the program as "Exit" does
      // (DefWindowProc would only destroy this window and leave the program
      // running without the shell's broadcasts).
      WriteLog(L"[msg] WM_CLOSE received");
      Request(app->requests.exitAsked, *app);
      return 0;
    case WM_DESTROY:
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      return 0;
    default:
      // A registered message has no fixed number to put in a case label.
      if (message == app->lifecycle.taskbarCreatedMessage && message != 0) {
        OnTaskbarCreated(*app);
        return 0;
      }
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}
