#include "settings/run_value.h"

#include <cwctype>
#include <string>

bool RunValueMatches(const wchar_t* stored, size_t capacity, const wchar_t* programPath) {
  if (stored == nullptr || programPath == nullptr) return false;
  std::wstring unquoted;
  for (size_t i = 0; i < capacity && stored[i] != 0; ++i) {
    if (stored[i] != L'"') unquoted += stored[i];
  }
  size_t i = 0;
  for (; i < unquoted.size() && programPath[i] != 0; ++i) {
    if (std::towlower(unquoted[i]) != std::towlower(programPath[i])) return false;
  }
  return i == unquoted.size() && programPath[i] == 0;
}
