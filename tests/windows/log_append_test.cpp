// The log beside the program, written by several writers at once as the
// exit command's process and the running instance do.
#include <gtest/gtest.h>

#include <thread>

#include "base/log.h"
#include "base/log_win32.h"
#include "base/program_path_win32.h"
#include "windows/win32_test_support.h"

TEST(LogAppend, ConcurrentWritersNeverOverwriteEachOther) {
  DeleteProgramLog();
  debugLogging = true;
  auto writer = [](int id) {
    for (int i = 0; i < 200; ++i) WriteLog(L"writer %d line %03d", id, i);
  };
  std::thread first(writer, 1), second(writer, 2);
  first.join();
  second.join();
  debugLogging = false;

  std::string log = ReadProgramLog();
  ASSERT_EQ(log.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_EQ(log.find("\xEF\xBB\xBF", 3), std::string::npos);
  int lines = 0;
  for (size_t start = 3, end; (end = log.find("\r\n", start)) != std::string::npos; start = end + 2) {
    std::string line = log.substr(start, end - start);
    EXPECT_EQ(line[0], '[') << line;
    EXPECT_NE(line.find("] writer "), std::string::npos) << line;
    ++lines;
  }
  EXPECT_EQ(lines, 400);
}

// /debug from a folder the user cannot write (Program Files): the log goes to
// the local application data instead.
TEST(LogAppend, AFolderThatTakesNoFileSendsTheLogToLocalAppData) {
  EXPECT_EQ(WritableLogPath(BesideProgram(L"")), BesideProgram(L"Tidemere.log"));
  const std::wstring path = WritableLogPath(L"Z:\\no-such-folder\\of\\tidemere\\");
  wchar_t local[MAX_PATH] = {};
  ASSERT_NE(GetEnvironmentVariableW(L"LOCALAPPDATA", local, MAX_PATH), 0u);
  EXPECT_EQ(path, std::wstring(local) + L"\\Tidemere\\Tidemere.log");
  // And it is written there.
  DeleteFileW(path.c_str());
  SetLogFilePath(path);
  debugLogging = true;
  WriteLog(L"written where it can be");
  debugLogging = false;
  SetLogFilePath(L"");
  std::string text;
  ASSERT_TRUE(ReadWholeFile(path, text));
  EXPECT_NE(text.find("written where it can be"), std::string::npos);
  DeleteFileW(path.c_str());
}
