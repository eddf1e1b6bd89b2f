// The settings window: its controls, the running "Allocated" label, OK's
// rules with their warnings, Cancel and the close box, and DPI changes.
#include <gtest/gtest.h>

#include "base/log.h"
#include "base/log_win32.h"
#include "policy/settings_form.h"
#include "policy/tray_menu.h"
#include "settings/settings_win32.h"
#include "windows/ui_test_support.h"
#include "windows/win32_test_support.h"

namespace {

struct Control {
  HWND window;
  std::wstring className;
  std::wstring text;
  RECT rect;
  int id;
  LONG_PTR style;
};

std::vector<Control> ChildrenOf(HWND parent) {
  std::vector<Control> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t className[64] = {};
    GetClassNameW(child, className, 64);
    children.push_back({child, className, TextOf(child), RectInParent(child), GetDlgCtrlID(child),
                        GetWindowLongPtrW(child, GWL_STYLE)});
  }
  return children;
}

bool Same(const RECT& rect, int x, int y, int width, int height) {
  return rect.left == x && rect.top == y && rect.right - rect.left == width &&
         rect.bottom - rect.top == height;
}

// The controls the window must have, at 96 DPI, in creation order.
struct Expected {
  const wchar_t* className;
  std::wstring text;
  int x, y, width, height;
  int id;
};

std::vector<Expected> ExpectedControls(const Settings& settings) {
  const wchar_t* names[20] = {
      L"Tropical Fish", L"Angelfish", L"Clownfish", L"Goldfish",       L"Guppy",
      L"Shark",         L"Ray",       L"Betta",     L"Butterflyfish",  L"Blue Tang",
      L"Lionfish",      L"Jellyfish", L"Seahorse",  L"Pufferfish",     L"Sea Turtle",
      L"Octopus",       L"Eel",       L"Crab",      L"Cleaner Shrimp", L"Hermit Crab"};
  std::vector<Expected> controls = {
      {L"Static", L"Total Fish (5-60):", 20, 20, 180, 28, 0},
      {L"Edit", std::to_wstring(settings.totalFish), 205, 18, 80, 30, 1102},
      {L"Static", L"Allocated: 28 / 28 (max 28)", 305, 20, 305, 28, 0},
      {L"Static", L"Performance:", 615, 20, 120, 28, 0},
      {L"ComboBox", L"Smooth (60 FPS)", 740, 18, 215, -1,
       1103},  // a closed drop-down list is as high as its font wants
      {L"Button", L"Species && Count (number of each species)", 15, 52, 1065, 460, 0},
  };
  for (int i = 0; i < 20; ++i) {
    const int x = 30 + 265 * (i / 5), top = 88 * (i % 5), y = top + 76;
    controls.push_back({L"FishIconWnd", L"", x, y, 82, 54, 0});
    controls.push_back({L"Static", names[i], x + 90, y, 170, 26, 0});
    controls.push_back({L"Static", L"Count:", x + 90, top + 104, 55, 24, 0});
    controls.push_back(
        {L"Edit", std::to_wstring(settings.speciesCounts[i]), x + 148, top + 102, 55, 28, 1000 + i});
  }
  controls.push_back({L"Button", L"OK", 830, 530, 100, 38, 1});
  controls.push_back({L"Button", L"Cancel", 945, 530, 100, 38, 2});
  controls.push_back({L"Static", L"Tidemere v1.0  |  tidemere.app", 20, 580, 500, 24, 0});
  // With /debug (as in these tests), where the log goes.
  controls.push_back({L"Static", L"Log: " + LogFilePathInUse(), 530, 580, 550, 24, 0});
  return controls;
}

class SettingsWindow : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    CreateMessageWindow();
    Command(kMenuCommandSettings);
    window = app.ui.settingsWindow;
    ASSERT_NE(window, nullptr);
  }
  HWND Item(int id) { return GetDlgItem(window, id); }
  void Type(int id, const wchar_t* text) { SetWindowTextW(Item(id), text); }  // sends EN_CHANGE
  void Press(int id) { SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(Item(id))); }
  std::wstring Label() { return TextOf(allocatedLabel()); }
  HWND allocatedLabel() {
    for (const Control& c : ChildrenOf(window))
      if (c.text.rfind(L"Allocated:", 0) == 0) return c.window;
    return nullptr;
  }
  std::string SettingsFile() {
    std::string text;
    return ReadWholeFile(GetSettingsPath(), text) ? text : "<none>";
  }
  HWND window = nullptr;
};

TEST_F(SettingsWindow, HasEveryControlWithItsIdTextAndPosition) {
  EXPECT_EQ(TextOf(window), L"Aquarium Settings");
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME | WS_MAXIMIZEBOX),
            LONG_PTR(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX));
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_NE(SendMessageW(window, WM_GETICON, ICON_BIG, 0), 0) << "icon 101";
  RECT client;
  GetClientRect(window, &client);
  EXPECT_GE(client.bottom, 604) << "the footer fits inside the window";
  EXPECT_GE(client.right, 1080) << "the group box fits inside the window";
  EXPECT_NE(Log().find(ToUtf8(L"设置对话框已打开")), std::string::npos);

  std::vector<Control> children = ChildrenOf(window);
  const std::vector<Expected> expected = ExpectedControls(app.settings);
  ASSERT_EQ(children.size(), expected.size());
  // Each new child goes to the bottom of the z-order: the walk meets them in creation order.
  for (size_t i = 0; i < expected.size(); ++i) {
    const Control& c = children[i];
    const Expected& e = expected[i];
    SCOPED_TRACE(testing::Message() << "control " << i);
    EXPECT_EQ(c.className, e.className);
    EXPECT_EQ(c.text, e.text);
    EXPECT_EQ(c.id, e.id);
    EXPECT_TRUE(c.style & WS_VISIBLE);
    if (e.height < 0) {
      EXPECT_TRUE(Same(c.rect, e.x, e.y, e.width, c.rect.bottom - c.rect.top));
    } else {
      EXPECT_TRUE(Same(c.rect, e.x, e.y, e.width, e.height))
          << c.rect.left << "," << c.rect.top << " " << c.rect.right - c.rect.left << "x"
          << c.rect.bottom - c.rect.top;
    }
    if (e.className == std::wstring(L"FishIconWnd")) {
      EXPECT_EQ(GetWindowLongPtrW(c.window, GWLP_USERDATA), LONG_PTR((i - 6) / 4)) << "species number";
    }
    if (e.className == std::wstring(L"Edit")) {
      // (An edit control takes WS_BORDER out of its style and draws the border itself.)
      EXPECT_EQ(c.style & (ES_NUMBER | ES_AUTOHSCROLL), LONG_PTR(ES_NUMBER | ES_AUTOHSCROLL));
    }
  }
  EXPECT_TRUE(children.back().style & SS_PATHELLIPSIS) << "a long log path keeps its file name";
  EXPECT_EQ(GetWindowLongPtrW(Item(1), GWL_STYLE) & BS_TYPEMASK, LONG_PTR(BS_DEFPUSHBUTTON));
  EXPECT_EQ(SendMessageW(Item(1103), CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageW(Item(1103), CB_GETCURSEL, 0, 0), 0);
  wchar_t item[64] = {};
  SendMessageW(Item(1103), CB_GETLBTEXT, 1, LPARAM(item));
  EXPECT_STREQ(item, L"Power Saver (15 FPS)");

  // Fonts: 18 pixels normal and bold, 16 for "Count:" and the footer; none on the group box.
  auto Height = [](HWND control) {
    LOGFONTW font = {};
    HFONT handle = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    if (handle == nullptr) return 0L;
    GetObjectW(handle, sizeof(font), &font);
    return font.lfHeight * 1000 + font.lfWeight;
  };
  EXPECT_EQ(Height(children[0].window), 18 * 1000 + 400);
  EXPECT_EQ(Height(children[2].window), 18 * 1000 + 700);
  EXPECT_EQ(Height(children[8].window), 16 * 1000 + 400);
  EXPECT_EQ(Height(children[5].window), 0);
  EXPECT_EQ(Height(Item(1)), 18 * 1000 + 700);
  EXPECT_EQ(Height(Item(2)), 18 * 1000 + 400);

  SaveScreenshot(CaptureWindow(window), L"settings-window.png");
}

TEST_F(SettingsWindow, AllocatedLabelFollowsTheTypedNumbers) {
  EXPECT_EQ(Label(), L"Allocated: 28 / 28 (max 28)");
  Type(1003, L"70");
  EXPECT_EQ(Label(), L"Allocated: 96 / 28 (max 28)");
  Type(1102, L"");
  EXPECT_EQ(Label(), L"Allocated: 96 / 5 (max 5)");
  Type(1102, L"45");
  EXPECT_EQ(Label(), L"Allocated: 96 / 45 (max 45)");
}

TEST_F(SettingsWindow, ShorterLabelTextLeavesNothingOfTheLongerOneBehind) {
  for (int i = 0; i < 20; ++i) Type(1000 + i, L"55");  // "Allocated: 1100 / 28 (max 28)"
  const RECT area = RectInParent(allocatedLabel());
  auto RightmostInk = [&]() {
    Picture picture = CaptureClient(window, false);  // only what the change repainted
    const uint32_t background = picture.At(area.right - 1, area.bottom - 1);
    int rightmost = -1;
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x)
        if (picture.At(x, y) != background) rightmost = std::max(rightmost, x);
    return rightmost;
  };
  const int longText = RightmostInk();
  for (int i = 0; i < 20; ++i) Type(1000 + i, i == 0 ? L"1" : L"0");  // "Allocated: 1 / 28 (max 28)"
  const int shortText = RightmostInk();
  EXPECT_GT(longText, area.left);
  EXPECT_LT(shortText, longText - 20) << "the old text still shows under the new one";
}

TEST_F(SettingsWindow, OkStoresLogsSavesAndRebuilds) {
  app.aquarium.populated = true;
  Type(1102, L"40");
  Type(1000, L"12");
  Type(1019, L"3");  // the sum now equals the total: accepted
  SendMessageW(Item(1103), CB_SETCURSEL, 1, 0);
  Press(IDOK);
  EXPECT_TRUE(messageBoxes.empty());
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(app.ui.settingsWindow, nullptr);
  EXPECT_EQ(app.settings.totalFish, 40);
  EXPECT_EQ(app.settings.fpsMode, 1);
  EXPECT_EQ(app.settings.speciesCounts[0], 12);
  EXPECT_EQ(app.settings.speciesCounts[19], 3);
  EXPECT_EQ(app.settings.speciesCounts[1], 2);
  EXPECT_FALSE(app.aquarium.populated);
  const int sum = 40;
  EXPECT_NE(Log().find(ToUtf8(FormatLogMessage(L"应用设置：总鱼数=%d，已分配=%d，20种生物数量", 40, sum))),
            std::string::npos)
      << Log();
  const std::wstring path = GetSettingsPath();
  EXPECT_EQ(GetPrivateProfileIntW(L"Settings", L"TotalFish", -1, path.c_str()), 40);
  EXPECT_EQ(GetPrivateProfileIntW(L"Settings", L"FpsMode", -1, path.c_str()), 1);
  EXPECT_EQ(GetPrivateProfileIntW(L"Settings", L"Theme", -1, path.c_str()), 1);
  EXPECT_EQ(GetPrivateProfileIntW(L"Species", L"Fish0", -1, path.c_str()), 12);
  EXPECT_EQ(GetPrivateProfileIntW(L"Species", L"Fish19", -1, path.c_str()), 3);
}

TEST_F(SettingsWindow, OkWhenTheFileCannotBeWrittenSaysSoOnceAndKeepsTheValues) {
  // The settings folder replaced by a file of the same name: no save can work
  // (unlike a read-only file, also when the tests run as an administrator).
  const std::wstring path = GetSettingsPath();
  const std::wstring folder = path.substr(0, path.find_last_of(L'\\'));
  DeleteFileW(path.c_str());
  ASSERT_TRUE(RemoveDirectoryW(folder.c_str()));
  HANDLE blocker = CreateFileW(folder.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(blocker, INVALID_HANDLE_VALUE);
  CloseHandle(blocker);

  Type(1102, L"30");
  Press(IDOK);
  DeleteFileW(folder.c_str());
  CreateDirectoryW(folder.c_str(), nullptr);

  ASSERT_EQ(messageBoxes.size(), 1u);
  EXPECT_EQ(messageBoxes[0].caption, L"Settings Not Saved");
  EXPECT_NE(messageBoxes[0].text.find(path), std::wstring::npos) << "names the file";
  EXPECT_NE(messageBoxes[0].text.find(L"\n\n"), std::wstring::npos);
  EXPECT_EQ(app.settings.totalFish, 30) << "the values stay in use";
  EXPECT_FALSE(app.aquarium.populated);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_NE(Log().find("[settings] saving "), std::string::npos) << Log();
  EXPECT_NE(Log().find(" failed: error "), std::string::npos);
}

TEST_F(SettingsWindow, OkClampsCountsAndTotal) {
  Type(1102, L"99");
  for (int i = 0; i < 20; ++i) Type(1000 + i, i == 5 ? L"70" : L"0");
  Press(IDOK);
  EXPECT_TRUE(messageBoxes.empty());
  EXPECT_EQ(app.settings.totalFish, 60);
  EXPECT_EQ(app.settings.speciesCounts[5], 60);
}

TEST_F(SettingsWindow, NoSpeciesWarnsAndKeepsTheWindow) {
  const std::string before = SettingsFile();
  for (int i = 0; i < 20; ++i) Type(1000 + i, L"0");
  Press(IDOK);
  ASSERT_EQ(messageBoxes.size(), 1u);
  EXPECT_EQ(messageBoxes[0].owner, window);
  EXPECT_EQ(messageBoxes[0].text, L"Please set at least one species with count > 0!");
  EXPECT_EQ(messageBoxes[0].caption, L"Warning");
  EXPECT_EQ(messageBoxes[0].type, UINT(MB_ICONWARNING));
  EXPECT_TRUE(IsWindow(window));
  EXPECT_EQ(app.ui.settingsWindow, window);
  EXPECT_EQ(app.settings.speciesCounts[0], 2);
  EXPECT_EQ(SettingsFile(), before);
}

TEST_F(SettingsWindow, CountExceededShowsTheWholeMessage) {
  Type(1102, L"60");
  for (int i = 0; i < 20; ++i) Type(1000 + i, L"60");
  Press(IDOK);
  ASSERT_EQ(messageBoxes.size(), 1u);
  EXPECT_EQ(messageBoxes[0].owner, window);
  EXPECT_EQ(messageBoxes[0].caption, L"Count Exceeded");
  EXPECT_EQ(messageBoxes[0].type, UINT(MB_ICONWARNING));
  EXPECT_EQ(messageBoxes[0].text,
            L"Total count of all species (1200) exceeds total fish count (60)!\n"
            L"Please reduce some species counts or increase total fish count.");
  EXPECT_TRUE(IsWindow(window));
  EXPECT_EQ(app.settings.totalFish, 28);
}

TEST_F(SettingsWindow, CancelAndCloseBoxChangeNothing) {
  const std::string before = SettingsFile();
  app.aquarium.populated = true;
  Type(1102, L"50");
  Type(1004, L"9");
  Press(IDCANCEL);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(app.ui.settingsWindow, nullptr);

  Command(kMenuCommandSettings);
  window = app.ui.settingsWindow;
  ASSERT_NE(window, nullptr);
  Type(1102, L"50");
  SendMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(app.ui.settingsWindow, nullptr);

  EXPECT_EQ(app.settings.totalFish, 28);
  EXPECT_EQ(app.settings.speciesCounts[4], 2);
  EXPECT_TRUE(app.aquarium.populated);
  EXPECT_EQ(SettingsFile(), before);
  EXPECT_EQ(Log().find(ToUtf8(L"应用设置")), std::string::npos);
}

TEST_F(SettingsWindow, SecondSettingsCommandRaisesTheOpenWindow) {
  Command(kMenuCommandSettings);
  EXPECT_EQ(app.ui.settingsWindow, window);
  EXPECT_EQ(WindowsOfClass(kSettingsWindowClass).size(), 1u);
  ShowWindow(window, SW_MINIMIZE);
  Command(kMenuCommandSettings);
  EXPECT_FALSE(IsIconic(window)) << "a minimized window comes back";
  Press(IDCANCEL);
  Command(kMenuCommandSettings);
  EXPECT_NE(app.ui.settingsWindow, nullptr);
  EXPECT_NE(app.ui.settingsWindow, window) << "after closing, a new window";
  EXPECT_EQ(WindowsOfClass(kSettingsWindowClass).size(), 1u);
}

TEST_F(SettingsWindow, MovingToAMonitorOfHigherDpiScalesTheLayout) {
  // The system suggests where the window goes (here a rectangle on this screen).
  RECT suggested = {10, 20, 1210, 780};
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144), LPARAM(&suggested));
  RECT outer;
  GetWindowRect(window, &outer);
  EXPECT_EQ(outer.left, 10);
  EXPECT_EQ(outer.top, 20);
  EXPECT_EQ(outer.right - outer.left, 1200);
  EXPECT_TRUE(Same(RectInParent(Item(1)), 1245, 795, 150, 57));    // OK at 830, 530, 100 x 38
  EXPECT_TRUE(Same(RectInParent(Item(1019)), 1460, 681, 83, 42));  // 973, 454, 55 x 28
  LOGFONTW font = {};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Item(1102), WM_GETFONT, 0, 0)), sizeof(font), &font);
  EXPECT_EQ(font.lfHeight, 27);
  // Typing still updates the label after the fonts were replaced.
  Type(1102, L"30");
  EXPECT_EQ(Label(), L"Allocated: 28 / 30 (max 30)");
}

}  // namespace
