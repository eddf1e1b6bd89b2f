#include "base/themes.h"

bool IsTheme(int id) {
  return id >= 1 && id <= kThemeCount;
}

const ThemeRow& ThemeRowOf(int id) {
  return kThemes[IsTheme(id) ? id - 1 : 0];
}

int ThemeOfMenuCommand(unsigned command) {
  for (const ThemeRow& row : kThemes) {
    if (row.menuCommand == command) return row.id;
  }
  return 0;
}

int ThemeOfHotkeyDigit(char digit) {
  for (const ThemeRow& row : kThemes) {
    if (digit != 0 && row.hotkeyDigit == digit) return row.id;
  }
  return 0;
}
