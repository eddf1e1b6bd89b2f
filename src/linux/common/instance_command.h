// The command line of `tidemere` and the one-line requests a second start
// sends to the running instance over its local socket. Plain functions of
// strings, tested natively.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class LaunchKind {
  kStart,   // run the aquarium (or, with --theme, switch the running one's scene)
  kExit,    // "exit": end the running instance
  kStatus,  // "status": print what the running instance is doing
  kHelp,
};

struct LaunchOptions {
  LaunchKind kind = LaunchKind::kStart;
  bool debug = false;  // --debug or /debug: write the log
  int theme = 0;       // --theme N, 1..6; 0 when not given
  // Test mode: seed the generator and take exactly `steps` steps of 1/60 s on
  // the first frame, then keep that picture (the same as tidemere-render's).
  std::optional<uint32_t> seed;
  int steps = 0;
};

// argv without the program name. On a malformed line returns false with a
// one-line message.
bool ParseLaunchOptions(const std::vector<std::string>& args, LaunchOptions& options, std::string& error);
const char* LaunchUsage();

enum class RequestKind { kNone, kExit, kTheme, kStatus };

struct InstanceRequest {
  RequestKind kind = RequestKind::kNone;
  int theme = 0;  // kTheme: 1..6
};

// What this launch asks of a running instance: exit, status, a scene, or
// nothing (a plain start, which finds it already running).
InstanceRequest RequestFor(const LaunchOptions& options);
// "exit\n", "status\n", "theme N\n".
std::string RequestLine(const InstanceRequest& request);
// The request of one received line (without or with its newline); kNone
// for anything else, so a stray client changes nothing.
InstanceRequest ParseRequestLine(const std::string& line);
