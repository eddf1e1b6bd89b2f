#include "common/instance_command.h"

namespace {

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
    if (arg == "--debug" || arg == "/debug") {
      options.debug = true;
    } else if (arg == "--help" || arg == "-h") {
      options.kind = LaunchKind::kHelp;
      return true;
    } else if (arg == "exit" || arg == "status") {
      if (commandGiven) {
        error = "only one of 'exit' and 'status' may be given";
        return false;
      }
      commandGiven = true;
      options.kind = arg == "exit" ? LaunchKind::kExit : LaunchKind::kStatus;
    } else if (!OptionValue(args, i, "--theme", value, matched) ||
               (matched && !ReadNumber(value, 1, 6, number))) {
      error = "--theme takes a scene number from 1 to 6";
      return false;
    } else if (matched) {
      options.theme = int(number);
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
    error = "--theme cannot be combined with 'exit' or 'status'";
    return false;
  }
  return true;
}

const char* LaunchUsage() {
  return "usage: tidemere [--debug] [--theme N]   run the aquarium on the desktop (scene N, 1..6)\n"
         "       tidemere --theme N               switch the running aquarium to scene N\n"
         "       tidemere exit                    end the running aquarium\n"
         "       tidemere status                  what the running aquarium is doing\n"
         "       tidemere --seed S --steps N      test mode: N fixed steps from seed S, then a still "
         "picture\n";
}

InstanceRequest RequestFor(const LaunchOptions& options) {
  switch (options.kind) {
    case LaunchKind::kExit:
      return {RequestKind::kExit, 0};
    case LaunchKind::kStatus:
      return {RequestKind::kStatus, 0};
    case LaunchKind::kStart:
      if (options.theme != 0) return {RequestKind::kTheme, options.theme};
      return {};
    default:
      return {};
  }
}

std::string RequestLine(const InstanceRequest& request) {
  switch (request.kind) {
    case RequestKind::kExit:
      return "exit\n";
    case RequestKind::kStatus:
      return "status\n";
    case RequestKind::kTheme:
      return "theme " + std::to_string(request.theme) + "\n";
    default:
      return "";
  }
}

InstanceRequest ParseRequestLine(const std::string& line) {
  std::string text = line;
  if (!text.empty() && text.back() == '\n') text.pop_back();
  if (text == "exit") return {RequestKind::kExit, 0};
  if (text == "status") return {RequestKind::kStatus, 0};
  long long theme = 0;
  if (text.compare(0, 6, "theme ") == 0 && ReadNumber(text.substr(6), 1, 6, theme)) {
    return {RequestKind::kTheme, int(theme)};
  }
  return {};
}
