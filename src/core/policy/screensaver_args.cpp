#include "policy/screensaver_args.h"

#include <cwchar>
#include <cwctype>

#include "policy/command_line.h"

namespace {

bool IsSpace(wchar_t c) {
  return c == L' ' || c == L'\t';
}

// A decimal window handle starting at `text`; false when there are no
// digits or the number does not fit in 64 bits.
bool ReadHandle(const wchar_t*& text, uint64_t& value) {
  const wchar_t* p = text;
  uint64_t result = 0;
  for (; *p >= L'0' && *p <= L'9'; ++p) {
    const uint64_t digit = uint64_t(*p - L'0');
    if (result > (UINT64_MAX - digit) / 10) return false;
    result = result * 10 + digit;
  }
  if (p == text) return false;
  text = p;
  value = result;
  return true;
}

SaverMode ModeOf(wchar_t letter) {
  switch (std::towlower(letter)) {
    case L's':
      return SaverMode::kFullScreen;
    case L'p':
      return SaverMode::kPreview;
    case L'c':
      return SaverMode::kConfigure;
    case L'a':
      return SaverMode::kPassword;
    default:
      return SaverMode::kNone;
  }
}

}  // namespace

SaverArguments ParseScreensaverArguments(const wchar_t* commandLine, bool startedAsScreensaver) {
  SaverArguments result;
  const wchar_t* p = commandLine ? commandLine : L"";
  result.debug = HasDebugWord(p);
  while (*p != 0) {
    while (IsSpace(*p)) ++p;
    const wchar_t* token = p;
    while (*p != 0 && !IsSpace(*p)) ++p;
    // "/x" or "-x", alone or followed by ":" and the handle.
    if (p - token < 2 || (token[0] != L'/' && token[0] != L'-')) continue;
    const SaverMode mode = ModeOf(token[1]);
    if (mode == SaverMode::kNone || (p - token > 2 && token[2] != L':')) continue;
    result.mode = mode;
    const wchar_t* handle = token + 2;
    if (*handle == L':') {
      ++handle;
    } else {
      while (IsSpace(*handle)) ++handle;  // the handle is the next word
    }
    uint64_t window = 0;
    if (ReadHandle(handle, window) && (*handle == 0 || IsSpace(*handle))) result.window = window;
    return result;
  }
  if (startedAsScreensaver) result.mode = SaverMode::kConfigure;
  return result;
}

bool IsScreensaverPath(const wchar_t* path) {
  const size_t length = path ? std::wcslen(path) : 0;
  if (length < 4) return false;
  const wchar_t* end = path + length - 4;
  return end[0] == L'.' && std::towlower(end[1]) == L's' && std::towlower(end[2]) == L'c' &&
         std::towlower(end[3]) == L'r';
}

bool MouseMoveEndsScreensaver(SaverMouse& mouse, int32_t x, int32_t y) {
  if (!mouse.seen) {
    mouse = {true, x, y};
    return false;
  }
  const int32_t dx = x - mouse.firstX, dy = y - mouse.firstY;
  return dx > kSaverMouseSlack || dx < -kSaverMouseSlack || dy > kSaverMouseSlack || dy < -kSaverMouseSlack;
}
