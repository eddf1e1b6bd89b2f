// tidemere-render's shared options, its aquarium builder, its JSON writer and
// the frames it draws for several monitors.
#include <gtest/gtest.h>

#include <QImage>
#include <vector>

#include "../../tools/dump_json.h"
#include "../../tools/render_options.h"
#include "common/test_support.h"
#include "sim/random.h"
#include "sim/simulation.h"

namespace {

bool Parse(std::vector<const char*> args, RenderOptions& options, std::string& error) {
  args.insert(args.begin(), "tidemere-render");
  return ParseRenderOptions(int(args.size()), args.data(), options, error);
}

}  // namespace

TEST(RenderOptions, ParsesEverySharedOption) {
  RenderOptions o;
  std::string error;
  ASSERT_TRUE(Parse({"--dump", "-", "--size", "800x600", "--seed", "4294967295", "--steps", "30", "--dt",
                     "0.05", "--click", "10,20", "--pointer", "-5.5,1e2", "--settings", "a.ini"},
                    o, error))
      << error;
  EXPECT_EQ(o.mode, RenderMode::kDump);
  EXPECT_EQ(o.dumpPath, "-");
  EXPECT_EQ(o.width, 800);
  EXPECT_EQ(o.height, 600);
  EXPECT_EQ(o.seed, 4294967295u);
  EXPECT_EQ(o.steps, 30);
  EXPECT_EQ(o.dt, 0.05f);
  EXPECT_EQ(o.settingsPath, "a.ini");
  ASSERT_EQ(o.pointerEvents.size(), 2u);
  EXPECT_EQ(o.pointerEvents[0].kind, PointerEvent::kClick);
  EXPECT_EQ(o.pointerEvents[1].kind, PointerEvent::kMove);
  EXPECT_EQ(o.pointerEvents[1].x, -5.5f);
  EXPECT_EQ(o.pointerEvents[1].y, 100.0f);

  RenderOptions frame;
  ASSERT_TRUE(
      Parse({"--out", "f.png", "--drawing", "reference", "--monitors", "1920x1080+-1920+0,800x600+0+0@1.25"},
            frame, error))
      << error;
  EXPECT_EQ(frame.drawing, RenderOptions::Drawing::kReference);
  ASSERT_EQ(frame.monitors.size(), 2u);
  EXPECT_EQ(frame.monitors[0].rect.left, -1920);
  EXPECT_EQ(frame.monitors[0].rect.right, 0);
  EXPECT_EQ(frame.monitors[0].scale, 1.0f);
  EXPECT_EQ(frame.monitors[1].rect.bottom, 600);
  EXPECT_EQ(frame.monitors[1].scale, 1.25f);
  RenderOptions retained;
  ASSERT_TRUE(Parse({"--out", "f.png", "--drawing", "retained"}, retained, error)) << error;
  EXPECT_EQ(retained.drawing, RenderOptions::Drawing::kRetained);

  RenderOptions defaults;
  ASSERT_TRUE(Parse({"--dump", "out.json"}, defaults, error));
  EXPECT_EQ(defaults.drawing, RenderOptions::Drawing::kExact);
  EXPECT_EQ(defaults.width, 1920);
  EXPECT_EQ(defaults.height, 1080);
  EXPECT_FALSE(defaults.seed.has_value());
  EXPECT_EQ(defaults.steps, 1);
  EXPECT_EQ(defaults.dt, 1.0f / 60);
}

TEST(RenderOptions, RejectsMalformedCommandLines) {
  const std::vector<std::vector<const char*>> bad = {
      {},
      {"--size", "800x600"},
      {"--dump", "-", "--dump", "x"},
      {"--dump"},
      {"--dump", "-", "stray"},
      {"--dump", "-", "--frobnicate", "1"},
      {"--dump", "-", "--size", "800"},
      {"--out", "f.png", "--drawing", "slow"},
      {"--dump", "-", "--size", "0x600"},
      {"--dump", "-", "--size", "800x600x2"},
      {"--dump", "-", "--size", "99999x10"},
      {"--dump", "-", "--seed", "-1"},
      {"--dump", "-", "--seed", "4294967296"},
      {"--dump", "-", "--seed", "12abc"},
      {"--dump", "-", "--steps", "0"},
      {"--dump", "-", "--steps", ""},
      {"--dump", "-", "--dt", "0.2"},
      {"--dump", "-", "--dt", "-0.01"},
      {"--dump", "-", "--dt", "nan"},
      {"--dump", "-", "--click", "10"},
      {"--dump", "-", "--click", "10,"},
      {"--dump", "-", "--pointer", "inf,3"},
      {"--dump", "-", "--settings", ""},
      {"--out", "f.png", "--monitors", "800x600"},
      {"--out", "f.png", "--monitors", "800x600+0+0,"},
      {"--out", "f.png", "--monitors", "800x600+0+0@0.5"},
      {"--out", "f.png", "--monitors", "800x600+0+0@"},
      {"--out", "f.png", "--monitors", "0x600+0+0"},
  };
  for (const auto& args : bad) {
    RenderOptions o;
    std::string error;
    std::string joined;
    for (const char* a : args) joined += std::string(a) + " ";
    EXPECT_FALSE(Parse(args, o, error)) << joined;
    EXPECT_FALSE(error.empty()) << joined;
  }
}

TEST(RenderOptions, BuildsLikeTheFrameDriver) {
  RenderOptions o;
  o.seed = 9;
  o.width = 1000;
  o.height = 700;
  o.steps = 10;
  o.dt = 0.05f;
  o.pointerEvents = {{PointerEvent::kMove, 300, 200}, {PointerEvent::kClick, 500, 400}};
  Settings settings;
  Aquarium built;
  std::string error;
  ASSERT_TRUE(BuildAquarium(o, settings, built, error)) << error;

  // By hand: seed, steps with the clock kept outside, events after step one.
  SeedRandom(9);
  Aquarium expected;
  for (int i = 0; i < 10; ++i) {
    StepAquarium(expected, Settings(), 0.05f, 1000, 700);
    if (i == 0) {
      RecordPointerMove(expected, 300, 200);
      AddClickBurst(expected, 500, 400);
    }
  }
  EXPECT_EQ(AquariumToJson(built, 1000, 700), AquariumToJson(expected, 1000, 700));
  EXPECT_TRUE(built.pointerKnown);
  EXPECT_GT(built.bubbles.size(), 15u);

  // Settings come from the INI file with the program's rules.
  const std::string ini = TempFilePath("render.ini");
  WriteTextFile(ini, "[Settings]\nTotalFish=61\n[Species]\nFish0=0\nFish5=9\n");
  o.settingsPath = ini;
  ASSERT_TRUE(BuildAquarium(o, settings, built, error)) << error;
  RemoveFile(ini);
  EXPECT_EQ(settings.totalFish, 28);
  EXPECT_EQ(settings.speciesCounts[0], 0);
  EXPECT_EQ(settings.speciesCounts[5], 9);
  EXPECT_EQ(built.creatures.size(), 33u);

  o.settingsPath = TempFilePath("missing.ini");
  EXPECT_FALSE(BuildAquarium(o, settings, built, error));
  EXPECT_NE(error.find("missing.ini"), std::string::npos);
}

TEST(DumpJson, NamesEveryFieldAndKeepsFloatsExact) {
  Aquarium a;
  a.populated = true;
  a.pointerKnown = true;
  a.elapsed = 1.0f / 3;
  Creature c;
  c.x = 0.1f;
  c.color1 = 0xFF6B35;
  c.species = kHermitCrab;
  a.creatures = {c};
  a.bubbles = {Bubble{}};
  a.plants = {PlantClump{}};
  a.lightRays = {LightRay{}};
  a.corals = {Coral{}};
  a.starfish = {Starfish{}};
  const std::string json = AquariumToJson(a, 640, 480);

  for (const char* key :
       {"\"width\":640", "\"height\":480", "\"elapsed\":0.333333343", "\"bubbleTimer\":0",
        "\"populated\":true", "\"pointerX\":-9999", "\"pointerY\":-9999", "\"pointerKnown\":true",
        "\"x\":0.100000001", "\"color1\":16739125", "\"species\":19", "\"lastVx\":", "\"wobbleRate\":",
        "\"blades\":4", "\"intensity\":", "\"kind\":0", "\"rotation\":", "\"creatures\":[", "\"starfish\":["})
    EXPECT_NE(json.find(key), std::string::npos) << key << "\n" << json;

  // Nine significant digits give the float back exactly.
  EXPECT_EQ(std::stof("0.333333343"), 1.0f / 3);

  // Not-a-number would make the document unreadable.
  a.creatures[0].vx = std::numeric_limits<float>::quiet_NaN();
  EXPECT_NE(AquariumToJson(a, 1, 1).find("\"vx\":null"), std::string::npos);
}

int RunFramePng(const RenderOptions& options);  // frame_png.cpp

// What the program would show on a 1080p monitor beside a larger one at 150 %
// (here at half their sizes, five guppies in each): one aquarium on each, its
// floor at its own bottom, black where no monitor is; across, the smaller
// one shows no floor.
TEST(RenderFrame, EachMonitorsBottomShowsSand) {
  RenderOptions o;
  o.mode = RenderMode::kFrame;
  o.framePath = TempFilePath("monitors.png");
  o.seed = 3;
  o.width = 2240;
  o.height = 720;
  o.steps = 2;
  o.monitors = {{{0, 0, 960, 540}, 1}, {{960, 0, 2240, 720}, 1.5f}};
  const std::string ini = TempFilePath("monitors.ini");
  std::string guppies = "[Species]\n";
  for (int i = 0; i < kSpeciesCount; ++i)
    guppies += "Fish" + std::to_string(i) + "=" + (i == 4 ? "1" : "0") + "\n";
  // Columns whose bottom rows are mostly the floor of theme 1 (#C2B280, darker at the bottom).
  auto sandColumns = [](const QImage& frame, int x0, int x1, int y0, int y1) {
    int columns = 0;
    for (int x = x0 + 20; x < x1; x += 40) {
      int rows = 0;
      for (int y = y0; y < y1; ++y) {
        const QRgb p = frame.pixel(x, y);
        rows += qRed(p) > 110 && qGreen(p) > 100 && qRed(p) > qBlue(p) + 30;
      }
      columns += rows * 2 > y1 - y0;
    }
    return columns;
  };
  for (const char* monitors : {"", "Monitors=1\n"}) {
    SCOPED_TRACE(monitors);
    WriteTextFile(ini, "[Settings]\nTotalFish=5\n" + std::string(monitors) + guppies);
    o.settingsPath = ini;
    ASSERT_EQ(RunFramePng(o), 0);
    const QImage frame(QString::fromStdString(o.framePath));
    ASSERT_EQ(frame.width(), 2240);
    const bool across = monitors[0] != 0;
    const int left = sandColumns(frame, 0, 960, 530, 540), right = sandColumns(frame, 960, 2240, 710, 720);
    if (across) {
      EXPECT_EQ(left, 0) << "the floor lies below the smaller monitor";
    } else {
      EXPECT_GE(left, 18) << "of 24 columns";
    }
    EXPECT_GE(right, 24) << "of 32 columns";
    EXPECT_EQ(frame.pixel(100, 600), 0xFF000000u) << "below the smaller monitor";
  }
  RemoveFile(ini);
  RemoveFile(o.framePath);
}
