// "Start at login": the autostart entry's Exec quoting and the file on and off.
#include <gtest/gtest.h>

#include <fstream>

#include "common/autostart_entry.h"

namespace {

TEST(AutostartEntry, QuotesWhatTheRulesReserve) {
  struct Case {
    const char* path;
    const char* exec;
  } cases[] = {
      {"/usr/bin/tidemere", "/usr/bin/tidemere"},
      {"/home/ann/My Apps/tidemere", "\"/home/ann/My Apps/tidemere\""},
      {"/opt/a$b`c/tide\"mere", "\"/opt/a\\\\$b\\\\`c/tide\\\\\"mere\""},
      {"/opt/back\\slash", "\"/opt/back\\\\\\\\slash\""},
      {"/opt/100%/tidemere", "/opt/100%%/tidemere"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(QuoteExecArgument(c.path), c.exec) << c.path;
    // What a session reads back starts the same program.
    const std::string entry = AutostartEntryText(c.path);
    EXPECT_EQ(ExecProgram(entry), c.path) << entry;
    EXPECT_TRUE(AutostartEntryStarts(entry, c.path));
  }
}

TEST(AutostartEntry, StartsOnlyThisProgramWhenEnabled) {
  const std::string entry = AutostartEntryText("/usr/bin/tidemere");
  EXPECT_FALSE(AutostartEntryStarts(entry, "/usr/local/bin/tidemere"));
  EXPECT_FALSE(AutostartEntryStarts(entry + "Hidden=true\n", "/usr/bin/tidemere"));
  EXPECT_FALSE(AutostartEntryStarts(
      "[Desktop Entry]\nExec=/usr/bin/tidemere\nX-GNOME-Autostart-enabled=false\n", "/usr/bin/tidemere"));
  // Only the Desktop Entry group's Exec counts.
  EXPECT_FALSE(AutostartEntryStarts("[Desktop Action x]\nExec=/usr/bin/tidemere\n", "/usr/bin/tidemere"));
  EXPECT_TRUE(
      AutostartEntryStarts("[Desktop Entry]\r\nExec = /usr/bin/tidemere --debug\r\n", "/usr/bin/tidemere"));
}

TEST(AutostartEntry, FileGoesOnAndOff) {
  char base[] = "/tmp/tidemere-autostart-XXXXXX";
  ASSERT_NE(mkdtemp(base), nullptr);
  const std::string entry = std::string(base) + "/config home/autostart/tidemere.desktop";
  const std::string program = "/home/ann/My Apps/tidemere";
  EXPECT_FALSE(IsAutostartEnabled(entry, program));
  EXPECT_TRUE(SetAutostart(entry, program, true));
  EXPECT_TRUE(IsAutostartEnabled(entry, program));
  EXPECT_FALSE(IsAutostartEnabled(entry, "/usr/bin/tidemere"));  // another copy's entry
  EXPECT_TRUE(SetAutostart(entry, program, false));
  EXPECT_FALSE(IsAutostartEnabled(entry, program));
  EXPECT_FALSE(std::ifstream(entry).good());
  EXPECT_TRUE(SetAutostart(entry, program, false));  // nothing to delete is no failure
  std::system(("rm -rf '" + std::string(base) + "'").c_str());
}

}  // namespace
