// Native builds write the log to a chosen path (default "Tidemere.log" in the
// current directory); the tests point it at a temporary file.
#pragma once

#include <string>

void SetNativeLogPath(const std::string& path);
