#include "policy/command_line.h"

#include <gtest/gtest.h>

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
