// Drives a running Tidemere from outside, for the end-to-end checks:
//   tidemere-drive command ID                 a tray menu command (WM_COMMAND to "WavescreenMsgWnd")
//   tidemere-drive settings TOTAL C0 .. C19 ok|cancel
//                                             fills the open settings window and presses a button
//   tidemere-drive cover FILE [layered] [front]
//                                             a window over the whole screen until FILE is gone;
//                                             FILE is written once it shows (the window's handle,
//                                             in decimal); "front" makes it the foreground window
//                                             (a full-screen application)
//   tidemere-drive motion on|off              the system's "animate controls and elements"
//   tidemere-drive session lock|unlock        a session change sent to the broadcast window
//   tidemere-drive power suspend|resume       a power event sent to the broadcast window
//   tidemere-drive display WIDTH HEIGHT       a new display mode (in a Wine virtual desktop)
//   tidemere-drive box FILE                   waits for a message box captioned "Tidemere", writes
//                                             its text to FILE (UTF-8) and presses OK
#include <windows.h>
// after windows.h, which it builds on
#include <wtsapi32.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "common/names_win32.h"

namespace {

int Usage() {
  std::fputs(
      "usage: tidemere-drive command ID | settings TOTAL C0..C19 ok|cancel | cover FILE [layered] [front] |\n"
      "       motion on|off | session lock|unlock | power suspend|resume | display WIDTH HEIGHT | box FILE\n",
      stderr);
  return 2;
}

HWND BroadcastWindow() {
  return FindWindowW(kNotifyWindowClass, nullptr);
}

int SendCommand(UINT id) {
  HWND messages = FindWindowExW(HWND_MESSAGE, nullptr, kMessageWindowClass, nullptr);
  if (messages == nullptr) return 1;
  return PostMessageW(messages, WM_COMMAND, id, 0) ? 0 : 1;
}

int FillSettings(int argc, wchar_t** argv) {
  HWND window = nullptr;
  for (int i = 0; i < 50 && window == nullptr; ++i) {
    window = FindWindowW(kSettingsWindowClass, nullptr);
    if (window == nullptr) Sleep(100);
  }
  if (window == nullptr) return 1;
  SetWindowTextW(GetDlgItem(window, kTotalFishEdit), argv[2]);
  for (int i = 0; i < 20; ++i) SetWindowTextW(GetDlgItem(window, kSpeciesCountEditBase + i), argv[3 + i]);
  const bool ok = std::wcscmp(argv[argc - 1], L"ok") == 0;
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(ok ? IDOK : IDCANCEL, BN_CLICKED), 0);
  return 0;
}

LRESULT CALLBACK CoverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND) {
    RECT rect;
    GetClientRect(window, &rect);
    FillRect(reinterpret_cast<HDC>(wParam), &rect, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    return 1;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

int Cover(const wchar_t* file, bool layered, bool front) {
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = CoverProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"TidemereTestCover";
  RegisterClassExW(&windowClass);
  const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
  HWND window = CreateWindowExW(layered ? WS_EX_LAYERED : 0, windowClass.lpszClassName, L"cover", WS_POPUP, x,
                                y, GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN),
                                nullptr, nullptr, windowClass.hInstance, nullptr);
  if (window == nullptr) return 1;
  if (layered) SetLayeredWindowAttributes(window, 0, 160, LWA_ALPHA);
  ShowWindow(window, front ? SW_SHOW : SW_SHOWNOACTIVATE);
  if (front) SetForegroundWindow(window);
  UpdateWindow(window);
  FILE* ready = _wfopen(file, L"w");
  if (ready != nullptr) {
    std::fprintf(ready, "%llu\n", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)));
    std::fclose(ready);
  }
  // Until the test takes the file away.
  while (GetFileAttributesW(file) != INVALID_FILE_ATTRIBUTES) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(30);
  }
  DestroyWindow(window);
  return 0;
}

int SetClientAreaAnimation(BOOL animate) {
  // The value travels in the pointer argument.
  if (!SystemParametersInfoW(SPI_SETCLIENTAREAANIMATION, 0, reinterpret_cast<PVOID>(LONG_PTR(animate)), 0))
    return 1;
  // NOTE: Wine stores the value but broadcasts no WM_SETTINGCHANGE for it, even
  // with SPIF_SENDCHANGE; announce it as Windows does.
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, SPI_SETCLIENTAREAANIMATION, 0, SMTO_ABORTIFHUNG, 2000,
                      &ignored);
  return 0;
}

int SendToBroadcastWindow(UINT message, WPARAM wParam) {
  HWND window = BroadcastWindow();
  if (window == nullptr) return 1;
  SendMessageW(window, message, wParam, 0);
  return 0;
}

int ChangeDisplay(int width, int height) {
  DEVMODEW mode = {};
  mode.dmSize = sizeof(mode);
  mode.dmPelsWidth = DWORD(width);
  mode.dmPelsHeight = DWORD(height);
  mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
  return ChangeDisplaySettingsExW(nullptr, &mode, nullptr, 0, nullptr) == DISP_CHANGE_SUCCESSFUL ? 0 : 1;
}

BOOL CALLBACK FirstText(HWND child, LPARAM param) {
  auto& text = *reinterpret_cast<std::wstring*>(param);
  wchar_t className[16] = {}, buffer[512] = {};
  GetClassNameW(child, className, 16);
  if (lstrcmpiW(className, L"Static") != 0 || GetWindowTextW(child, buffer, 512) == 0) return TRUE;
  text = buffer;
  return FALSE;
}

int AnswerBox(const wchar_t* file) {
  HWND box = nullptr;
  for (int i = 0; i < 150 && box == nullptr; ++i) {
    box = FindWindowW(L"#32770", L"Tidemere");
    if (box == nullptr) Sleep(100);
  }
  if (box == nullptr) return 1;
  std::wstring text;
  EnumChildWindows(box, FirstText, reinterpret_cast<LPARAM>(&text));
  char utf8[2048] = {};
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8, sizeof(utf8) - 1, nullptr, nullptr);
  FILE* out = _wfopen(file, L"wb");
  if (out == nullptr) return 1;
  std::fputs(utf8, out);
  std::fclose(out);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring verb = argc >= 2 ? argv[1] : L"";
  const std::wstring arg = argc >= 3 ? argv[2] : L"";
  if (verb == L"command" && argc == 3) return SendCommand(UINT(_wtoi(argv[2])));
  if (verb == L"settings" && argc == 24) return FillSettings(argc, argv);
  if (verb == L"cover" && argc >= 3 && argc <= 5) {
    bool layered = false, front = false;
    for (int i = 3; i < argc; ++i) {
      layered |= std::wcscmp(argv[i], L"layered") == 0;
      front |= std::wcscmp(argv[i], L"front") == 0;
    }
    return Cover(argv[2], layered, front);
  }
  if (verb == L"motion" && argc == 3) return SetClientAreaAnimation(arg == L"on");
  if (verb == L"session" && argc == 3)
    return SendToBroadcastWindow(WM_WTSSESSION_CHANGE,
                                 arg == L"lock" ? WTS_SESSION_LOCK : WTS_SESSION_UNLOCK);
  if (verb == L"power" && argc == 3)
    return SendToBroadcastWindow(WM_POWERBROADCAST,
                                 arg == L"suspend" ? PBT_APMSUSPEND : PBT_APMRESUMEAUTOMATIC);
  if (verb == L"display" && argc == 4) return ChangeDisplay(_wtoi(argv[2]), _wtoi(argv[3]));
  if (verb == L"box" && argc == 3) return AnswerBox(argv[2]);
  return Usage();
}
