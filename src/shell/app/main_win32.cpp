// Process entry: command line, the exit command, single instance, start-up.
#include <windows.h>
// after windows.h, which it builds on
#include <gdiplus.h>

#include <ctime>
#include <cwchar>

#include "app/app_win32.h"
#include "app/screensaver_win32.h"
#include "base/log.h"
#include "base/log_win32.h"
#include "base/program_path_win32.h"
#include "common/names_win32.h"
#include "desktop/lifecycle_win32.h"
#include "policy/command_line.h"
#include "policy/screensaver_args.h"
#include "settings/settings_win32.h"
#include "sim/random.h"

namespace {

int ServeExitCommand() {
  HWND running = FindRunningWallpaperWindow();
  if (running == nullptr) {
    WriteLog(L"exit command: no running Tidemere found");
    return 1;
  }
  PostMessageW(running, WM_CLOSE, 0, 0);
  WriteLog(L"exit command: sent exit to running Tidemere");
  return 0;
}

void ShowAlreadyRunning() {
  MessageBoxW(nullptr,
              L"Tidemere is already running.\n\nRight-click the tray icon to switch effects or exit.",
              L"Tidemere", MB_ICONINFORMATION);
}

void RequestPerMonitorDpiAwareness() {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  if (user32 == nullptr) return;
  using SetContext = BOOL(WINAPI*)(HANDLE);
  auto set = reinterpret_cast<SetContext>(
      reinterpret_cast<void*>(GetProcAddress(user32, "SetProcessDpiAwarenessContext")));
  if (set != nullptr) set(reinterpret_cast<HANDLE>(LONG_PTR(-4)));  // per-monitor aware v2
}

void LogWallpaperPath() {
  wchar_t path[260] = {};
  bool found = SystemParametersInfoW(SPI_GETDESKWALLPAPER, 260, path, 0) && path[0] != 0;
  WriteLog(L"原壁纸备份: %s", found ? path : L"(无/纯色)");
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int) {
  // A screensaver's arguments are read first and never reach the wallpaper's
  // command line, whose digits would choose a scene ("/p 1234").
  const SaverArguments saver =
      ParseScreensaverArguments(commandLine, IsScreensaverPath(GetProgramPath().c_str()));
  if (saver.mode != SaverMode::kNone) return RunScreensaver(instance, saver);

  CommandLine options = ParseCommandLine(commandLine);
  debugLogging = options.debug;
  if (debugLogging) {
    const std::wstring beside = BesideProgram(L"");
    SetLogFilePath(WritableLogPath(beside));
  }
  if (options.exitCommand) return ServeExitCommand();

  HANDLE mutex = CreateMutexW(nullptr, TRUE, kSingleInstanceMutex);
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    WriteLog(L"Tidemere already running, exiting (use tray menu Exit or 'exit' command)");
    if (mutex != nullptr) CloseHandle(mutex);
    // A start that seems to do nothing sends the user looking: say so.
    ShowAlreadyRunning();
    return 1;
  }

  WallpaperApp app;  // built afresh: every field at its start value
  LoadSettings(app.settings);
  app.instance = instance;
  InstallCrashFilter(app);
  if (options.theme != 0) app.settings.theme = options.theme;  // in memory only

  RequestPerMonitorDpiAwareness();

  int result = 0;
  if (AnInstanceRuns()) {  // the mutex was free, yet an instance is there
    ShowAlreadyRunning();
    CloseHandle(mutex);
    result = 1;
  } else {
    LogWallpaperPath();
    Gdiplus::GdiplusStartupInput startup;  // version 1, no callback, no suppression
    if (Gdiplus::GdiplusStartup(&app.gdiplusToken, &startup, nullptr) != Gdiplus::Ok) {
      WriteLog(L"GDI+ 初始化失败");
      app.gdiplusToken = 0;
      CloseHandle(mutex);
      result = 1;
    } else {
      SeedRandom(unsigned(std::time(nullptr)));
      WriteLog(L"Tidemere started, initial effect=%d", app.settings.theme);
      result = Run(app);
      CloseHandle(mutex);
    }
  }
  ReleaseAll(app);
  return result;
}
