#include "base/log_win32.h"

#include <windows.h>
// after windows.h, which it builds on
#include <shlobj.h>

#include "base/log.h"
#include "base/program_path_win32.h"

namespace {

// Empty: "Tidemere.log" beside the program.
std::wstring& LogFilePath() {
  static std::wstring path;
  return path;
}

}  // namespace

void SetLogFilePath(const std::wstring& path) {
  LogFilePath() = path;
}

std::wstring LogFilePathInUse() {
  return LogFilePath().empty() ? BesideProgram(L"Tidemere.log") : LogFilePath();
}

std::wstring WritableLogPath(const std::wstring& folder) {
  const std::wstring beside = folder + L"Tidemere.log";
  // NOTE: with requestedExecutionLevel in its manifest the program gets no
  // file virtualization: a folder the user cannot write refuses the file
  // instead of redirecting it to the VirtualStore.
  HANDLE file =
      CreateFileW(beside.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    CloseHandle(file);
    return beside;
  }
  wchar_t local[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, local))) return beside;
  const std::wstring directory = std::wstring(local) + L"\\Tidemere";
  CreateDirectoryW(directory.c_str(), nullptr);
  return directory + L"\\Tidemere.log";
}

uint64_t LogTickCount() {
  return GetTickCount64();
}

void AppendToLogFile(const std::string& line) {
  // The exit command's process and the running instance append to the same
  // file. A FILE_APPEND_DATA handle appends atomically on Windows but not
  // under Wine, so the writers also take turns through a named mutex.
  HANDLE turn = CreateMutexW(nullptr, FALSE, L"Local\\Tidemere_LogAppend");
  bool owned = turn != nullptr && WaitForSingleObject(turn, 2000) != WAIT_TIMEOUT;
  const std::wstring path = LogFilePathInUse();
  HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    LARGE_INTEGER size = {};
    GetFileSizeEx(file, &size);
    std::string bytes = size.QuadPart == 0 ? "\xEF\xBB\xBF" + line : line;
    DWORD written = 0;
    WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(file);
  }
  if (owned) ReleaseMutex(turn);
  if (turn != nullptr) CloseHandle(turn);
}
