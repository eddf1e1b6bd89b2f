#include "settings/run_value.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <vector>

namespace {
bool Matches(const wchar_t* stored, const wchar_t* path) {
  return RunValueMatches(stored, std::wcslen(stored) + 1, path);
}
}  // namespace

TEST(RunValue, QuotesAnywhereAndCaseAreIgnored) {
  const wchar_t* path = L"C:\\Program Files\\Tidemere\\Tidemere.exe";
  EXPECT_TRUE(Matches(L"\"C:\\Program Files\\Tidemere\\Tidemere.exe\"", path));
  EXPECT_TRUE(Matches(L"C:\\Program Files\\Tidemere\\Tidemere.exe", path));
  EXPECT_TRUE(Matches(L"c:\\PROGRAM FILES\\tidemere\\TIDEMERE.EXE", path));
  EXPECT_TRUE(Matches(L"C:\\Program \"Files\\Tide\"mere\\Tidemere.exe\"\"", path));
}

TEST(RunValue, AnotherCopyOrExtraTextCountsAsOff) {
  const wchar_t* path = L"C:\\Tidemere\\Tidemere.exe";
  EXPECT_FALSE(Matches(L"\"D:\\Tidemere\\Tidemere.exe\"", path));
  EXPECT_FALSE(Matches(L"\"C:\\Tidemere\\Tidemere.exe\" /debug", path));
  EXPECT_FALSE(Matches(L"C:\\Tidemere\\Tidemere", path));
  EXPECT_FALSE(Matches(L"", path));
}

TEST(RunValue, UnterminatedBufferIsReadWithinItsBounds) {
  // The buffer holds the path and nothing after it: no terminator inside.
  std::wstring path = L"C:\\Tidemere\\Tidemere.exe";
  std::vector<wchar_t> buffer(path.begin(), path.end());
  buffer.push_back(L'X');  // beyond the capacity we pass: must never be read
  EXPECT_TRUE(RunValueMatches(buffer.data(), path.size(), path.c_str()));
  EXPECT_FALSE(RunValueMatches(buffer.data(), path.size() - 1, path.c_str()));
}
