#include "settings/ini_store.h"

#include <cerrno>
#include <cstdio>
#include <cwctype>
#include <vector>

#include "base/utf8.h"

namespace {

// Bytes that are not UTF-8 (overlong forms, surrogates, code points past
// U+10FFFF, stray or truncated sequences) stand for themselves: each is kept
// as U+DC80 + (byte - 0x80), a lone surrogate that matches no name and no
// digit, is never read as a line break or any other control character, and is
// written back as the byte it was.
constexpr uint32_t kEscapes = 0xDC00;  // U+DC80..U+DCFF: the bytes 0x80..0xFF

void AppendCodePoint(std::wstring& out, uint32_t code) {
  if (sizeof(wchar_t) == 2 && code >= 0x10000) {
    code -= 0x10000;
    out += wchar_t(0xD800 + (code >> 10));
    out += wchar_t(0xDC00 + (code & 0x3FF));
  } else {
    out += wchar_t(code);
  }
}

std::wstring DecodeUtf8(const std::string& bytes) {
  std::wstring out;
  for (size_t i = 0; i < bytes.size();) {
    const unsigned char lead = (unsigned char)bytes[i];
    // The continuation bytes a lead byte asks for, and the least code point
    // that needs that many (anything less is an overlong form).
    int extra = 0;
    uint32_t lowest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
      extra = 1;
      lowest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      extra = 2;
      lowest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      extra = 3;
      lowest = 0x10000;
    } else if (lead >= 0x80) {
      extra = -1;  // a continuation byte on its own, or a lead byte no UTF-8 has
    }
    uint32_t code = extra > 0 ? lead & (0x3F >> extra) : lead;
    int taken = 0;
    while (taken < extra && i + 1 + taken < bytes.size() &&
           ((unsigned char)bytes[i + 1 + taken] & 0xC0) == 0x80) {
      code = code << 6 | ((unsigned char)bytes[i + 1 + taken] & 0x3F);
      ++taken;
    }
    if (extra < 0 || taken < extra || code < lowest || code > 0x10FFFF ||
        (code >= 0xD800 && code <= 0xDFFF)) {
      out += wchar_t(kEscapes + lead);  // the bytes after it are read on their own
      ++i;
      continue;
    }
    AppendCodePoint(out, code);
    i += size_t(1 + extra);
  }
  return out;
}

std::string EncodeUtf8(const std::wstring& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t c = uint32_t(text[i]);
    if (c >= kEscapes + 0x80 && c <= kEscapes + 0xFF) {
      out += char(c - kEscapes);
      continue;
    }
    if (sizeof(wchar_t) == 2 && c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
      const uint32_t low = uint32_t(text[i + 1]);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    AppendUtf8(out, c);
  }
  return out;
}

enum class Encoding { kUtf8, kUtf8Bom, kUtf16Le, kUtf16Be };

// UTF-16 code units to text; valid pairs become one character where wchar_t
// holds it, lone surrogates stay as they are (and are written back so).
std::wstring DecodeUtf16(const std::string& bytes, bool bigEndian) {
  std::wstring out;
  for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
    const uint32_t a = (unsigned char)bytes[i], b = (unsigned char)bytes[i + 1];
    const uint32_t unit = bigEndian ? a << 8 | b : b << 8 | a;
    if (sizeof(wchar_t) == 4 && unit >= 0xD800 && unit <= 0xDBFF && i + 3 < bytes.size()) {
      const uint32_t c = (unsigned char)bytes[i + 2], d = (unsigned char)bytes[i + 3];
      const uint32_t low = bigEndian ? c << 8 | d : d << 8 | c;
      if (low >= 0xDC00 && low <= 0xDFFF) {
        out += wchar_t(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        i += 2;
        continue;
      }
    }
    out += wchar_t(unit);
  }
  return out;
}

std::string EncodeUtf16(const std::wstring& text, bool bigEndian) {
  std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  auto put = [&](uint32_t unit) {
    const char high = char(unit >> 8), low = char(unit & 0xFF);
    out += bigEndian ? high : low;
    out += bigEndian ? low : high;
  };
  for (wchar_t ch : text) {
    const uint32_t c = uint32_t(ch);
    if (c >= 0x10000) {
      put(0xD800 + ((c - 0x10000) >> 10));
      put(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      put(c);
    }
  }
  return out;
}

// The file as lines without their '\n' (a '\r' before it stays in the line:
// the reading rules trim it like any blank), in the encoding it came in.
struct IniText {
  Encoding encoding = Encoding::kUtf8;
  std::vector<std::wstring> lines;
  bool finalNewline = false;  // the last line ends with '\n'
};

// The file's bytes, taken only when all of them can be, and at most
// kMaxIniBytes; a missing file is empty. Returns 0, or why not: EFBIG for a
// larger file, else errno. Reads stop at the bound, whatever size the file
// claims (a pipe, a file still growing).
int ReadBytes(const std::string& path, std::string& bytes) {
  bytes.clear();
  errno = 0;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return errno == ENOENT ? 0 : errno != 0 ? errno : EIO;
  char chunk[16384];
  int error = 0;
  for (size_t got; error == 0 && (got = std::fread(chunk, 1, sizeof chunk, file)) > 0;) {
    if (got > kMaxIniBytes - bytes.size()) {
      error = EFBIG;
    } else {
      bytes.append(chunk, got);
    }
  }
  if (error == 0 && std::ferror(file)) error = errno != 0 ? errno : EIO;
  std::fclose(file);
  if (error != 0) bytes.clear();
  return error;
}

// The file as text, or 0 lines and the reason it was not read whole.
IniText ReadIni(const std::string& path, unsigned long& error) {
  IniText ini;
  std::string bytes;
  error = (unsigned long)ReadBytes(path, bytes);
  if (error != 0) return ini;
  std::wstring text;
  if (bytes.compare(0, 2, "\xFF\xFE") == 0) {
    ini.encoding = Encoding::kUtf16Le;
    text = DecodeUtf16(bytes, false);
  } else if (bytes.compare(0, 2, "\xFE\xFF") == 0) {
    ini.encoding = Encoding::kUtf16Be;
    text = DecodeUtf16(bytes, true);
  } else if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    ini.encoding = Encoding::kUtf8Bom;
    text = DecodeUtf8(bytes.substr(3));
  } else {
    text = DecodeUtf8(bytes);
  }
  size_t start = 0;
  for (size_t end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1) {
    ini.lines.push_back(text.substr(start, end - start));
  }
  ini.finalNewline = start == text.size() && !text.empty();
  if (start < text.size()) ini.lines.push_back(text.substr(start));
  return ini;
}

SaveResult WriteIni(const std::string& path, const IniText& ini) {
  std::wstring text;
  for (size_t i = 0; i < ini.lines.size(); ++i) {
    text += ini.lines[i];
    if (i + 1 < ini.lines.size() || ini.finalNewline) text += L'\n';
  }
  std::string bytes;
  switch (ini.encoding) {
    case Encoding::kUtf8:
      bytes = EncodeUtf8(text);
      break;
    case Encoding::kUtf8Bom:
      bytes = "\xEF\xBB\xBF" + EncodeUtf8(text);
      break;
    case Encoding::kUtf16Le:
    case Encoding::kUtf16Be:
      bytes = EncodeUtf16(text, ini.encoding == Encoding::kUtf16Be);
      break;
  }
  // Never a file that the next read would refuse.
  if (bytes.size() > kMaxIniBytes) return {false, (unsigned long)EFBIG};
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return {false, (unsigned long)errno};
  errno = 0;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  int error = ok ? 0 : errno;
  if (std::fclose(file) != 0) {
    ok = false;
    if (error == 0) error = errno;
  }
  if (!ok) return {false, (unsigned long)(error != 0 ? error : EIO)};
  return {};
}

std::wstring Trim(const std::wstring& text) {
  size_t begin = 0, end = text.size();
  while (begin < end && std::iswspace(text[begin])) ++begin;
  while (end > begin && std::iswspace(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

bool SameName(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::towlower(a[i]) != std::towlower(b[i])) return false;
  }
  return true;
}

bool IsSectionLine(const std::wstring& trimmed, std::wstring* name) {
  if (trimmed.empty() || trimmed[0] != L'[') return false;
  size_t close = trimmed.find(L']');
  *name = Trim(trimmed.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1));
  return true;
}

// Splits "key = value"; false for blank, comment and section lines.
bool IsKeyLine(const std::wstring& trimmed, std::wstring* key, std::wstring* value) {
  if (trimmed.empty() || trimmed[0] == L';' || trimmed[0] == L'[') return false;
  size_t equals = trimmed.find(L'=');
  if (equals == std::wstring::npos) return false;
  *key = Trim(trimmed.substr(0, equals));
  *value = Trim(trimmed.substr(equals + 1));
  return true;
}

}  // namespace

int ParseProfileInt(const std::wstring& text) {
  size_t i = 0;
  while (i < text.size() && text[i] <= L' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
  unsigned base = 10;
  if (i + 1 < text.size() && text[i] == L'0') {
    wchar_t prefix = text[i + 1];
    if (prefix == L'x' || prefix == L'X') base = 16;
    if (prefix == L'o' || prefix == L'O') base = 8;
    if (prefix == L'b' || prefix == L'B') base = 2;
    if (base != 10) i += 2;
  }
  uint32_t value = 0;
  for (; i < text.size(); ++i) {
    wchar_t c = text[i];
    unsigned digit = c >= L'0' && c <= L'9'   ? unsigned(c - L'0')
                     : c >= L'a' && c <= L'f' ? unsigned(c - L'a' + 10)
                     : c >= L'A' && c <= L'F' ? unsigned(c - L'A' + 10)
                                              : 99;
    if (digit >= base) break;
    value = value * base + digit;
  }
  return int(negative ? 0u - value : value);
}

int IniFileStore::ReadInt(const wchar_t* section, const wchar_t* key, int defaultValue) {
  bool inSection = false;
  for (const std::wstring& line : ReadIni(path, readError).lines) {
    std::wstring trimmed = Trim(line), name, k, v;
    if (IsSectionLine(trimmed, &name)) {
      if (inSection) break;  // the first matching section holds the answer
      inSection = SameName(name, section);
    } else if (inSection && IsKeyLine(trimmed, &k, &v) && SameName(k, key)) {
      if (v.size() >= 2 && (v.front() == L'"' || v.front() == L'\'') && v.back() == v.front()) {
        v = v.substr(1, v.size() - 2);
      }
      return v.empty() ? defaultValue : ParseProfileInt(v);
    }
  }
  return defaultValue;
}

SaveResult IniFileStore::WriteKeys(const wchar_t* section, const ProfileEntry* entries, int count) {
  IniText ini = ReadIni(path, readError);
  if (readError != 0) return {false, readError};  // its lines would be lost
  std::vector<std::wstring>& lines = ini.lines;
  auto entry = [&](int i) { return std::wstring(entries[i].key) + L"=" + entries[i].value + L"\r"; };
  std::vector<bool> written(size_t(count), false);
  int sectionStart = -1, insertAt = -1;
  for (size_t i = 0; i < lines.size(); ++i) {
    std::wstring trimmed = Trim(lines[i]), name, k, v;
    if (IsSectionLine(trimmed, &name)) {
      if (sectionStart >= 0) break;
      if (SameName(name, section)) sectionStart = int(i);
    } else if (sectionStart >= 0) {
      bool ours = false;
      if (IsKeyLine(trimmed, &k, &v)) {
        for (int e = 0; e < count && !ours; ++e) {
          if (written[size_t(e)] || !SameName(k, entries[e].key)) continue;
          lines[i] = entry(e);  // the first of the key's lines is the one read
          written[size_t(e)] = ours = true;
        }
      }
      if (!trimmed.empty()) insertAt = int(i) + 1;
    }
  }
  std::vector<std::wstring> added;
  if (sectionStart < 0) {
    if (!lines.empty() && !Trim(lines.back()).empty()) added.push_back(L"\r");
    added.push_back(L"[" + std::wstring(section) + L"]\r");
    insertAt = int(lines.size());
  } else if (insertAt < 0) {
    insertAt = sectionStart + 1;
  }
  for (int e = 0; e < count; ++e) {
    if (!written[size_t(e)]) added.push_back(entry(e));
  }
  if (!added.empty()) {
    // Lines go after the section's last one, which then needs its line break.
    if (insertAt == int(lines.size())) ini.finalNewline = true;
    lines.insert(lines.begin() + insertAt, added.begin(), added.end());
  }
  return WriteIni(path, ini);
}
