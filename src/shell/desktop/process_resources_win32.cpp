// The process's GDI objects, USER objects, kernel handles and private bytes.
// Windows reports each directly; Wine 8 answers 0 for all but the memory, so
// there GDI and USER objects are counted instead (a once-a-minute diagnostic
// of a few milliseconds, never on a frame's path).
#include <windows.h>
// after windows.h, which it builds on
#include <psapi.h>

#include "desktop/lifecycle_win32.h"

namespace {

// NOTE: Wine's handles are an index in the low word and a generation in the
// high word, and Wine takes a bare index as the live object at that index;
// probing every index counts what is alive. Real Windows never gets here.
constexpr unsigned kHandleIndexes = 0x10000;

unsigned long CountGdiObjects() {
  unsigned long count = 0;
  for (unsigned index = 1; index < kHandleIndexes; ++index) {
    count += GetObjectType(reinterpret_cast<HGDIOBJ>(static_cast<uintptr_t>(index))) != 0;
  }
  return count;
}

struct WindowCount {
  DWORD process;
  unsigned long windows;
};

BOOL CALLBACK CountChild(HWND, LPARAM param) {
  ++reinterpret_cast<WindowCount*>(param)->windows;
  return TRUE;
}

// A window of ours, with all its descendants (children of ours are ours).
BOOL CALLBACK CountOwnWindow(HWND window, LPARAM param) {
  auto& count = *reinterpret_cast<WindowCount*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != count.process) return TRUE;
  ++count.windows;
  EnumChildWindows(window, CountChild, param);
  return TRUE;
}

// Our windows (top level, their children, message-only ones) and menus.
unsigned long CountUserObjects() {
  WindowCount count = {GetCurrentProcessId(), 0};
  EnumWindows(CountOwnWindow, reinterpret_cast<LPARAM>(&count));
  for (HWND window = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); window != nullptr;
       window = FindWindowExW(HWND_MESSAGE, window, nullptr, nullptr)) {
    CountOwnWindow(window, reinterpret_cast<LPARAM>(&count));
  }
  unsigned long menus = 0;
  for (unsigned index = 1; index < kHandleIndexes; ++index) {
    menus += IsMenu(reinterpret_cast<HMENU>(static_cast<uintptr_t>(index))) != FALSE;
  }
  return count.windows + menus;
}

}  // namespace

ProcessResources ReadProcessResources() {
  ProcessResources r;
  HANDLE self = GetCurrentProcess();
  r.gdiObjects = GetGuiResources(self, GR_GDIOBJECTS);
  r.userObjects = GetGuiResources(self, GR_USEROBJECTS);
  DWORD handles = 0;
  if (GetProcessHandleCount(self, &handles)) r.handles = handles;
  // A GUI process always holds some: zero means the system did not count.
  if (r.gdiObjects == 0) r.gdiObjects = CountGdiObjects();
  if (r.userObjects == 0) r.userObjects = CountUserObjects();
  // Kernel handles cannot be counted cheaply where the system does not say
  // (probing them takes seconds under Wine): they stay 0 there.

  PROCESS_MEMORY_COUNTERS_EX memory = {};
  memory.cb = sizeof(memory);
  if (GetProcessMemoryInfo(self, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory))) {
    // Private bytes; Wine fills only the commit charge, which Windows keeps equal to it.
    const SIZE_T bytes = memory.PrivateUsage != 0 ? memory.PrivateUsage : memory.PagefileUsage;
    r.privateKilobytes = static_cast<unsigned long>(bytes / 1024);
  }
  return r;
}
