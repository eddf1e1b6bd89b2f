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
  const int monitors = store.ReadInt(L"Settings", L"Monitors", kMonitorsAuto);
  if (InRange(monitors, kMonitorsAuto, kMonitorsEach)) settings.monitors = monitors;
  const int scaleWithDpi = store.ReadInt(L"Settings", L"ScaleWithDpi", 1);
  if (InRange(scaleWithDpi, 0, 1)) settings.scaleWithDpi = scaleWithDpi;
  for (int i = 0; i < kSpeciesCount; ++i) {
    wchar_t key[16];
    SpeciesKey(key, i);
    int count = store.ReadInt(L"Species", key, settings.speciesCounts[i]);
    if (InRange(count, 0, 60)) settings.speciesCounts[i] = count;
  }
}

SaveResult SaveSettingsTo(ProfileStore& store, const Settings& settings) {
  ProfileEntry general[] = {
      {L"Theme", {}}, {L"TotalFish", {}}, {L"FpsMode", {}}, {L"Monitors", {}}, {L"ScaleWithDpi", {}}};
  const int values[] = {settings.theme, settings.totalFish, settings.fpsMode, settings.monitors,
                        settings.scaleWithDpi};
  for (int i = 0; i < 5; ++i) std::swprintf(general[i].value, 16, L"%d", values[i]);
  const SaveResult result = store.WriteKeys(L"Settings", general, 5);
  if (!result.ok) return result;
  ProfileEntry species[kSpeciesCount];
  for (int i = 0; i < kSpeciesCount; ++i) {
    SpeciesKey(species[i].key, i);
    std::swprintf(species[i].value, 16, L"%d", settings.speciesCounts[i]);
  }
  return store.WriteKeys(L"Species", species, kSpeciesCount);
}
