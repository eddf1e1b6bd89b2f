// The Windows program's command line is never split into arguments: each
// word is searched for as a case-sensitive substring of the whole text. The
// words are the Linux program's too (policy/launch_options.h), written once
// here.
#pragma once

inline constexpr char kExitWord[] = "exit";
inline constexpr char kDebugSwitch[] = "/debug";
inline constexpr char kDebugOption[] = "--debug";

struct CommandLine {
  bool debug = false;        // "/debug" or "--debug"
  bool exitCommand = false;  // "exit"
  int theme = 0;             // 2 or 3 from the digits (the themes table's onCommandLine), 0 when none
};

CommandLine ParseCommandLine(const wchar_t* text);
// Whether "/debug" or "--debug" is anywhere in `text` (null: no).
bool HasDebugWord(const wchar_t* text);
