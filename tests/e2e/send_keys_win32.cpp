// Injects input with SendInput, for the end-to-end checks:
//   tidemere-send_keys 2           Ctrl+Shift+2
//   tidemere-send_keys click X Y   a left click at screen point (X, Y)
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

int SendHotKey(wchar_t key) {
  WORD sequence[3] = {VK_CONTROL, VK_SHIFT, WORD(key)};
  INPUT inputs[6] = {};
  for (int i = 0; i < 3; ++i) {
    inputs[i].type = INPUT_KEYBOARD;
    inputs[i].ki.wVk = sequence[i];
    inputs[5 - i].type = INPUT_KEYBOARD;
    inputs[5 - i].ki.wVk = sequence[i];
    inputs[5 - i].ki.dwFlags = KEYEVENTF_KEYUP;
  }
  return SendInput(6, inputs, sizeof(INPUT)) == 6 ? 0 : 1;
}

int SendClick(int x, int y) {
  INPUT inputs[3] = {};
  const DWORD flags[3] = {MOUSEEVENTF_MOVE, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
  for (int i = 0; i < 3; ++i) {
    inputs[i].type = INPUT_MOUSE;
    // Absolute coordinates run from 0 to 65535 over the primary screen.
    inputs[i].mi.dx =
        LONG((x * 65535 + GetSystemMetrics(SM_CXSCREEN) / 2) / (GetSystemMetrics(SM_CXSCREEN) - 1));
    inputs[i].mi.dy =
        LONG((y * 65535 + GetSystemMetrics(SM_CYSCREEN) / 2) / (GetSystemMetrics(SM_CYSCREEN) - 1));
    inputs[i].mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | flags[i];
  }
  return SendInput(3, inputs, sizeof(INPUT)) == 3 ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 4 && std::wcscmp(argv[1], L"click") == 0) return SendClick(_wtoi(argv[2]), _wtoi(argv[3]));
  if (argc == 2 && argv[1][0] != 0) return SendHotKey(argv[1][0]);
  std::fputs("usage: tidemere-send_keys KEY | click X Y\n", stderr);
  return 2;
}
