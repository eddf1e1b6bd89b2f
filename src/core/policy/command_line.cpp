#include "policy/command_line.h"

#include <cwchar>

CommandLine ParseCommandLine(const wchar_t* text) {
  CommandLine result;
  if (text == nullptr || text[0] == 0) return result;
  result.debug = std::wcsstr(text, L"/debug") != nullptr || std::wcsstr(text, L"--debug") != nullptr;
  result.exitCommand = std::wcsstr(text, L"exit") != nullptr;
  if (result.exitCommand) return result;
  if (std::wcschr(text, L'2') != nullptr) {
    result.theme = 2;
  } else if (std::wcschr(text, L'3') != nullptr) {
    result.theme = 3;
  }
  return result;
}
