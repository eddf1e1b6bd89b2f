#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "common/test_support.h"
#include "settings/ini_store.h"

std::string TempFilePath(const std::string& name) {
  return "/tmp/tidemere-test-" + std::to_string(getpid()) + "-" + name;
}

std::unique_ptr<ProfileStore> MakeProfileStore(const std::string& path) {
  return std::make_unique<IniFileStore>(path);
}

void WriteTextFile(const std::string& path, const std::string& contents) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << contents;
}

std::string ReadTextFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream buffer;
  buffer << file.rdbuf();
  return buffer.str();
}

bool FileExists(const std::string& path) {
  return std::ifstream(path).good();
}

void RemoveFile(const std::string& path) {
  std::remove(path.c_str());
}
