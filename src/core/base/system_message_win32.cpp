#include "base/system_message_win32.h"

#include <windows.h>

std::wstring SystemMessage(unsigned long error) {
  wchar_t text[512] = {};
  DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                text, DWORD(sizeof(text) / sizeof(text[0])), nullptr);
  while (length > 0 && (text[length - 1] == L'\n' || text[length - 1] == L'\r' || text[length - 1] == L' ')) {
    text[--length] = 0;
  }
  if (length == 0) return L"error " + std::to_wstring(error);
  return text;
}
