// A portable INI file store with the reading rules of the Windows
// private-profile functions: section and key names compared without case,
// blanks around names and values ignored, the first matching key wins, and
// integers read as GetPrivateProfileIntW reads them. Files are UTF-8 (with
// or without a byte-order mark) or, with a byte-order mark, UTF-16 little-
// or big-endian as Windows reads them; a write keeps the file's encoding and
// every line it does not change, byte for byte.
//
// A file is read whole or not at all: one larger than kMaxIniBytes, or one
// that cannot be read, gives the defaults and is never written over, so
// that its lines are not replaced by ours alone.
#pragma once

#include <cstddef>
#include <string>

#include "settings/settings.h"

// A real settings file is under 1 KB; reading 200 MB of one would take
// gigabytes of memory.
constexpr size_t kMaxIniBytes = size_t(1) << 20;

struct IniFileStore : ProfileStore {
  explicit IniFileStore(std::string path) : path(std::move(path)) {}
  int ReadInt(const wchar_t* section, const wchar_t* key, int defaultValue) override;
  // Refused, with readError, when the file is not read whole; refused with
  // EFBIG when the file would grow past kMaxIniBytes.
  SaveResult WriteKeys(const wchar_t* section, const ProfileEntry* entries, int count) override;

  std::string path;  // UTF-8 file name
  // Why the last read or write did not take the whole file: 0 when it did
  // (or there is no file), EFBIG when it holds more than kMaxIniBytes, else
  // the system's error (errno) for reading it.
  unsigned long readError = 0;
};

// The integer reading of a profile value: leading blanks, one sign, an
// optional 0x / 0o / 0b base prefix, then digits up to the first other
// character; no digits gives 0. Overflow wraps as the platform's does.
int ParseProfileInt(const std::wstring& text);
