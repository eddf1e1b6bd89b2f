#include "settings/settings.h"

#include <cwchar>

namespace {
// Values are compared as unsigned, so a stored negative number is refused.
bool InRange(int value, unsigned lowest, unsigned highest) {
  return unsigned(value) >= lowest && unsigned(value) <= highest;
}

void SpeciesKey(wchar_t (&key)[16], int species) {
  std::swprintf(key, 16, L"Fish%d", species);
}
}  // namespace

void LoadSettingsFrom(ProfileStore& store, Settings& settings) {
  settings = Settings{};
  int theme = store.ReadInt(L"Settings", L"Theme", 1);
  // Every scene the menu offers survives a restart.
  if (InRange(theme, 1, 6)) settings.theme = theme;
  int totalFish = store.ReadInt(L"Settings", L"TotalFish", 28);
  if (InRange(totalFish, 5, 60)) settings.totalFish = totalFish;
  int fpsMode = store.ReadInt(L"Settings", L"FpsMode", 0);
  if (InRange(fpsMode, 0, 1)) settings.fpsMode = fpsMode;
  for (int i = 0; i < kSpeciesCount; ++i) {
    wchar_t key[16];
    SpeciesKey(key, i);
    int count = store.ReadInt(L"Species", key, settings.speciesCounts[i]);
    if (InRange(count, 0, 60)) settings.speciesCounts[i] = count;
  }
}

void SaveSettingsTo(ProfileStore& store, const Settings& settings) {
  wchar_t value[16];
  std::swprintf(value, 16, L"%d", settings.theme);
  store.WriteString(L"Settings", L"Theme", value);
  std::swprintf(value, 16, L"%d", settings.totalFish);
  store.WriteString(L"Settings", L"TotalFish", value);
  std::swprintf(value, 16, L"%d", settings.fpsMode);
  store.WriteString(L"Settings", L"FpsMode", value);
  for (int i = 0; i < kSpeciesCount; ++i) {
    wchar_t key[16];
    SpeciesKey(key, i);
    std::swprintf(value, 16, L"%d", settings.speciesCounts[i]);
    store.WriteString(L"Species", key, value);
  }
}
