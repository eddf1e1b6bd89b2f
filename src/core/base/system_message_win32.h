// The system's own words for an error code, for messages a user reads.
#pragma once

#include <string>

// FormatMessage's text without its line break; "error N" when it has none.
std::wstring SystemMessage(unsigned long error);
