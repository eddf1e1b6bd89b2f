#include <cstdio>
#include <set>

#include "base/program_path_win32.h"
#include "windows/win32_test_support.h"

HWND MakeWindow(const wchar_t* className, HWND parent, bool visible) {
  static std::set<std::wstring> registered;
  if (registered.insert(className).second) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = className;
    RegisterClassExW(&windowClass);
  }
  DWORD style = (parent ? WS_CHILD : WS_POPUP) | (visible ? WS_VISIBLE : 0);
  return CreateWindowExW(0, className, L"", style, 0, 0, 200, 100, parent, nullptr, GetModuleHandleW(nullptr),
                         nullptr);
}

bool ReadWholeFile(const std::wstring& path, std::string& contents) {
  FILE* file = _wfopen(path.c_str(), L"rb");
  if (file == nullptr) return false;
  char buffer[4096];
  size_t count;
  while ((count = std::fread(buffer, 1, sizeof(buffer), file)) > 0) contents.append(buffer, count);
  std::fclose(file);
  return true;
}

std::string ReadProgramLog() {
  std::string text;
  ReadWholeFile(BesideProgram(L"Tidemere.log"), text);
  return text;
}

void DeleteProgramLog() {
  DeleteFileW(BesideProgram(L"Tidemere.log").c_str());
}

void DrainMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
  }
}
