// Helpers of the Windows tests: stand-in shell windows and the log file.
#pragma once

#include <windows.h>

#include <string>

// Creates a window of a class registered on first use (a plain procedure).
HWND MakeWindow(const wchar_t* className, HWND parent, bool visible);
// A file's bytes; false when it cannot be read.
bool ReadWholeFile(const std::wstring& path, std::string& contents);
// The UTF-8 text of the log beside the test program ("" when missing).
std::string ReadProgramLog();
void DeleteProgramLog();
// Drops a WM_QUIT (or any message) left in this thread's queue.
void DrainMessages();
