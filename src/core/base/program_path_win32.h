// Where the running program lives.
#pragma once

#include <windows.h>

#include <string>

// The running program's full path, however long.
std::wstring GetProgramPath();
// The program's folder with `name` in place of the file name (the bare name
// when the path holds no backslash).
std::wstring BesideProgram(const wchar_t* name);
