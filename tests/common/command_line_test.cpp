#include "policy/command_line.h"

#include <gtest/gtest.h>

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
