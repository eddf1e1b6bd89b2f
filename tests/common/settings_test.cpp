// The settings rules, run over the platform's own store: the portable INI
// store natively, the private-profile functions under Wine.
#include "settings/settings.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "common/test_support.h"
#include "settings/ini_store.h"

namespace {

class SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    path =
        TempFilePath(std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".ini");
    RemoveFile(path);
  }
  void TearDown() override { RemoveFile(path); }

  Settings LoadFrom(const std::string& contents) {
    WriteTextFile(path, contents);
    Settings settings;
    settings.theme = 99;  // loading must start from the defaults, not from this
    auto store = MakeProfileStore(path);
    LoadSettingsFrom(*store, settings);
    return settings;
  }

  std::string path;
};

TEST_F(SettingsFile, MissingFileGivesDefaults) {
  Settings settings;
  settings.totalFish = 7;
  auto store = MakeProfileStore(path);
  LoadSettingsFrom(*store, settings);
  EXPECT_EQ(settings.theme, 1);
  EXPECT_EQ(settings.totalFish, 28);
  EXPECT_EQ(settings.fpsMode, 0);
  EXPECT_EQ(settings.monitors, kMonitorsAuto) << "an INI without the key lays the monitors out itself";
  EXPECT_EQ(settings.scaleWithDpi, 1);
  int sum = 0;
  for (int i = 0; i < kSpeciesCount; ++i) {
    EXPECT_EQ(settings.speciesCounts[i], i < 8 ? 2 : 1) << "species " << i;
    sum += settings.speciesCounts[i];
  }
  EXPECT_EQ(sum, 28);
  EXPECT_FALSE(FileExists(path)) << "loading must not create the file";
}

TEST_F(SettingsFile, ThemeAcceptsEverySceneOfTheMenu) {
  const int expected[] = {1, 1, 2, 3, 4, 5, 6, 1};  // stored 0..7
  for (int stored = 0; stored <= 7; ++stored) {
    EXPECT_EQ(LoadFrom("[Settings]\r\nTheme=" + std::to_string(stored) + "\r\n").theme, expected[stored])
        << "Theme=" << stored;
  }
  EXPECT_EQ(LoadFrom("[Settings]\r\nTheme=-2\r\n").theme, 1);
}

TEST_F(SettingsFile, TotalFishRange) {
  EXPECT_EQ(LoadFrom("[Settings]\r\nTotalFish=4\r\n").totalFish, 28);
  EXPECT_EQ(LoadFrom("[Settings]\r\nTotalFish=5\r\n").totalFish, 5);
  EXPECT_EQ(LoadFrom("[Settings]\r\nTotalFish=60\r\n").totalFish, 60);
  EXPECT_EQ(LoadFrom("[Settings]\r\nTotalFish=61\r\n").totalFish, 28);
  EXPECT_EQ(LoadFrom("[Settings]\r\nTotalFish=-30\r\n").totalFish, 28);
}

TEST_F(SettingsFile, NegativeValuesAreRefused) {
  Settings settings = LoadFrom(
      "[Settings]\r\nFpsMode=-1\r\nMonitors=-1\r\nScaleWithDpi=-1\r\n[Species]\r\nFish0=-1\r\nFish9=-60\r\n");
  EXPECT_EQ(settings.fpsMode, 0);
  EXPECT_EQ(settings.monitors, kMonitorsAuto);
  EXPECT_EQ(settings.scaleWithDpi, 1);
  EXPECT_EQ(settings.speciesCounts[0], 2);
  EXPECT_EQ(settings.speciesCounts[9], 1);
}

TEST_F(SettingsFile, SpeciesCountsAndFpsMode) {
  Settings settings =
      LoadFrom("[Settings]\r\nFpsMode=1\r\n[Species]\r\nFish3=0\r\nFish5=60\r\nFish6=61\r\nFish19=7\r\n");
  EXPECT_EQ(settings.fpsMode, 1);
  EXPECT_EQ(settings.speciesCounts[3], 0) << "0 switches a species off";
  EXPECT_EQ(settings.speciesCounts[5], 60);
  EXPECT_EQ(settings.speciesCounts[6], 2) << "above 60 keeps the default";
  EXPECT_EQ(settings.speciesCounts[19], 7);
  EXPECT_EQ(LoadFrom("[Settings]\r\nFpsMode=2\r\n").fpsMode, 0);
  EXPECT_EQ(LoadFrom("[Settings]\r\nMonitors=3\r\n").monitors, kMonitorsAuto);
  EXPECT_EQ(LoadFrom("[Settings]\r\nScaleWithDpi=2\r\n").scaleWithDpi, 1);
}

TEST_F(SettingsFile, CountsMayExceedTheTotal) {
  Settings settings = LoadFrom("[Settings]\r\nTotalFish=5\r\n[Species]\r\nFish0=60\r\nFish1=60\r\n");
  EXPECT_EQ(settings.totalFish, 5);
  EXPECT_EQ(settings.speciesCounts[0], 60);
  EXPECT_EQ(settings.speciesCounts[1], 60);
}

TEST_F(SettingsFile, ReadingRulesOfTheProfileFunctions) {
  // Names without case, blanks around values, digits up to the first other
  // character, hexadecimal prefix.
  Settings settings =
      LoadFrom("[settings]\r\ntotalfish =  12  \r\n[SPECIES]\r\nFish1=3abc\r\nFish2=0x10\r\nFish4=  +9\r\n");
  EXPECT_EQ(settings.totalFish, 12);
  EXPECT_EQ(settings.speciesCounts[1], 3);
  EXPECT_EQ(settings.speciesCounts[2], 16);
  EXPECT_EQ(settings.speciesCounts[4], 9);
}

TEST_F(SettingsFile, SaveWritesEverySettingAndLoadsBack) {
  Settings saved;
  saved.theme = 5;
  saved.totalFish = 40;
  saved.fpsMode = 1;
  saved.monitors = kMonitorsEach;
  saved.scaleWithDpi = 0;
  for (int i = 0; i < kSpeciesCount; ++i) saved.speciesCounts[i] = (i * 7) % 61;
  {
    auto store = MakeProfileStore(path);
    SaveSettingsTo(*store, saved);
  }
  ASSERT_TRUE(FileExists(path)) << "the first save creates the file";
  std::string text = ReadTextFile(path);
  EXPECT_NE(text.find("Theme=5"), std::string::npos);
  EXPECT_NE(text.find("TotalFish=40"), std::string::npos);
  EXPECT_NE(text.find("FpsMode=1"), std::string::npos);
  EXPECT_NE(text.find("Monitors=2"), std::string::npos);
  EXPECT_NE(text.find("ScaleWithDpi=0"), std::string::npos);
  EXPECT_NE(text.find("Fish19="), std::string::npos);

  Settings loaded;
  auto store = MakeProfileStore(path);
  LoadSettingsFrom(*store, loaded);
  EXPECT_EQ(loaded.theme, 5) << "a Shipwreck chosen from the menu survives a restart";
  EXPECT_EQ(loaded.totalFish, 40);
  EXPECT_EQ(loaded.fpsMode, 1);
  EXPECT_EQ(loaded.monitors, kMonitorsEach);
  EXPECT_EQ(loaded.scaleWithDpi, 0);
  for (int i = 0; i < kSpeciesCount; ++i) EXPECT_EQ(loaded.speciesCounts[i], saved.speciesCounts[i]);

  // Saving again replaces values instead of adding keys.
  saved.theme = 2;
  SaveSettingsTo(*store, saved);
  std::string again = ReadTextFile(path);
  EXPECT_EQ(again.find("Theme=5"), std::string::npos);
  EXPECT_EQ(again.find("Theme="), again.rfind("Theme="));
  Settings reloaded;
  LoadSettingsFrom(*store, reloaded);
  EXPECT_EQ(reloaded.theme, 2);
}

// Bytes that are not UTF-8 read as no character a name or a number is made
// of (an overlong line feed breaks no line, an overlong digit is no digit)
// and stay as they were; UTF-16 with a byte-order mark reads as Windows reads
// it. A save over either keeps the file's encoding and loads back as saved.
TEST_F(SettingsFile, FileEncodings) {
  auto utf16 = [](const std::string& text, bool bigEndian) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char c : text) out += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    return out;
  };
  const struct {
    const char* name;
    std::string bytes;
    int theme;         // as loaded
    std::string kept;  // a line a save must leave as it is
  } cases[] = {
      {"an overlong line feed", "[junk\xC0\x8A[Settings]\r\nTheme=3\r\n", 1, "[junk\xC0\x8A[Settings]\r\n"},
      {"an overlong digit", "[Settings]\r\nTheme=\xC0\xB3\r\n", 1, ""},
      {"a surrogate and a cut sequence", "[Settings]\r\nTheme=4\r\nNote=\xED\xA0\x80 \xE2\x82\r\n", 4,
       "Note=\xED\xA0\x80 \xE2\x82\r\n"},
      {"UTF-16 little-endian", utf16("[Settings]\r\nTheme=3\r\n", false), 3, ""},
      {"UTF-16 big-endian", utf16("[Settings]\r\nTheme=3\r\n", true), 3, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(LoadFrom(c.bytes).theme, c.theme);
    Settings saved;
    saved.theme = 5;
    saved.totalFish = 40;
    auto store = MakeProfileStore(path);
    EXPECT_TRUE(SaveSettingsTo(*store, saved).ok);
    Settings loaded;
    LoadSettingsFrom(*store, loaded);
    EXPECT_EQ(loaded.theme, 5);
    EXPECT_EQ(loaded.totalFish, 40);
    const std::string after = ReadTextFile(path);
    EXPECT_EQ(after.substr(0, 2), c.bytes.substr(0, 2)) << "the file keeps its encoding";
    EXPECT_NE(after.find(c.kept), std::string::npos) << "a line the save did not own changed";
  }
}

TEST_F(SettingsFile, SaveThatCannotWriteSaysWhy) {
  WriteTextFile(path, "a file where the settings folder should be");
  auto store = MakeProfileStore(path + "/Tidemere.ini");
  Settings settings;
  const SaveResult result = SaveSettingsTo(*store, settings);
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.error, 0u);
  LoadSettingsFrom(*store, settings);
  EXPECT_EQ(settings.theme, 1);
}

// The portable store on every platform: a file it cannot read whole gives
// the defaults and is left as it is, and it never writes a file it would
// not read back.
TEST_F(SettingsFile, TheIniStoreReadsAFileWholeOrNotAtAll) {
  const std::string settings = "[Settings]\r\nTheme=3\r\n";
  auto padded = [&](size_t size) {
    return settings + ";" + std::string(size - settings.size() - 3, 'x') + "\r\n";
  };
  const struct {
    const char* name;
    std::string bytes;
    int theme;                // as loaded
    unsigned long readError;  // after loading
    unsigned long saveError;  // 0: the save works
  } cases[] = {
      {"room left for the keys", padded(kMaxIniBytes - 4096), 3, 0, 0},
      {"at the bound, which the keys would pass", padded(kMaxIniBytes), 3, 0, EFBIG},
      {"one byte past the bound", padded(kMaxIniBytes + 1), 1, EFBIG, EFBIG},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteTextFile(path, c.bytes);
    IniFileStore store(path);
    Settings settings;
    LoadSettingsFrom(store, settings);
    EXPECT_EQ(settings.theme, c.theme);
    EXPECT_EQ(store.readError, c.readError);
    settings.theme = 5;
    const SaveResult saved = SaveSettingsTo(store, settings);
    EXPECT_EQ(saved.ok, c.saveError == 0);
    EXPECT_EQ(saved.error, c.saveError);
    if (c.saveError != 0) {
      EXPECT_TRUE(ReadTextFile(path) == c.bytes) << "a file it refused was changed";
    } else {
      Settings loaded;
      LoadSettingsFrom(store, loaded);
      EXPECT_EQ(loaded.theme, 5);
    }
  }
}

}  // namespace
