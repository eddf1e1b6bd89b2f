#include "desktop/pointer_hook_win32.h"

// Passes every event on; the pointer handling itself is added separately.
LRESULT CALLBACK MouseHookProc(int code, WPARAM wParam, LPARAM lParam) {
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
