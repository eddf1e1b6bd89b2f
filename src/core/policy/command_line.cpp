#include "policy/command_line.h"

#include <cwchar>

#include "base/themes.h"

namespace {

// Whether the ASCII `word` occurs in `text`, case-sensitively.
bool Contains(const wchar_t* text, const char* word) {
  for (const wchar_t* start = text; *start != 0; ++start) {
    size_t i = 0;
    while (word[i] != 0 && start[i] == wchar_t(word[i])) ++i;
    if (word[i] == 0) return true;
  }
  return false;
}

// A scene's digit on the command line is one character.
static_assert(kThemeCount <= 9, "scene numbers of one digit");

}  // namespace

bool HasDebugWord(const wchar_t* text) {
  return text != nullptr && (Contains(text, kDebugSwitch) || Contains(text, kDebugOption));
}

CommandLine ParseCommandLine(const wchar_t* text) {
  CommandLine result;
  if (text == nullptr || text[0] == 0) return result;
  result.debug = HasDebugWord(text);
  result.exitCommand = Contains(text, kExitWord);
  if (result.exitCommand) return result;
  // The rows in order: "2" wins over "3".
  for (const ThemeRow& row : kThemes) {
    if (row.onCommandLine && std::wcschr(text, wchar_t(L'0' + row.id)) != nullptr) {
      result.theme = row.id;
      break;
    }
  }
  return result;
}
