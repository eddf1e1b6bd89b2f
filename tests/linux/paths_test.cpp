// Where the Linux program keeps its settings, autostart entry, socket and log.
#include <gtest/gtest.h>

#include "common/xdg_paths.h"

namespace {

XdgEnvironment Env(std::string configHome, std::string home, std::string runtimeDir = "",
                   std::string stateHome = "") {
  XdgEnvironment env;
  env.configHome = std::move(configHome);
  env.home = std::move(home);
  env.runtimeDir = std::move(runtimeDir);
  env.stateHome = std::move(stateHome);
  env.userId = 1000;
  return env;
}

TEST(XdgPaths, FollowTheBaseDirectoryRules) {
  struct Case {
    XdgEnvironment env;
    const char* settings;
    const char* autostart;
    const char* socket;
    const char* log;
  } cases[] = {
      // The usual desktop: nothing set but HOME and the runtime folder.
      {Env("", "/home/ann", "/run/user/1000"), "/home/ann/.config/tidemere/Tidemere.ini",
       "/home/ann/.config/autostart/tidemere.desktop", "/run/user/1000/tidemere.sock",
       "/home/ann/.local/state/tidemere/Tidemere.log"},
      // Set folders win; a trailing slash adds no second one.
      {Env("/cfg/", "/home/ann", "/run/u", "/st"), "/cfg/tidemere/Tidemere.ini",
       "/cfg/autostart/tidemere.desktop", "/run/u/tidemere.sock", "/st/tidemere/Tidemere.log"},
      // Relative values are ignored, as the rules say.
      {Env("cfg", "/home/ann", "run", "st"), "/home/ann/.config/tidemere/Tidemere.ini",
       "/home/ann/.config/autostart/tidemere.desktop", "/tmp/tidemere-1000/tidemere.sock",
       "/home/ann/.local/state/tidemere/Tidemere.log"},
      // No home at all: beside the program, no autostart, log in the working folder.
      {Env("", ""), "/opt/tide mere/Tidemere.ini", "", "/tmp/tidemere-1000/tidemere.sock", "Tidemere.log"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SettingsPath(c.env, "/opt/tide mere"), c.settings);
    EXPECT_EQ(AutostartPath(c.env), c.autostart);
    EXPECT_EQ(InstanceSocketPath(c.env), c.socket);
    EXPECT_EQ(LogPath(c.env), c.log);
  }
}

TEST(XdgPaths, FoldersAreMadeOnce) {
  char base[] = "/tmp/tidemere-paths-XXXXXX";
  ASSERT_NE(mkdtemp(base), nullptr);
  const std::string deep = std::string(base) + "/a b/c";
  EXPECT_EQ(DirectoryOf(deep + "/Tidemere.ini"), deep);
  EXPECT_EQ(DirectoryOf("Tidemere.ini"), "");
  EXPECT_TRUE(MakeDirectories(deep));
  EXPECT_TRUE(MakeDirectories(deep));  // already there
  EXPECT_FALSE(MakeDirectories("/proc/version/x"));
  std::system(("rm -rf '" + std::string(base) + "'").c_str());
}

}  // namespace
