#include "common/autostart_entry.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "common/xdg_paths.h"

namespace {

constexpr const char* kReserved = " \t\n\"'\\><~|&;$*?#()`";

// The value of `key` in the [Desktop Entry] group, with the string escapes
// (\s \n \t \r \\) undone; false when the key is not there.
bool EntryValue(const std::string& text, const std::string& key, std::string& value) {
  std::istringstream lines(text);
  std::string line;
  bool inEntry = false;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] == '[') {
      inEntry = line == "[Desktop Entry]";
      continue;
    }
    if (!inEntry || line.compare(0, key.size(), key) != 0) continue;
    size_t at = key.size();
    while (at < line.size() && line[at] == ' ') ++at;
    if (at >= line.size() || line[at] != '=') continue;
    ++at;
    while (at < line.size() && line[at] == ' ') ++at;
    value.clear();
    for (; at < line.size(); ++at) {
      if (line[at] == '\\' && at + 1 < line.size()) {
        const char next = line[++at];
        value += next == 's' ? ' ' : next == 'n' ? '\n' : next == 't' ? '\t' : next == 'r' ? '\r' : next;
      } else {
        value += line[at];
      }
    }
    return true;
  }
  return false;
}

}  // namespace

std::string QuoteExecArgument(const std::string& argument) {
  std::string exec;
  const bool quote = argument.empty() || argument.find_first_of(kReserved) != std::string::npos;
  for (char c : argument) {
    if (c == '%') {
      exec += "%%";
    } else if (quote && (c == '"' || c == '`' || c == '$' || c == '\\')) {
      exec += '\\';
      exec += c;
    } else {
      exec += c;
    }
  }
  if (quote) exec = '"' + exec + '"';
  // The key's value is a string: each backslash is written twice.
  std::string value;
  for (char c : exec) value += c == '\\' ? std::string("\\\\") : std::string(1, c);
  return value;
}

std::string AutostartEntryText(const std::string& programPath) {
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=Tidemere\n"
         "Comment=Live aquarium on the desktop background\n"
         "Exec=" +
         QuoteExecArgument(programPath) +
         "\n"
         "Icon=tidemere\n"
         "Terminal=false\n"
         "X-GNOME-Autostart-enabled=true\n";
}

std::string ExecProgram(const std::string& entryText) {
  std::string exec;
  if (!EntryValue(entryText, "Exec", exec)) return "";
  std::string program;
  size_t at = 0;
  while (at < exec.size() && exec[at] == ' ') ++at;
  if (at < exec.size() && exec[at] == '"') {
    for (++at; at < exec.size() && exec[at] != '"'; ++at) {
      if (exec[at] == '\\' && at + 1 < exec.size()) ++at;
      program += exec[at];
    }
  } else {
    for (; at < exec.size() && exec[at] != ' '; ++at) program += exec[at];
  }
  // "%%" is a literal percent sign in either form.
  std::string unescaped;
  for (size_t i = 0; i < program.size(); ++i) {
    unescaped += program[i];
    if (program[i] == '%' && i + 1 < program.size() && program[i + 1] == '%') ++i;
  }
  return unescaped;
}

bool AutostartEntryStarts(const std::string& entryText, const std::string& programPath) {
  std::string flag;
  if (EntryValue(entryText, "Hidden", flag) && flag == "true") return false;
  if (EntryValue(entryText, "X-GNOME-Autostart-enabled", flag) && flag == "false") return false;
  return !programPath.empty() && ExecProgram(entryText) == programPath;
}

bool IsAutostartEnabled(const std::string& entryPath, const std::string& programPath) {
  std::ifstream file(entryPath, std::ios::binary);
  if (!file) return false;
  std::stringstream text;
  text << file.rdbuf();
  return AutostartEntryStarts(text.str(), programPath);
}

bool SetAutostart(const std::string& entryPath, const std::string& programPath, bool enabled) {
  if (entryPath.empty()) return false;
  if (!enabled) return std::remove(entryPath.c_str()) == 0 || !std::ifstream(entryPath);
  if (!MakeDirectories(DirectoryOf(entryPath))) return false;
  std::ofstream file(entryPath, std::ios::binary | std::ios::trunc);
  file << AutostartEntryText(programPath);
  return bool(file.flush());
}
