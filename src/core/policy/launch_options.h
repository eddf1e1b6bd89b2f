// The command line of the Linux program `tidemere`, split into arguments as
// usual (unlike the Windows program's, policy/command_line.h, whose words it
// shares), and the one-line requests a second start sends to the running
// instance. Plain functions of strings; the socket that carries the lines is
// the shell's.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class LaunchKind {
  kStart,     // run the aquarium (or, with --theme, switch the running one's scene)
  kExit,      // "exit": end the running instance
  kStatus,    // "status": print what the running instance is doing
  kSettings,  // "settings": open the running instance's settings window
  kAbout,     // "about": open the running instance's About window
  kHelp,      // --help
  kVersion,   // --version
};

struct LaunchOptions {
  LaunchKind kind = LaunchKind::kStart;
  bool debug = false;  // --debug or /debug: write the log
  int theme = 0;       // --theme N, a scene of the themes table; 0 when not given
  // Test mode: seed the generator and take exactly `steps` steps of 1/60 s on
  // the first frame, then keep that picture (the same as tidemere-render's).
  std::optional<uint32_t> seed;
  int steps = 0;
};

// argv without the program name. On a malformed line returns false with a
// one-line message.
bool ParseLaunchOptions(const std::vector<std::string>& args, LaunchOptions& options, std::string& error);
std::string LaunchUsage();
// What --version prints: "tidemere 1.0.0".
std::string VersionLine();

enum class RequestKind { kNone, kExit, kTheme, kStatus, kSettings, kAbout };

struct InstanceRequest {
  RequestKind kind = RequestKind::kNone;
  int theme = 0;  // kTheme: a scene of the themes table
};

// What this launch asks of a running instance: a command, a scene, or
// nothing (a plain start, which finds it already running).
InstanceRequest RequestFor(const LaunchOptions& options);
// "exit\n", "status\n", "settings\n", "about\n", "theme N\n".
std::string RequestLine(const InstanceRequest& request);
// The request of one received line (without or with its newline); kNone
// for anything else, so a stray client changes nothing.
InstanceRequest ParseRequestLine(const std::string& line);
