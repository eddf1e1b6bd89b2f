#include <cstdio>

#include "app/log.h"
#include "app/wallpaper_app_win32.h"

uint64_t LogTickCount() {
  return GetTickCount64();
}

std::FILE* OpenLogFile() {
  return _wfopen(BesideProgram(L"Tidemere.log").c_str(), L"ab");
}
