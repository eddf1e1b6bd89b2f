// Where the Windows program's log goes: beside the program unless told
// otherwise (a screensaver may live in the system's folder, where it cannot
// write).
#pragma once

#include <string>

void SetLogFilePath(const std::wstring& path);
// The file the log goes to now.
std::wstring LogFilePathInUse();
// Where "Tidemere.log" can be written: in `folder` (the program's, with its
// trailing backslash) when a file can be made there, else in
// %LOCALAPPDATA%\Tidemere (a program in Program Files, which a user cannot write).
std::wstring WritableLogPath(const std::wstring& folder);
