// Where the Windows program's log goes: beside the program unless told
// otherwise (a screensaver may live in the system's folder, where it cannot
// write).
#pragma once

#include <string>

void SetLogFilePath(const std::wstring& path);
