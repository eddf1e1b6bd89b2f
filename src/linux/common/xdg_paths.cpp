#include "common/xdg_paths.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace {

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

bool Absolute(const std::string& path) {
  return !path.empty() && path[0] == '/';
}

std::string Join(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return folder.back() == '/' ? folder + name : folder + "/" + name;
}

}  // namespace

XdgEnvironment ReadXdgEnvironment() {
  XdgEnvironment env;
  env.configHome = Variable("XDG_CONFIG_HOME");
  env.stateHome = Variable("XDG_STATE_HOME");
  env.runtimeDir = Variable("XDG_RUNTIME_DIR");
  env.home = Variable("HOME");
  env.userId = unsigned(getuid());
  if (env.home.empty()) {
    if (const passwd* entry = getpwuid(getuid())) env.home = entry->pw_dir ? entry->pw_dir : "";
  }
  return env;
}

std::string ConfigHome(const XdgEnvironment& env) {
  if (Absolute(env.configHome)) return env.configHome;
  if (Absolute(env.home)) return Join(env.home, ".config");
  return "";
}

std::string SettingsPath(const XdgEnvironment& env, const std::string& programDirectory) {
  const std::string config = ConfigHome(env);
  if (config.empty()) return Join(programDirectory, "Tidemere.ini");
  return Join(Join(config, "tidemere"), "Tidemere.ini");
}

std::string AutostartPath(const XdgEnvironment& env) {
  const std::string config = ConfigHome(env);
  return config.empty() ? "" : Join(Join(config, "autostart"), "tidemere.desktop");
}

std::string InstanceSocketPath(const XdgEnvironment& env) {
  if (Absolute(env.runtimeDir)) return Join(env.runtimeDir, "tidemere.sock");
  return "/tmp/tidemere-" + std::to_string(env.userId) + "/tidemere.sock";
}

std::string LogPath(const XdgEnvironment& env) {
  std::string state;
  if (Absolute(env.stateHome)) {
    state = env.stateHome;
  } else if (Absolute(env.home)) {
    state = Join(env.home, ".local/state");
  } else {
    return "Tidemere.log";
  }
  return Join(Join(state, "tidemere"), "Tidemere.log");
}

std::string DirectoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return "";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool MakeDirectories(const std::string& path) {
  if (path.empty()) return true;
  for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
    mkdir(path.substr(0, slash).c_str(), 0700);
  }
  if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}
