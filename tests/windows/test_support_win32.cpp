#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "common/test_support.h"
#include "settings/settings_win32.h"

namespace {
std::wstring Wide(const std::string& text) {
  return std::wstring(text.begin(), text.end());
}
}  // namespace

std::string TempFilePath(const std::string& name) {
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  return std::string(folder) + "tidemere-test-" + std::to_string(GetCurrentProcessId()) + "-" + name;
}

std::unique_ptr<ProfileStore> MakeProfileStore(const std::string& path) {
  return std::make_unique<PrivateProfileStore>(Wide(path));
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
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveFile(const std::string& path) {
  DeleteFileA(path.c_str());
}
