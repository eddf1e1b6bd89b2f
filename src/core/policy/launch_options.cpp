#include "policy/launch_options.h"

#include "base/themes.h"
#include "base/version.h"
#include "policy/command_line.h"

namespace {

// The words that ask something of the running instance; each is also its
// request line.
struct CommandWord {
  const char* word;
  LaunchKind launch;
  RequestKind request;
};
constexpr CommandWord kCommandWords[] = {
    {kExitWord, LaunchKind::kExit, RequestKind::kExit},
    {"status", LaunchKind::kStatus, RequestKind::kStatus},
    {"settings", LaunchKind::kSettings, RequestKind::kSettings},
    {"about", LaunchKind::kAbout, RequestKind::kAbout},
};

const CommandWord* CommandOf(const std::string& word) {
  for (const CommandWord& command : kCommandWords) {
    if (word == command.word) return &command;
  }
  return nullptr;
}

// "'exit', 'status', 'settings' and 'about'"
std::string CommandList() {
  std::string list;
  const size_t count = sizeof kCommandWords / sizeof kCommandWords[0];
  for (size_t i = 0; i < count; ++i) {
    if (i > 0) list += i + 1 == count ? " and " : ", ";
    list += std::string("'") + kCommandWords[i].word + "'";
  }
  return list;
}

// A whole decimal number in [low, high]; false for signs, blanks or other text.
bool ReadNumber(const std::string& text, long long low, long long high, long long& value) {
  if (text.empty() || text.size() > 10) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return value >= low && value <= high;
}

bool ReadTheme(const std::string& text, int& theme) {
  long long number = 0;
  if (!ReadNumber(text, 0, kThemeCount, number) || !IsTheme(int(number))) return false;
  theme = int(number);
  return true;
}

// The value of an option given as "--name VALUE" or "--name=VALUE".
bool OptionValue(const std::vector<std::string>& args, size_t& i, const std::string& name, std::string& value,
                 bool& matched) {
  const std::string& arg = args[i];
  matched = false;
  if (arg == name) {
    matched = true;
    if (i + 1 >= args.size()) return false;
    value = args[++i];
    return true;
  }
  if (arg.compare(0, name.size() + 1, name + "=") == 0) {
    matched = true;
    value = arg.substr(name.size() + 1);
    return true;
  }
  return true;
}

}  // namespace

bool ParseLaunchOptions(const std::vector<std::string>& args, LaunchOptions& options, std::string& error) {
  options = LaunchOptions();
  bool commandGiven = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    std::string value;
    bool matched = false;
    long long number = 0;
    if (arg == kDebugOption || arg == kDebugSwitch) {
      options.debug = true;
    } else if (arg == "--help" || arg == "-h") {
      options.kind = LaunchKind::kHelp;
      return true;
    } else if (arg == "--version") {
      options.kind = LaunchKind::kVersion;
      return true;
    } else if (const CommandWord* command = CommandOf(arg)) {
      if (commandGiven) {
        error = "only one of " + CommandList() + " may be given";
        return false;
      }
      commandGiven = true;
      options.kind = command->launch;
    } else if (!OptionValue(args, i, "--theme", value, matched) ||
               (matched && !ReadTheme(value, options.theme))) {
      error = "--theme takes a scene number from 1 to " + std::to_string(kThemeCount);
      return false;
    } else if (matched) {
      // ReadTheme stored it.
    } else if (!OptionValue(args, i, "--seed", value, matched) ||
               (matched && !ReadNumber(value, 0, 4294967295LL, number))) {
      error = "--seed takes a whole number from 0 to 4294967295";
      return false;
    } else if (matched) {
      options.seed = uint32_t(number);
    } else if (!OptionValue(args, i, "--steps", value, matched) ||
               (matched && !ReadNumber(value, 1, 100000, number))) {
      error = "--steps takes a whole number from 1 to 100000";
      return false;
    } else if (matched) {
      options.steps = int(number);
    } else {
      error = "unknown argument '" + arg + "'";
      return false;
    }
  }
  if (options.steps > 0 && !options.seed) {
    error = "--steps needs --seed: the fixed steps are only the same picture from the same seed";
    return false;
  }
  if (commandGiven && options.theme != 0) {
    error = "--theme cannot be combined with " + CommandList();
    return false;
  }
  return true;
}

std::string LaunchUsage() {
  const std::string scenes = "1.." + std::to_string(kThemeCount);
  return "usage: tidemere [--debug] [--theme N]   run the aquarium on the desktop (scene N, " + scenes +
         ")\n"
         "       tidemere --theme N               switch the running aquarium to scene N\n"
         "       tidemere settings                open the running aquarium's settings window\n"
         "       tidemere about                   open its About window\n"
         "       tidemere status                  what the running aquarium is doing\n"
         "       tidemere exit                    end the running aquarium\n"
         "       tidemere --version               print the version\n"
         "       tidemere --seed S --steps N      test mode: N fixed steps from seed S, then a still "
         "picture\n";
}

std::string VersionLine() {
  return "tidemere " TIDEMERE_VERSION_TEXT;
}

InstanceRequest RequestFor(const LaunchOptions& options) {
  for (const CommandWord& command : kCommandWords) {
    if (options.kind == command.launch) return {command.request, 0};
  }
  if (options.kind == LaunchKind::kStart && options.theme != 0) return {RequestKind::kTheme, options.theme};
  return {};
}

std::string RequestLine(const InstanceRequest& request) {
  if (request.kind == RequestKind::kTheme) return "theme " + std::to_string(request.theme) + "\n";
  for (const CommandWord& command : kCommandWords) {
    if (request.kind == command.request) return std::string(command.word) + "\n";
  }
  return "";
}

InstanceRequest ParseRequestLine(const std::string& line) {
  std::string text = line;
  if (!text.empty() && text.back() == '\n') text.pop_back();
  if (const CommandWord* command = CommandOf(text)) return {command->request, 0};
  int theme = 0;
  if (text.compare(0, 6, "theme ") == 0 && ReadTheme(text.substr(6), theme))
    return {RequestKind::kTheme, theme};
  return {};
}
