// libFuzzer target: the portable INI store over any file. Whatever the file
// holds, settings saved into it load back as saved, and saving them once
// more changes no byte of it.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "settings/ini_store.h"

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream buffer;
  buffer << file.rdbuf();
  return buffer.str();
}

bool Same(const Settings& a, const Settings& b) {
  if (a.theme != b.theme || a.totalFish != b.totalFish || a.fpsMode != b.fpsMode) return false;
  for (int i = 0; i < kSpeciesCount; ++i) {
    if (a.speciesCounts[i] != b.speciesCounts[i]) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // In memory where the system has a place for that: every read and write is a file's.
  static const std::string path = std::string(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") +
                                  "/tidemere-fuzz-ini-" + std::to_string(getpid()) + ".ini";
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), long(size));
  IniFileStore store(path);
  Settings loaded;
  LoadSettingsFrom(store, loaded);

  // Values of every setting that differ from input to input.
  Settings saved;
  saved.theme = 1 + int(size % 6);
  saved.totalFish = 5 + int(size % 56);
  saved.fpsMode = int(size % 2);
  for (int i = 0; i < kSpeciesCount; ++i) saved.speciesCounts[i] = int((size + 7 * size_t(i)) % 61);
  if (!SaveSettingsTo(store, saved).ok) std::abort();
  Settings again;
  LoadSettingsFrom(store, again);
  if (!Same(saved, again)) std::abort();  // the file changed what was saved
  const std::string once = ReadFile(path);
  if (!SaveSettingsTo(store, saved).ok || ReadFile(path) != once) std::abort();  // a second save rewrote it
  return 0;
}
