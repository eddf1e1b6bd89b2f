#include "app/log_native.h"

#include <chrono>
#include <string>

#include "app/log.h"

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

std::FILE* OpenLogFile() {
  return std::fopen(NativeLogPath().c_str(), "ab");
}
