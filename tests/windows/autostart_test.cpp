// "Start with Windows" against the real per-user Run key of the Wine prefix.
#include <gtest/gtest.h>

#include "base/log.h"
#include "base/program_path_win32.h"
#include "settings/settings_win32.h"
#include "windows/win32_test_support.h"

namespace {

const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class RunKey : public ::testing::Test {
 protected:
  void SetUp() override {
    RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegDeleteValueW(key, L"Tidemere");
    DeleteProgramLog();
  }
  void TearDown() override {
    RegDeleteValueW(key, L"Tidemere");
    RegCloseKey(key);
    debugLogging = false;
  }
  void Store(const std::wstring& text, DWORD type = REG_SZ) {
    RegSetValueExW(key, L"Tidemere", 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                   DWORD((text.size() + 1) * sizeof(wchar_t)));
  }
  std::wstring Stored(DWORD* type) {
    wchar_t buffer[1024] = {};
    DWORD bytes = sizeof(buffer) - sizeof(wchar_t);
    if (RegQueryValueExW(key, L"Tidemere", nullptr, type, reinterpret_cast<BYTE*>(buffer), &bytes) != 0) {
      return L"<missing>";
    }
    return buffer;
  }
  HKEY key = nullptr;
};

std::wstring Upper(std::wstring text) {
  for (wchar_t& c : text) c = wchar_t(towupper(c));
  return text;
}

TEST_F(RunKey, OwnPathQuotedUnquotedOrInOtherCaseCountsAsOn) {
  EXPECT_FALSE(IsAutostartEnabled());
  Store(L"\"" + GetProgramPath() + L"\"");
  EXPECT_TRUE(IsAutostartEnabled());
  Store(GetProgramPath());
  EXPECT_TRUE(IsAutostartEnabled());
  Store(Upper(GetProgramPath()));
  EXPECT_TRUE(IsAutostartEnabled());
}

TEST_F(RunKey, AnotherCopyCountsAsOffAndIsOverwritten) {
  Store(L"\"C:\\Other\\Tidemere.exe\"");
  EXPECT_FALSE(IsAutostartEnabled());
  ToggleAutostart();
  DWORD type = 0;
  EXPECT_EQ(Stored(&type), L"\"" + GetProgramPath() + L"\"");
  EXPECT_EQ(type, DWORD(REG_SZ));
  EXPECT_TRUE(IsAutostartEnabled());
}

TEST_F(RunKey, ExpandableStringCountsAsOffAndIsReplacedByPlainString) {
  Store(L"\"" + GetProgramPath() + L"\"", REG_EXPAND_SZ);
  EXPECT_FALSE(IsAutostartEnabled());
  ToggleAutostart();
  DWORD type = 0;
  Stored(&type);
  EXPECT_EQ(type, DWORD(REG_SZ));
}

TEST_F(RunKey, TogglingTwiceAddsThenRemovesWithBothLogLines) {
  debugLogging = true;
  ToggleAutostart();
  EXPECT_TRUE(IsAutostartEnabled());
  ToggleAutostart();
  EXPECT_FALSE(IsAutostartEnabled());
  DWORD type = 0;
  EXPECT_EQ(Stored(&type), L"<missing>");
  std::string log = ReadProgramLog();
  size_t set = log.find(ToUtf8(L"自动启动：已设置 r=0"));
  size_t removed = log.find(ToUtf8(L"自动启动：已移除 r=0"));
  EXPECT_NE(set, std::string::npos);
  EXPECT_NE(removed, std::string::npos);
  EXPECT_LT(set, removed);
}

TEST_F(RunKey, LongProgramPathIsReadWholeAndCanBeRemovedAgain) {
  // Quoted, the value is longer than the 260 characters a path buffer holds.
  const std::wstring longPath = L"C:\\" + std::wstring(280, L'd') + L"\\Tidemere.exe";
  EXPECT_FALSE(IsAutostartEnabledFor(longPath));
  ToggleAutostartFor(longPath);
  DWORD type = 0;
  EXPECT_EQ(Stored(&type), L"\"" + longPath + L"\"");
  EXPECT_TRUE(IsAutostartEnabledFor(longPath)) << "the menu would show the entry as off forever";
  // The whole value counts: a path that differs only past the 260th character is another copy.
  std::wstring otherCopy = longPath;
  otherCopy[otherCopy.size() - 5] = L'X';
  EXPECT_FALSE(IsAutostartEnabledFor(otherCopy));
  ToggleAutostartFor(longPath);
  EXPECT_EQ(Stored(&type), L"<missing>") << "choosing the item again removes the entry";
}

TEST_F(RunKey, ValueWithoutTerminatorIsReadWithinItsSize) {
  const std::wstring path = L"C:\\" + std::wstring(296, L'a');
  RegSetValueExW(key, L"Tidemere", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                 DWORD(path.size() * sizeof(wchar_t)));
  EXPECT_TRUE(IsAutostartEnabledFor(path));
  EXPECT_FALSE(IsAutostartEnabledFor(path + L"a"));
  EXPECT_FALSE(IsAutostartEnabledFor(path.substr(0, path.size() - 1)));
}

}  // namespace
