// The diagnostic log "Tidemere.log": one time-stamped UTF-8 line per event,
// written only when the program was started with /debug or --debug.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <string>

extern bool debugLogging;

// Formats with the C library's printf conventions (Windows flavour: %s takes
// a wide string, %p prints the bare upper-case hexadecimal address) and
// appends the line. Returns at once while debugLogging is false.
void WriteLog(const wchar_t* format, ...);

// Pieces shared by both platforms, also used by the tests.
std::wstring FormatLogMessage(const wchar_t* format, va_list args);
std::wstring FormatLogMessage(const wchar_t* format, ...);
// "[stamp] message" + CR LF, UTF-8 encoded; stamp = tick modulo 100000000.
std::string FormatLogLine(uint64_t tickMilliseconds, const std::wstring& message);
std::string ToUtf8(const std::wstring& text);

// Platform parts: the milliseconds since start-up, and one line appended to
// the log file in a single atomic append (the exit command's process and the
// running instance write to the same file), the UTF-8 byte-order mark first
// when the file is new or empty. A file that cannot be opened loses the line.
uint64_t LogTickCount();
void AppendToLogFile(const std::string& line);
