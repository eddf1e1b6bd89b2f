#include <gtest/gtest.h>

#include "base/log.h"

TEST(LogFormat, WindowsStylePrintfConversions) {
  EXPECT_EQ(FormatLogMessage(L"SetEffect called: old=%d new=%d", 1, 2), L"SetEffect called: old=1 new=2");
  EXPECT_EQ(FormatLogMessage(L"r=%ld err=%lu", -5L, 183UL), L"r=-5 err=183");
  EXPECT_EQ(FormatLogMessage(L"hr=0x%08x", 0x80004001u), L"hr=0x80004001");
  EXPECT_EQ(FormatLogMessage(L"%08x|%x|%X", 0x1fu, 255u, 255u), L"0000001f|ff|FF");
  EXPECT_EQ(FormatLogMessage(L"ExStyle=0x%llx", 0x80000ULL), L"ExStyle=0x80000");
  EXPECT_EQ(FormatLogMessage(L"%zu fish", size_t(28)), L"28 fish");
  EXPECT_EQ(FormatLogMessage(L"%llu", 18446744073709551615ULL), L"18446744073709551615");
  EXPECT_EQ(FormatLogMessage(L"100%% %5d|%-3d|", 42, 7), L"100%    42|7  |");
  EXPECT_EQ(FormatLogMessage(L"%d", -2147483647 - 1), L"-2147483648");
}

TEST(LogFormat, FixedPointNumbers) {
  EXPECT_EQ(FormatLogMessage(L"[diag] render ms median=%.2f max=%.2f fps=%.1f", 3.14159, 12.0, 59.96),
            L"[diag] render ms median=3.14 max=12.00 fps=60.0");
  EXPECT_EQ(FormatLogMessage(L"%f|%.0f|%6.1f|%-6.1f|%06.1f", 0.5, 2.25, -1.26, 1.0, -1.5),
            L"0.500000|2|  -1.3|1.0   |-001.5");
  EXPECT_EQ(FormatLogMessage(L"%.1f %d", 1e300, 7).substr(0, 4), L"1000") << "wide values, arguments after";
  EXPECT_EQ(FormatLogMessage(L"%.1f %d", 2.0, 7), L"2.0 7");
}

TEST(LogFormat, WideStringsAndPointers) {
  EXPECT_EQ(FormatLogMessage(L"桌面壁纸层 = (%s)", L"Progman(兜底)"), L"桌面壁纸层 = (Progman(兜底))");
  EXPECT_EQ(FormatLogMessage(L"[%s]", static_cast<const wchar_t*>(nullptr)), L"[(null)]");
  // %p: the bare upper-case address, as wide as a pointer.
  std::wstring pointer = FormatLogMessage(L"0x%p", reinterpret_cast<void*>(0xABCDu));
  std::wstring expected = L"0x" + std::wstring(sizeof(void*) * 2 - 4, L'0') + L"ABCD";
  EXPECT_EQ(pointer, expected);
}

TEST(LogFormat, LineStampWrapsAndEndsWithCrLf) {
  EXPECT_EQ(FormatLogLine(1234, L"hello"), "[1234] hello\r\n");
  EXPECT_EQ(FormatLogLine(100000000ull + 17, L"x"), "[17] x\r\n") << "the stamp restarts every 100000 s";
  EXPECT_EQ(FormatLogLine(99999999ull, L"x"), "[99999999] x\r\n");
  EXPECT_EQ(FormatLogLine(0, L"a\nb"), "[0] a\r\nb\r\n") << "text mode turns every newline into CR LF";
  EXPECT_EQ(FormatLogLine(5, L"热键退出"), "[5] \xE7\x83\xAD\xE9\x94\xAE\xE9\x80\x80\xE5\x87\xBA\r\n");
}

TEST(LogFormat, Utf8OfCharactersBeyondTheBasicPlane) {
  std::wstring fish;
  if (sizeof(wchar_t) == 2) {
    fish = {wchar_t(0xD83D), wchar_t(0xDC1F)};
  } else {
    fish = {wchar_t(0x1F41F)};
  }
  EXPECT_EQ(ToUtf8(fish), "\xF0\x9F\x90\x9F");
}
