#include "common/linux_log.h"

#include <QString>
#include <cstdarg>
#include <cstdio>

#include "base/log.h"

namespace {

std::string Format(const char* format, va_list args) {
  char buffer[1024];
  std::vsnprintf(buffer, sizeof buffer, format, args);
  return buffer;
}

}  // namespace

std::wstring WideFromUtf8(const std::string& text) {
  return QString::fromStdString(text).toStdWString();
}

void Log(const char* format, ...) {
  if (!debugLogging) return;
  va_list args;
  va_start(args, format);
  const std::string line = Format(format, args);
  va_end(args);
  WriteLog(L"%s", WideFromUtf8(line).c_str());
}

void Warn(const char* format, ...) {
  va_list args;
  va_start(args, format);
  const std::string line = Format(format, args);
  va_end(args);
  std::fprintf(stderr, "tidemere: %s\n", line.c_str());
  if (debugLogging) WriteLog(L"%s", WideFromUtf8(line).c_str());
}
