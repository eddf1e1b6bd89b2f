// The Windows program's command line, its screensaver's arguments, and the
// Linux program's command line with the requests it sends a running instance.
#include "policy/command_line.h"

#include <gtest/gtest.h>

#include "base/themes.h"
#include "policy/launch_options.h"
#include "policy/screensaver_args.h"

TEST(CommandLine, EmptyOrMissingChangesNothing) {
  for (const wchar_t* text : {static_cast<const wchar_t*>(nullptr), L""}) {
    CommandLine options = ParseCommandLine(text);
    EXPECT_FALSE(options.debug);
    EXPECT_FALSE(options.exitCommand);
    EXPECT_EQ(options.theme, 0);
  }
}

TEST(CommandLine, DebugAndExitAreCaseSensitiveSubstrings) {
  EXPECT_TRUE(ParseCommandLine(L"/debug").debug);
  EXPECT_TRUE(ParseCommandLine(L"--debug").debug);
  EXPECT_TRUE(ParseCommandLine(L"x/debugx").debug);
  EXPECT_FALSE(ParseCommandLine(L"/DEBUG").debug);
  EXPECT_FALSE(ParseCommandLine(L"-debug").debug);

  CommandLine exitDebug = ParseCommandLine(L"exit /debug");
  EXPECT_TRUE(exitDebug.exitCommand);
  EXPECT_TRUE(exitDebug.debug);
  EXPECT_FALSE(ParseCommandLine(L"exit").debug);
  EXPECT_FALSE(ParseCommandLine(L"EXIT").exitCommand);
  EXPECT_FALSE(ParseCommandLine(L"Exit").exitCommand);
}

TEST(CommandLine, DigitsSelectTheFirstTheme) {
  EXPECT_EQ(ParseCommandLine(L"2").theme, 2);
  EXPECT_EQ(ParseCommandLine(L"3").theme, 3);
  EXPECT_EQ(ParseCommandLine(L"x23").theme, 2) << "2 wins over 3";
  EXPECT_EQ(ParseCommandLine(L"32").theme, 2);
  EXPECT_EQ(ParseCommandLine(L"12").theme, 2);
  CommandLine debug3 = ParseCommandLine(L"/debug3");
  EXPECT_TRUE(debug3.debug);
  EXPECT_EQ(debug3.theme, 3);
  for (const wchar_t* other : {L"1", L"4", L"5", L"6", L"0", L"1456"}) {
    EXPECT_EQ(ParseCommandLine(other).theme, 0) << "digit " << other[0] << " has no effect";
  }
}

TEST(CommandLine, ExitCommandIgnoresDigits) {
  CommandLine options = ParseCommandLine(L"exit 3");
  EXPECT_TRUE(options.exitCommand);
  EXPECT_EQ(options.theme, 0);
}

TEST(ScreensaverArguments, EveryFormWindowsUses) {
  struct Case {
    const wchar_t* text;
    bool asScr;
    SaverMode mode;
    uint64_t window;
  };
  const Case cases[] = {
      {L"/s", false, SaverMode::kFullScreen, 0},
      {L"-S", false, SaverMode::kFullScreen, 0},
      {L"/p 1234", false, SaverMode::kPreview, 1234},
      {L"/P:1234", false, SaverMode::kPreview, 1234},
      {L"  /p   4294967295", false, SaverMode::kPreview, 4294967295u},
      {L"/p 5000000000", false, SaverMode::kPreview, 5000000000u},  // a 64-bit handle
      {L"/p 99999999999999999999", false, SaverMode::kPreview, 0},  // too large: no handle
      {L"/p", false, SaverMode::kPreview, 0},
      {L"/c", false, SaverMode::kConfigure, 0},
      {L"/c:99", false, SaverMode::kConfigure, 99},
      {L"/a 5", false, SaverMode::kPassword, 5},
      {L"/debug /s", false, SaverMode::kFullScreen, 0},
      {L"", true, SaverMode::kConfigure, 0},
      {L"", false, SaverMode::kNone, 0},
      {L"garbage /x /screen", true, SaverMode::kConfigure, 0},
      {L"garbage /x /screen", false, SaverMode::kNone, 0},
      {L"exit", false, SaverMode::kNone, 0},
      {L"2 /debug", false, SaverMode::kNone, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
    const SaverArguments arguments = ParseScreensaverArguments(c.text, c.asScr);
    EXPECT_EQ(arguments.mode, c.mode);
    EXPECT_EQ(arguments.window, c.window);
  }
  EXPECT_TRUE(ParseScreensaverArguments(L"/s /debug", false).debug);
  EXPECT_TRUE(IsScreensaverPath(L"C:\\Windows\\Tidemere.SCR"));
  EXPECT_FALSE(IsScreensaverPath(L"C:\\Tidemere\\Tidemere.exe"));
  EXPECT_FALSE(IsScreensaverPath(L"scr"));
}

TEST(ScreensaverArguments, OnlyAMoveBeyondTheSlackEndsIt) {
  SaverMouse mouse;
  EXPECT_FALSE(MouseMoveEndsScreensaver(mouse, 500, 300)) << "the first move only records";
  EXPECT_FALSE(MouseMoveEndsScreensaver(mouse, 500 + kSaverMouseSlack, 300 - kSaverMouseSlack));
  EXPECT_TRUE(MouseMoveEndsScreensaver(mouse, 500 + kSaverMouseSlack + 1, 300));
  EXPECT_TRUE(MouseMoveEndsScreensaver(mouse, 500, 300 - kSaverMouseSlack - 1));
}

namespace {

LaunchOptions ParseLaunch(std::vector<std::string> args) {
  LaunchOptions options;
  std::string error;
  EXPECT_TRUE(ParseLaunchOptions(args, options, error)) << error;
  return options;
}

}  // namespace

TEST(LaunchOptions, LaunchesAndTheirRequests) {
  struct Case {
    std::vector<std::string> args;
    LaunchKind kind;
    const char* line;  // what goes to a running instance ("" for none)
  } cases[] = {
      {{}, LaunchKind::kStart, ""},
      {{"--debug"}, LaunchKind::kStart, ""},
      {{"exit"}, LaunchKind::kExit, "exit\n"},
      {{"/debug", "exit"}, LaunchKind::kExit, "exit\n"},
      {{"status"}, LaunchKind::kStatus, "status\n"},
      {{"settings"}, LaunchKind::kSettings, "settings\n"},
      {{"about", "--debug"}, LaunchKind::kAbout, "about\n"},
      {{"--theme", "4"}, LaunchKind::kStart, "theme 4\n"},
      {{"--theme=6", "--debug"}, LaunchKind::kStart, "theme 6\n"},
      {{"--seed", "7", "--steps", "120"}, LaunchKind::kStart, ""},
      {{"--version", "--frobnicate"}, LaunchKind::kVersion, ""},  // answered before the rest is read
      {{"--debug", "-h"}, LaunchKind::kHelp, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
    const LaunchOptions options = ParseLaunch(c.args);
    EXPECT_EQ(int(options.kind), int(c.kind));
    const InstanceRequest request = RequestFor(options);
    EXPECT_EQ(RequestLine(request), c.line);
    // The instance reads back what was sent.
    const InstanceRequest heard = ParseRequestLine(RequestLine(request));
    EXPECT_EQ(int(heard.kind), int(request.kind));
    EXPECT_EQ(heard.theme, request.theme);
  }
  const LaunchOptions test = ParseLaunch({"--seed", "4294967295", "--steps", "120", "--debug"});
  EXPECT_EQ(*test.seed, 4294967295u);
  EXPECT_EQ(test.steps, 120);
  EXPECT_TRUE(test.debug);
  // Every scene of the themes table, and only those.
  EXPECT_EQ(ParseLaunch({"--theme", std::to_string(kThemeCount)}).theme, kThemeCount);
  LaunchOptions options;
  std::string error;
  EXPECT_FALSE(ParseLaunchOptions({"--theme", std::to_string(kThemeCount + 1)}, options, error));
  EXPECT_NE(error.find(std::to_string(kThemeCount)), std::string::npos) << error;
}

TEST(LaunchOptions, RefusesMalformedLines) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{{"--theme"},
                                                                                    {"--theme", "0"},
                                                                                    {"--theme", "7"},
                                                                                    {"--theme", "+2"},
                                                                                    {"--theme", "2x"},
                                                                                    {"--theme", "4294967297"},
                                                                                    {"exit", "status"},
                                                                                    {"settings", "about"},
                                                                                    {"exit", "--theme", "2"},
                                                                                    {"--theme=2", "about"},
                                                                                    {"--steps", "10"},
                                                                                    {"--seed", "-1"},
                                                                                    {"--seed", "4294967296"},
                                                                                    {"--frobnicate"},
                                                                                    {"Settings"},
                                                                                    {"3"}}) {
    LaunchOptions options;
    std::string error;
    EXPECT_FALSE(ParseLaunchOptions(args, options, error)) << args[0];
    EXPECT_FALSE(error.empty());
  }
  // A stray client's line changes nothing.
  for (const char* line : {"", "hello\n", "theme\n", "theme 0\n", "theme 7\n", "theme 3 4\n",
                           "theme 4294967297\n", "EXIT\n", "exit now\n", "settings\n\n", "about us\n"}) {
    EXPECT_EQ(int(ParseRequestLine(line).kind), int(RequestKind::kNone)) << line;
  }
}
