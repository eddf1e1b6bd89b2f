// The user's settings: theme, creature total, frame-rate mode and per-species
// counts, with their load and save rules over a small profile-store interface.
#pragma once

constexpr int kSpeciesCount = 20;

// How the aquariums lie over several monitors (the "Monitors" key).
constexpr int kMonitorsAuto = 0;    // across when the monitors tile their bounding box, else each
constexpr int kMonitorsAcross = 1;  // one aquarium over the bounding box of all monitors
constexpr int kMonitorsEach = 2;    // one aquarium per monitor

struct Settings {
  int theme = 1;
  int totalFish = 28;
  int fpsMode = 0;       // 0 "Smooth (60 FPS)", 1 "Power Saver (15 FPS)"
  int monitors = 0;      // kMonitorsAuto, kMonitorsAcross or kMonitorsEach
  int scaleWithDpi = 1;  // 1: creatures and scenery grow with the monitor's scale factor
  int speciesCounts[kSpeciesCount] = {2, 2, 2, 2, 2, 2, 2, 2, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
};

// Whether a save wrote everything, and when not, the system's reason: the
// error code of the failed call (GetLastError on Windows, errno natively).
struct SaveResult {
  bool ok = true;
  unsigned long error = 0;
};

// One key of a section and the value a save gives it.
struct ProfileEntry {
  wchar_t key[16];
  wchar_t value[16];
};

// Reads and writes INI values. On Windows this is the private-profile API;
// natively a portable INI file with the same reading rules.
struct ProfileStore {
  virtual ~ProfileStore() = default;
  // The integer value of section/key as GetPrivateProfileIntW gives it (the
  // default when the key is missing or empty; may be negative).
  virtual int ReadInt(const wchar_t* section, const wchar_t* key, int defaultValue) = 0;
  // Sets these keys of one section in a single write of the file, keeping
  // everything else the section and the file hold.
  virtual SaveResult WriteKeys(const wchar_t* section, const ProfileEntry* entries, int count) = 0;
};

// Resets to the defaults, then applies every accepted value from the store.
void LoadSettingsFrom(ProfileStore& store, Settings& settings);
// Writes [Settings] Theme, TotalFish, FpsMode, Monitors, ScaleWithDpi, then [Species] Fish0 to
// Fish19, one write per section; stops at the first that fails.
SaveResult SaveSettingsTo(ProfileStore& store, const Settings& settings);
