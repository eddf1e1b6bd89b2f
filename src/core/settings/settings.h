// The user's settings: theme, creature total, frame-rate mode and per-species
// counts, with their load and save rules over a small profile-store interface.
#pragma once

constexpr int kSpeciesCount = 20;

struct Settings {
  int theme = 1;
  int totalFish = 28;
  int fpsMode = 0;  // 0 "Smooth (60 FPS)", 1 "Power Saver (15 FPS)"
  int speciesCounts[kSpeciesCount] = {2, 2, 2, 2, 2, 2, 2, 2, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
};

// Reads and writes INI values. On Windows this is the private-profile API;
// natively a portable INI file with the same reading rules.
struct ProfileStore {
  virtual ~ProfileStore() = default;
  // The integer value of section/key as GetPrivateProfileIntW gives it (the
  // default when the key is missing or empty; may be negative).
  virtual int ReadInt(const wchar_t* section, const wchar_t* key, int defaultValue) = 0;
  virtual void WriteString(const wchar_t* section, const wchar_t* key, const wchar_t* value) = 0;
};

// Resets to the defaults, then applies every accepted value from the store.
void LoadSettingsFrom(ProfileStore& store, Settings& settings);
// Writes Theme, TotalFish, FpsMode, then Fish0 to Fish19.
void SaveSettingsTo(ProfileStore& store, const Settings& settings);
