// The "Start with Windows" check: does a stored Run value start this very
// program? Double quotes anywhere are ignored and case does not matter.
#pragma once

#include <cstddef>

// `stored` holds up to `capacity` characters and need not be terminated
// within them; nothing past the buffer is read.
bool RunValueMatches(const wchar_t* stored, size_t capacity, const wchar_t* programPath);
