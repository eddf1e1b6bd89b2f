// The low-level mouse hook, on a thread of its own that does nothing but
// wait for messages.
// NOTE: Windows calls a low-level hook through the message loop of the thread
// that installed it, and every mouse event of the whole system waits for
// that call. On the thread that draws, each event would wait for the frame
// being drawn; past LowLevelHooksTimeout (300 ms by default) Windows skips
// the hook, and after a few such timeouts removes it without a word.
#include "base/log.h"
#include "common/globals_win32.h"
#include "desktop/pointer_hook_win32.h"

namespace {

// The hook thread's own bookkeeping, on that thread's stack.
struct HookWatch {
  HHOOK hook = nullptr;
  uint32_t eventsAtCheck = 0;
  POINT cursorAtCheck = {};
  int silentMovedSeconds = 0;
  uint64_t lastInstall = 0;
};

constexpr UINT kWatchPeriodMs = 1000;
// A pointer that moved for this long without one event reaching the hook
// means Windows removed it.
constexpr int kSilentSecondsBeforeReinstall = 2;
// A program that moves the pointer itself (SetCursorPos) moves it without
// events too: never install more often than this.
constexpr uint64_t kReinstallIntervalMs = 30000;

HHOOK Install(WallpaperApp& app, HookWatch& watch) {
  watch.hook = SetWindowsHookExW(WH_MOUSE_LL, MouseHookProc, app.instance, 0);
  watch.lastInstall = GetTickCount64();
  return watch.hook;
}

void CheckHookAlive(WallpaperApp& app, HookWatch& watch) {
  POINT cursor = {};
  if (!GetCursorPos(&cursor)) return;
  const uint32_t events = app.desktop.pointerInbox.eventsHeard.load(std::memory_order_relaxed);
  const bool moved = cursor.x != watch.cursorAtCheck.x || cursor.y != watch.cursorAtCheck.y;
  const bool silent = events == watch.eventsAtCheck;
  watch.cursorAtCheck = cursor;
  watch.eventsAtCheck = events;
  watch.silentMovedSeconds = moved && silent ? watch.silentMovedSeconds + 1 : 0;
  if (watch.silentMovedSeconds < kSilentSecondsBeforeReinstall) return;
  if (GetTickCount64() - watch.lastInstall < kReinstallIntervalMs) return;
  watch.silentMovedSeconds = 0;
  if (watch.hook != nullptr) UnhookWindowsHookEx(watch.hook);
  HHOOK hook = Install(app, watch);
  WriteLog(L"[pointer] the pointer moved but the hook heard nothing: installed again");
  WriteLog(L"鼠标钩子安装: %p", hook);
}

struct HookThreadStart {
  WallpaperApp* app;
  HANDLE ready;
  HHOOK hook;
};

DWORD WINAPI HookThreadMain(void* parameter) {
  auto* start = static_cast<HookThreadStart*>(parameter);
  WallpaperApp& app = *start->app;
  MSG message;
  PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue, before anyone posts to it
  HookWatch watch;
  GetCursorPos(&watch.cursorAtCheck);
  start->hook = Install(app, watch);
  SetEvent(start->ready);  // `start` is the installer's: not touched after this
  const UINT_PTR timer = SetTimer(nullptr, 0, kWatchPeriodMs, nullptr);
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.message == WM_TIMER && message.hwnd == nullptr) {
      CheckHookAlive(app, watch);
      continue;
    }
    DispatchMessageW(&message);
  }
  KillTimer(nullptr, timer);
  if (watch.hook != nullptr) UnhookWindowsHookEx(watch.hook);
  return 0;
}

}  // namespace

LRESULT CALLBACK MouseHookProc(int code, WPARAM wParam, LPARAM lParam) {
  // Only hands the event on: nothing here waits, draws or allocates.
  WallpaperApp* app = hookApp;
  if (code >= 0 && app != nullptr) {
    app->desktop.pointerInbox.eventsHeard.fetch_add(1, std::memory_order_relaxed);
    const POINT at = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam)->pt;
    if (wParam == WM_MOUSEMOVE) {
      PostPointerMove(app->desktop.pointerInbox, {at.x, at.y});
    } else if (wParam == WM_LBUTTONDOWN) {
      PostPointerClick(app->desktop.pointerInbox, {at.x, at.y});
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void InstallPointerHook(WallpaperApp& app) {
  DesktopAttachment& desktop = app.desktop;
  hookApp = &app;
  if (desktop.hookThread == nullptr) {
    HookThreadStart start = {&app, CreateEventW(nullptr, TRUE, FALSE, nullptr), nullptr};
    desktop.hookThread = CreateThread(nullptr, 0, HookThreadMain, &start, 0, &desktop.hookThreadId);
    if (desktop.hookThread != nullptr && start.ready != nullptr) {
      WaitForSingleObject(start.ready, INFINITE);
      desktop.mouseHook = start.hook;
    }
    if (start.ready != nullptr) CloseHandle(start.ready);
  }
  WriteLog(L"鼠标钩子安装: %p", desktop.mouseHook);
}

void RemovePointerHook(WallpaperApp& app) {
  DesktopAttachment& desktop = app.desktop;
  if (desktop.hookThread != nullptr) {
    PostThreadMessageW(desktop.hookThreadId, WM_QUIT, 0, 0);
    WaitForSingleObject(desktop.hookThread, INFINITE);  // it only waits for messages: it ends at once
    CloseHandle(desktop.hookThread);
    desktop.hookThread = nullptr;
    desktop.hookThreadId = 0;
  }
  desktop.mouseHook = nullptr;
  hookApp = nullptr;
}
