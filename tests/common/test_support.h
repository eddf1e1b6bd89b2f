// Platform pieces the portable tests need: temporary files and the settings
// store of the platform (the portable INI store natively, the private-profile
// functions on Windows).
#pragma once

#include <memory>
#include <string>

#include "settings/settings.h"

std::string TempFilePath(const std::string& name);
std::unique_ptr<ProfileStore> MakeProfileStore(const std::string& path);
void WriteTextFile(const std::string& path, const std::string& contents);
std::string ReadTextFile(const std::string& path);
bool FileExists(const std::string& path);
void RemoveFile(const std::string& path);
