#include "base/program_path_win32.h"

#include <string>

std::wstring GetProgramPath() {
  // Grow the buffer until the path fits: a path longer than MAX_PATH is
  // possible and must not be cut.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, &path[0], DWORD(path.size()));
    if (length == 0) return std::wstring();
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::wstring BesideProgram(const wchar_t* name) {
  std::wstring path = GetProgramPath();
  size_t slash = path.rfind(L'\\');
  if (slash == std::wstring::npos) return name;
  return path.substr(0, slash + 1) + name;
}

