// The tray icon's menu, the same on both desktops: the six scenes from the
// themes table, then Settings..., About Tidemere..., the autostart switch
// and Exit. Each shell makes its own menu of these items.
#pragma once

#include <vector>

enum class MenuAction {
  kSeparator,
  kTheme,
  kSettings,
  kAbout,
  kAutostart,  // "Start with Windows", "Start at login": checked while it is on
  kExit,
};

struct MenuItem {
  MenuAction action = MenuAction::kSeparator;
  int theme = 0;                  // kTheme: the scene it chooses
  const wchar_t* text = nullptr;  // null for a separator
  unsigned command = 0;           // the Windows menu's command id; 0 for a separator
};

// The Windows menu's command ids of the items that choose no scene (a scene's
// is in its row of the themes table).
constexpr unsigned kMenuCommandSettings = 1004;
constexpr unsigned kMenuCommandExit = 1005;
constexpr unsigned kMenuCommandAbout = 1006;
constexpr unsigned kMenuCommandAutostart = 1007;

// Top to bottom; `autostartText` names the autostart switch the desktop's way.
std::vector<MenuItem> TrayMenuItems(const wchar_t* autostartText);
// The item a Windows menu command belongs to; a separator for any other id.
MenuItem MenuItemOfCommand(unsigned command);

// The hot keys, Ctrl+Shift+digit on both desktops: the scenes whose row has
// a digit, each under its own number as the key's id, then the exit.
constexpr int kExitHotkeyId = 4;
constexpr char kExitHotkeyDigit = '0';
struct Hotkey {
  int id = 0;  // a scene's number, or kExitHotkeyId
  char digit = 0;
};
std::vector<Hotkey> Hotkeys();
