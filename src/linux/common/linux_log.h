// Log lines of the Linux shell: Log() writes to the /debug log only; Warn()
// also tells the user on standard error, for what they must know even
// without /debug (a hot key another program holds, a desktop that covers).
#pragma once

#include <string>

void Log(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Warn(const char* format, ...) __attribute__((format(printf, 1, 2)));

std::wstring WideFromUtf8(const std::string& text);
