#include <vector>

#include "base/log.h"
#include "base/program_path_win32.h"
#include "settings/run_value.h"
#include "settings/settings_win32.h"

namespace {
const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The Run value "Tidemere" whole, however long: a program path of 258
// characters or more no longer fits the 260 characters once quoted.
bool ReadRunValue(std::vector<wchar_t>& text) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  DWORD type = 0;
  DWORD bytes = 0;
  LONG result = RegQueryValueExW(key, L"Tidemere", nullptr, &type, nullptr, &bytes);
  // The value may grow between asking its size and reading it: ask again then.
  bool complete = false;
  for (int attempt = 0; result == ERROR_SUCCESS && !complete && attempt < 4; ++attempt) {
    // One more character, zero, so that an unterminated value ends inside the buffer.
    text.assign((bytes + 1) / sizeof(wchar_t) + 1, L'\0');
    DWORD size = DWORD((text.size() - 1) * sizeof(wchar_t));
    result = RegQueryValueExW(key, L"Tidemere", nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size);
    complete = result == ERROR_SUCCESS;
    if (result == ERROR_MORE_DATA) {
      bytes = size;
      result = ERROR_SUCCESS;
    }
  }
  RegCloseKey(key);
  return complete && type == REG_SZ;
}
}  // namespace

bool IsAutostartEnabled() {
  return IsAutostartEnabledFor(GetProgramPath());
}

void ToggleAutostart() {
  ToggleAutostartFor(GetProgramPath());
}

bool IsAutostartEnabledFor(const std::wstring& programPath) {
  std::vector<wchar_t> stored;
  if (!ReadRunValue(stored)) return false;
  return RunValueMatches(stored.data(), stored.size(), programPath.c_str());
}

void ToggleAutostartFor(const std::wstring& programPath) {
  bool enabled = IsAutostartEnabledFor(programPath);
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) {
    WriteLog(L"自动启动：打开注册表失败");
    return;
  }
  if (enabled) {
    LONG result = RegDeleteValueW(key, L"Tidemere");
    WriteLog(L"自动启动：已移除 r=%ld", result);
  } else {
    std::wstring quoted = L"\"" + programPath + L"\"";
    LONG result = RegSetValueExW(key, L"Tidemere", 0, REG_SZ, reinterpret_cast<const BYTE*>(quoted.c_str()),
                                 DWORD((quoted.size() + 1) * sizeof(wchar_t)));
    WriteLog(L"自动启动：已设置 r=%ld", result);
  }
  RegCloseKey(key);
}
