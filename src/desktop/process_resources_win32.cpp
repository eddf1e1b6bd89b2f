// The process's GDI objects, USER objects, kernel handles and private bytes.
// Windows reports each directly; Wine 8 answers 0 for all but the memory, so
// there they are counted by probing the handle tables (a once-a-minute
// diagnostic, never on a frame's path).
#include <windows.h>
// after windows.h, which it builds on
#include <psapi.h>

#include "desktop/desktop_win32.h"

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

unsigned long CountUserObjects() {
  const DWORD self = GetCurrentProcessId();
  unsigned long count = 0;
  for (unsigned index = 1; index < kHandleIndexes; ++index) {
    auto handle = reinterpret_cast<HWND>(static_cast<uintptr_t>(index));
    DWORD owner = 0;
    if (IsWindow(handle) && GetWindowThreadProcessId(handle, &owner) && owner == self) ++count;
    count += IsMenu(reinterpret_cast<HMENU>(handle)) != FALSE;
  }
  return count;
}

unsigned long CountKernelHandles() {
  unsigned long count = 0;
  DWORD flags = 0;
  for (unsigned value = 4; value < 4 * kHandleIndexes; value += 4) {
    count += GetHandleInformation(reinterpret_cast<HANDLE>(static_cast<uintptr_t>(value)), &flags) != FALSE;
  }
  return count;
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
  if (r.handles == 0) r.handles = CountKernelHandles();

  PROCESS_MEMORY_COUNTERS_EX memory = {};
  memory.cb = sizeof(memory);
  if (GetProcessMemoryInfo(self, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory))) {
    // Private bytes; Wine fills only the commit charge, which Windows keeps equal to it.
    const SIZE_T bytes = memory.PrivateUsage != 0 ? memory.PrivateUsage : memory.PagefileUsage;
    r.privateKilobytes = static_cast<unsigned long>(bytes / 1024);
  }
  return r;
}
