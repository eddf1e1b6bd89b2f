#include "policy/tray_menu.h"

#include "base/themes.h"

std::vector<MenuItem> TrayMenuItems(const wchar_t* autostartText) {
  std::vector<MenuItem> items;
  for (const ThemeRow& row : kThemes)
    items.push_back({MenuAction::kTheme, row.id, row.name, row.menuCommand});
  items.push_back({});
  items.push_back({MenuAction::kSettings, 0, L"Settings...", kMenuCommandSettings});
  items.push_back({MenuAction::kAbout, 0, L"About Tidemere...", kMenuCommandAbout});
  items.push_back({MenuAction::kAutostart, 0, autostartText, kMenuCommandAutostart});
  items.push_back({});
  items.push_back({MenuAction::kExit, 0, L"Exit", kMenuCommandExit});
  return items;
}

MenuItem MenuItemOfCommand(unsigned command) {
  for (const MenuItem& item : TrayMenuItems(L"")) {
    if (item.command != 0 && item.command == command) return item;
  }
  return {};
}

std::vector<Hotkey> Hotkeys() {
  std::vector<Hotkey> keys;
  for (const ThemeRow& row : kThemes) {
    if (row.hotkeyDigit != 0) keys.push_back({row.id, row.hotkeyDigit});
  }
  keys.push_back({kExitHotkeyId, kExitHotkeyDigit});
  return keys;
}
