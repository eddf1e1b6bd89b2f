// The settings file in the roaming application-data folder and the
// "Start with Windows" Run-key value.
#pragma once

#include <windows.h>

#include <string>

#include "settings/settings.h"

// The private-profile functions over one INI file.
struct PrivateProfileStore : ProfileStore {
  explicit PrivateProfileStore(std::wstring path) : path(std::move(path)) {}
  int ReadInt(const wchar_t* section, const wchar_t* key, int defaultValue) override;
  SaveResult WriteKeys(const wchar_t* section, const ProfileEntry* entries, int count) override;

  std::wstring path;
};

std::wstring GetSettingsPath();
// Start values, then the INI file.
void LoadSettings(Settings& settings);
// Writes every setting to the INI file; says whether that worked and, when
// not, the system's error code, for the caller to log and show.
SaveResult SaveSettings(const Settings& settings);

// "Start with Windows": does the Run key start this program, and adding or
// removing that value. The ...For forms take the program's path.
bool IsAutostartEnabled();
void ToggleAutostart();
bool IsAutostartEnabledFor(const std::wstring& programPath);
void ToggleAutostartFor(const std::wstring& programPath);
