// UTF-8, as the log and the INI files write it.
#pragma once

#include <cstdint>
#include <string>

// One code point (below 0x110000) appended as UTF-8.
void AppendUtf8(std::string& out, uint32_t codePoint);
