// Where the program keeps its files, by the XDG base directory rules, worked
// out from plain values so that the rules are tested without touching the
// environment.
#pragma once

#include <string>

// The variables the rules read; empty when unset.
struct XdgEnvironment {
  std::string configHome;  // XDG_CONFIG_HOME
  std::string stateHome;   // XDG_STATE_HOME
  std::string runtimeDir;  // XDG_RUNTIME_DIR
  std::string home;        // HOME, or the password database's home when HOME is unset
  unsigned userId = 0;
};

XdgEnvironment ReadXdgEnvironment();

// $XDG_CONFIG_HOME when it is an absolute path (a relative one is ignored, as
// the rules say), else $HOME/.config; empty when neither is known.
std::string ConfigHome(const XdgEnvironment& env);

// <config home>/tidemere/Tidemere.ini; without a config home, "Tidemere.ini"
// in `programDirectory`, as the Windows program falls back to its own folder.
std::string SettingsPath(const XdgEnvironment& env, const std::string& programDirectory);

// <config home>/autostart/tidemere.desktop; empty without a config home.
std::string AutostartPath(const XdgEnvironment& env);

// The running instance's socket: tidemere.sock in $XDG_RUNTIME_DIR when it is
// absolute, else in /tmp/tidemere-<uid> (made private by the caller).
std::string InstanceSocketPath(const XdgEnvironment& env);

// The /debug log: $XDG_STATE_HOME (absolute), else $HOME/.local/state, then
// tidemere/Tidemere.log; "Tidemere.log" in the working directory without either.
std::string LogPath(const XdgEnvironment& env);

// The folder part of a path ("" for a bare name), and every folder of `path`
// made (mode 0700 for new ones); false when the last one is not a folder.
std::string DirectoryOf(const std::string& path);
bool MakeDirectories(const std::string& path);
