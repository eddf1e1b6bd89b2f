// Injects Ctrl+Shift+<key> with SendInput, for the end-to-end hot-key checks:
//   tidemere-send_keys 2
#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
  if (argc < 2 || argv[1][0] == 0) {
    std::fputs("usage: tidemere-send_keys KEY\n", stderr);
    return 2;
  }
  WORD key = WORD(argv[1][0]);
  WORD sequence[3] = {VK_CONTROL, VK_SHIFT, key};
  INPUT inputs[6] = {};
  for (int i = 0; i < 3; ++i) {
    inputs[i].type = INPUT_KEYBOARD;
    inputs[i].ki.wVk = sequence[i];
    inputs[5 - i].type = INPUT_KEYBOARD;
    inputs[5 - i].ki.wVk = sequence[i];
    inputs[5 - i].ki.dwFlags = KEYEVENTF_KEYUP;
  }
  UINT sent = SendInput(6, inputs, sizeof(INPUT));
  return sent == 6 ? 0 : 1;
}
