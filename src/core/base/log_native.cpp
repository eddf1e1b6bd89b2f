#include "base/log_native.h"

#include <chrono>
#include <cstdio>
#include <string>

#include "base/log.h"

namespace {
std::string& NativeLogPath() {
  static std::string path = "Tidemere.log";
  return path;
}
}  // namespace

void SetNativeLogPath(const std::string& path) {
  NativeLogPath() = path;
}

uint64_t LogTickCount() {
  using namespace std::chrono;
  return uint64_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void AppendToLogFile(const std::string& line) {
  std::FILE* file = std::fopen(NativeLogPath().c_str(), "ab");
  if (file == nullptr) return;
  std::fseek(file, 0, SEEK_END);
  std::string bytes = std::ftell(file) == 0 ? "\xEF\xBB\xBF" + line : line;
  // One buffered write, flushed by fclose as one append.
  std::setvbuf(file, nullptr, _IOFBF, bytes.size() + 1);
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}
