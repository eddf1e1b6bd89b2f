#include "settings/settings_win32.h"

#include <shlobj.h>

#include "base/program_path_win32.h"

int PrivateProfileStore::ReadInt(const wchar_t* section, const wchar_t* key, int defaultValue) {
  return int(GetPrivateProfileIntW(section, key, defaultValue, path.c_str()));
}

void PrivateProfileStore::WriteString(const wchar_t* section, const wchar_t* key, const wchar_t* value) {
  WritePrivateProfileStringW(section, key, value, path.c_str());
}

std::wstring GetSettingsPath() {
  wchar_t folder[MAX_PATH] = {};
  if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, folder))) {
    std::wstring directory = std::wstring(folder) + L"\\Tidemere";
    std::wstring path = directory + L"\\Tidemere.ini";
    // The profile functions take paths of up to MAX_PATH characters; a longer
    // one would fail silently, so such a profile folder falls back to the
    // program's own folder instead of being cut.
    if (path.size() < MAX_PATH) {
      CreateDirectoryW(directory.c_str(), nullptr);
      return path;
    }
  }
  return BesideProgram(L"Tidemere.ini");
}

void LoadSettings(Settings& settings) {
  settings = Settings{};
  PrivateProfileStore store(GetSettingsPath());
  LoadSettingsFrom(store, settings);
}

void SaveSettings(const Settings& settings) {
  PrivateProfileStore store(GetSettingsPath());
  SaveSettingsTo(store, settings);
}
