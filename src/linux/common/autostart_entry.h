// "Start at login": the XDG autostart entry that starts this program, written
// and read as plain text so that the quoting rules are tested without files.
#pragma once

#include <string>

// One Exec argument as the desktop entry rules want it: quoted when it holds a
// reserved character (blank, quote, backslash, $, `, ...), with the quote,
// backquote, dollar and backslash escaped inside the quotes; % doubled; then
// the string value's own escape of each backslash.
std::string QuoteExecArgument(const std::string& argument);

// The whole tidemere.desktop text for the program at `programPath`.
std::string AutostartEntryText(const std::string& programPath);

// The program the entry's Exec key starts (its first argument, unquoted);
// empty when the text has no Desktop Entry group or no Exec key.
std::string ExecProgram(const std::string& entryText);

// Whether the entry starts this very program and the session will run it
// (neither Hidden=true nor X-GNOME-Autostart-enabled=false).
bool AutostartEntryStarts(const std::string& entryText, const std::string& programPath);

// The file itself at `entryPath` (<config home>/autostart/tidemere.desktop).
bool IsAutostartEnabled(const std::string& entryPath, const std::string& programPath);
// Writes the entry (making its folder) or deletes it; false when that failed.
bool SetAutostart(const std::string& entryPath, const std::string& programPath, bool enabled);
