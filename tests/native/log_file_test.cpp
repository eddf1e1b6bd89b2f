#include <gtest/gtest.h>

#include "base/log.h"
#include "base/log_native.h"
#include "common/test_support.h"

namespace {
struct LogToTempFile {
  explicit LogToTempFile(const std::string& name) : path(TempFilePath(name)) {
    RemoveFile(path);
    SetNativeLogPath(path);
  }
  ~LogToTempFile() {
    debugLogging = false;
    RemoveFile(path);
    SetNativeLogPath("Tidemere.log");
  }
  std::string path;
};
}  // namespace

TEST(LogFile, NothingWrittenWithoutDebug) {
  LogToTempFile log("nodebug.log");
  debugLogging = false;
  WriteLog(L"should not appear %d", 1);
  EXPECT_FALSE(FileExists(log.path));
}

TEST(LogFile, BomOnlyOnANewFileAndLinesInCrLf) {
  LogToTempFile log("bom.log");
  debugLogging = true;
  WriteLog(L"first %d", 1);
  WriteLog(L"切换效果 -> %d", 2);
  std::string text = ReadTextFile(log.path);
  ASSERT_GE(text.size(), 3u);
  EXPECT_EQ(text.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_EQ(text.find("\xEF\xBB\xBF", 3), std::string::npos) << "one BOM only";
  size_t first = text.find("] first 1\r\n");
  size_t second = text.find("] \xE5\x88\x87\xE6\x8D\xA2\xE6\x95\x88\xE6\x9E\x9C -> 2\r\n");
  EXPECT_NE(first, std::string::npos);
  EXPECT_NE(second, std::string::npos);
  EXPECT_LT(first, second);
  EXPECT_EQ(text[3], '[');

  // An existing empty file gets the BOM too; an existing non-empty one does not.
  WriteTextFile(log.path, "");
  WriteLog(L"again");
  EXPECT_EQ(ReadTextFile(log.path).substr(0, 4), "\xEF\xBB\xBF[");
  WriteTextFile(log.path, "old line\r\n");
  WriteLog(L"appended");
  std::string appended = ReadTextFile(log.path);
  EXPECT_EQ(appended.substr(0, 10), "old line\r\n");
  EXPECT_EQ(appended.find("\xEF\xBB\xBF"), std::string::npos);
}

TEST(LogFile, OverlongMessageIsCutNotLost) {
  LogToTempFile log("long.log");
  debugLogging = true;
  std::wstring text(3000, L'a');
  WriteLog(L"%s", text.c_str());
  std::string written = ReadTextFile(log.path);
  // The whole message part of the line: exactly 1023 characters, then the line end.
  size_t start = written.find("] ");
  ASSERT_NE(start, std::string::npos) << "the line was lost";
  EXPECT_EQ(written.substr(start + 2), std::string(1023, 'a') + "\r\n");
}
