// A portable INI file store with the reading rules of the Windows
// private-profile functions: section and key names compared without case,
// blanks around names and values ignored, the first matching key wins, and
// integers read as GetPrivateProfileIntW reads them. Files are UTF-8 (with
// or without a byte-order mark) or, with a byte-order mark, UTF-16 little-
// or big-endian as Windows reads them; a write keeps the file's encoding and
// every line it does not change, byte for byte.
#pragma once

#include <string>

#include "settings/settings.h"

struct IniFileStore : ProfileStore {
  explicit IniFileStore(std::string path) : path(std::move(path)) {}
  int ReadInt(const wchar_t* section, const wchar_t* key, int defaultValue) override;
  SaveResult WriteKeys(const wchar_t* section, const ProfileEntry* entries, int count) override;

  std::string path;  // UTF-8 file name
};

// The integer reading of a profile value: leading blanks, one sign, an
// optional 0x / 0o / 0b base prefix, then digits up to the first other
// character; no digits gives 0. Overflow wraps as the platform's does.
int ParseProfileInt(const std::wstring& text);
