// The command line is never split into arguments: each word is searched for
// as a case-sensitive substring of the whole text.
#pragma once

struct CommandLine {
  bool debug = false;        // "/debug" or "--debug"
  bool exitCommand = false;  // "exit"
  int theme = 0;             // 2 or 3 from the digits, 0 when none
};

CommandLine ParseCommandLine(const wchar_t* text);
