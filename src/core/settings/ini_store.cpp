#include "settings/ini_store.h"

#include <cwctype>
#include <fstream>
#include <sstream>
#include <vector>

#include "base/log.h"

namespace {

std::wstring FromUtf8(const std::string& text) {
  std::wstring out;
  for (size_t i = 0; i < text.size();) {
    unsigned char c = (unsigned char)text[i];
    uint32_t code = c;
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    if (extra > 0) code = c & (0x3F >> extra);
    ++i;
    for (int k = 0; k < extra && i < text.size(); ++k, ++i)
      code = (code << 6) | ((unsigned char)text[i] & 0x3F);
    if (sizeof(wchar_t) == 2 && code >= 0x10000) {
      code -= 0x10000;
      out += wchar_t(0xD800 + (code >> 10));
      out += wchar_t(0xDC00 + (code & 0x3FF));
    } else {
      out += wchar_t(code);
    }
  }
  return out;
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

std::vector<std::wstring> ReadLines(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::vector<std::wstring> lines;
  if (!file) return lines;
  std::stringstream buffer;
  buffer << file.rdbuf();
  std::string text = buffer.str();
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
  std::string line;
  for (char c : text) {
    if (c == '\n') {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(FromUtf8(line));
      line.clear();
    } else {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(FromUtf8(line));
  return lines;
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
  for (const std::wstring& line : ReadLines(path)) {
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

void IniFileStore::WriteString(const wchar_t* section, const wchar_t* key, const wchar_t* value) {
  std::vector<std::wstring> lines = ReadLines(path);
  std::wstring entry = std::wstring(key) + L"=" + value;
  int sectionStart = -1, insertAt = -1;
  bool replaced = false;
  for (size_t i = 0; i < lines.size() && !replaced; ++i) {
    std::wstring trimmed = Trim(lines[i]), name, k, v;
    if (IsSectionLine(trimmed, &name)) {
      if (sectionStart >= 0) break;
      if (SameName(name, section)) sectionStart = int(i);
    } else if (sectionStart >= 0) {
      if (IsKeyLine(trimmed, &k, &v) && SameName(k, key)) {
        lines[i] = entry;
        replaced = true;
      } else if (!trimmed.empty()) {
        insertAt = int(i) + 1;
      }
    }
  }
  if (!replaced) {
    if (sectionStart < 0) {
      if (!lines.empty() && !Trim(lines.back()).empty()) lines.push_back(L"");
      lines.push_back(L"[" + std::wstring(section) + L"]");
      lines.push_back(entry);
    } else {
      if (insertAt < 0) insertAt = sectionStart + 1;
      lines.insert(lines.begin() + insertAt, entry);
    }
  }
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  for (const std::wstring& line : lines) file << ToUtf8(line) << "\r\n";
}
