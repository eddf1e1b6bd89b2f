#include "base/log.h"
#include "base/program_path_win32.h"
#include "settings/run_value.h"
#include "settings/settings_win32.h"

namespace {
const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
}

bool IsAutostartEnabled() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  wchar_t stored[260] = {};
  DWORD type = 0;
  DWORD bytes = sizeof(stored);
  LONG result = RegQueryValueExW(key, L"Tidemere", nullptr, &type, reinterpret_cast<BYTE*>(stored), &bytes);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS || type != REG_SZ) return false;
  // A value that fills the buffer has no terminator inside it: compare only
  // what was read.
  return RunValueMatches(stored, bytes / sizeof(wchar_t), GetProgramPath().c_str());
}

void ToggleAutostart() {
  bool enabled = IsAutostartEnabled();
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) {
    WriteLog(L"自动启动：打开注册表失败");
    return;
  }
  if (enabled) {
    LONG result = RegDeleteValueW(key, L"Tidemere");
    WriteLog(L"自动启动：已移除 r=%ld", result);
  } else {
    std::wstring quoted = L"\"" + GetProgramPath() + L"\"";
    LONG result = RegSetValueExW(key, L"Tidemere", 0, REG_SZ, reinterpret_cast<const BYTE*>(quoted.c_str()),
                                 DWORD((quoted.size() + 1) * sizeof(wchar_t)));
    WriteLog(L"自动启动：已设置 r=%ld", result);
  }
  RegCloseKey(key);
}
