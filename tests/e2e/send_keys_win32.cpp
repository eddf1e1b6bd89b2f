// Injects input with SendInput, for the end-to-end checks:
//   tidemere-send_keys 2           Ctrl+Shift+2
//   tidemere-send_keys click X Y   a left click at screen point (X, Y)
//   tidemere-send_keys move X Y    the pointer moved to screen point (X, Y)
//   tidemere-send_keys key VK      a key (a virtual-key code) pressed and released
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

int SendMouse(int x, int y, bool click) {
  INPUT inputs[3] = {};
  const DWORD flags[3] = {MOUSEEVENTF_MOVE, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
  const int count = click ? 3 : 1;
  for (int i = 0; i < count; ++i) {
    inputs[i].type = INPUT_MOUSE;
    // Absolute coordinates run from 0 to 65535 over the primary screen.
    inputs[i].mi.dx =
        LONG((x * 65535 + GetSystemMetrics(SM_CXSCREEN) / 2) / (GetSystemMetrics(SM_CXSCREEN) - 1));
    inputs[i].mi.dy =
        LONG((y * 65535 + GetSystemMetrics(SM_CYSCREEN) / 2) / (GetSystemMetrics(SM_CYSCREEN) - 1));
    inputs[i].mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | flags[i];
  }
  return SendInput(UINT(count), inputs, sizeof(INPUT)) == UINT(count) ? 0 : 1;
}

int SendKey(WORD key) {
  INPUT inputs[2] = {};
  inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = inputs[1].ki.wVk = key;
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  return SendInput(2, inputs, sizeof(INPUT)) == 2 ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 4 && std::wcscmp(argv[1], L"click") == 0)
    return SendMouse(_wtoi(argv[2]), _wtoi(argv[3]), true);
  if (argc == 4 && std::wcscmp(argv[1], L"move") == 0)
    return SendMouse(_wtoi(argv[2]), _wtoi(argv[3]), false);
  if (argc == 3 && std::wcscmp(argv[1], L"key") == 0) return SendKey(WORD(_wtoi(argv[2])));
  if (argc == 2 && argv[1][0] != 0) return SendHotKey(argv[1][0]);
  std::fputs("usage: tidemere-send_keys KEY | click X Y | move X Y | key VK\n", stderr);
  return 2;
}
