#include "settings/settings_win32.h"

#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/program_path_win32.h"

int PrivateProfileStore::ReadInt(const wchar_t* section, const wchar_t* key, int defaultValue) {
  return int(GetPrivateProfileIntW(section, key, defaultValue, path.c_str()));
}

// Each private-profile write rewrites the whole file, so a section is
// written with one call: the section as it is, our keys replaced where it
// has them (the first of a key's lines, the one that is read) and added
// where it has not, every other line kept.
SaveResult PrivateProfileStore::WriteKeys(const wchar_t* section, const ProfileEntry* entries, int count) {
  std::vector<wchar_t> buffer(4096);
  for (;;) {
    const DWORD length =
        GetPrivateProfileSectionW(section, buffer.data(), DWORD(buffer.size()), path.c_str());
    if (length + 2 < buffer.size()) {
      buffer.resize(length);  // the lines, each ended by its NUL
      break;
    }
    buffer.resize(buffer.size() * 2);  // it did not fit
  }
  std::vector<std::wstring> lines;
  for (size_t start = 0; start < buffer.size();) {
    const size_t end = std::find(buffer.begin() + start, buffer.end(), L'\0') - buffer.begin();
    lines.emplace_back(buffer.data() + start, end - start);
    start = end + 1;
  }
  auto entry = [&](int e) { return std::wstring(entries[e].key) + L"=" + entries[e].value; };
  // Keys compared as the profile functions compare them: without case, blanks
  // around them ignored.
  auto isKey = [](std::wstring name, const wchar_t* key) {
    const size_t first = name.find_first_not_of(L" \t"), last = name.find_last_not_of(L" \t");
    name = first == std::wstring::npos ? L"" : name.substr(first, last - first + 1);
    return CompareStringOrdinal(name.c_str(), int(name.size()), key, -1, TRUE) == CSTR_EQUAL;
  };
  std::vector<bool> written(size_t(count), false);
  for (std::wstring& line : lines) {
    const size_t equals = line.find(L'=');
    if (equals == std::wstring::npos) continue;
    for (int e = 0; e < count; ++e) {
      if (written[size_t(e)] || !isKey(line.substr(0, equals), entries[e].key)) continue;
      line = entry(e);
      written[size_t(e)] = true;
      break;
    }
  }
  for (int e = 0; e < count; ++e) {
    if (!written[size_t(e)]) lines.push_back(entry(e));
  }
  std::wstring block;
  for (const std::wstring& line : lines) block += line + L'\0';
  block += L'\0';
  if (!WritePrivateProfileSectionW(section, block.c_str(), path.c_str())) return {false, GetLastError()};
  return {};
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

SaveResult SaveSettings(const Settings& settings) {
  PrivateProfileStore store(GetSettingsPath());
  return SaveSettingsTo(store, settings);
}
