// Qt against GDI+: the parity figures rendered here are compared with the
// GDI+ renders that the Windows test GdiplusParity.DumpFigures wrote to
// $TIDEMERE_PARITY_DIR. The comparison admits anti-aliasing differences (an
// edge pixel may take any value between its neighbours) and nothing else.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "common/parity_figures.h"
#include "common/parity_measure.h"
#include "common/raster_render.h"
#include "common/scene_frames.h"
#include "draw/creature.h"
#include "native/qt_render.h"
#include "scene/scene.h"

using namespace draw;

namespace {

QImage ToImage(const RenderBuffer& buffer) {
  QImage image(buffer.width, buffer.height, QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < buffer.height; ++y) {
    std::copy_n(&buffer.pixels[size_t(y) * size_t(buffer.width)], buffer.width,
                reinterpret_cast<uint32_t*>(image.scanLine(y)));
  }
  return image;
}

// Every figure drawn with Qt, and the graphics' last status after it.
RenderBuffer RenderFigure(const ParityFigure& figure, int* lastStatus) {
  return RenderParityFigure(figure, [&](int w, int h, const DrawFn& drawing) {
    return RenderWithQt(w, h, [&](Graphics& g) {
      drawing(g);
      *lastStatus = g.lastStatus;
    });
  });
}

const ParityFigure& FigureNamed(const std::string& name) {
  for (const ParityFigure& f : ParityFigures()) {
    if (f.name == name) return f;
  }
  ADD_FAILURE() << "no parity figure " << name;
  return ParityFigures().front();
}

}  // namespace

TEST(Parity, EveryFigureDrawsWithoutFailedCalls) {
  for (const ParityFigure& figure : ParityFigures()) {
    int status = -1;
    RenderBuffer image = RenderFigure(figure, &status);
    EXPECT_EQ(status, kStatusOk) << figure.name;
    EXPECT_EQ(image.width, figure.width) << figure.name;
  }
}

// The comparison itself, on Qt renders alone: differences of rasterisation
// pass, real faults fail.
TEST(Parity, ComparisonAdmitsRasterDifferencesOnly) {
  const ParityFigure& fish = FigureNamed("creature_00_left_far_tilted");
  int status = 0;
  const RenderBuffer reference = RenderFigure(fish, &status);

  // Aliased: rendered 4x larger and point-sampled, as a renderer without
  // anti-aliasing would fill pixels.
  RenderBuffer big = RenderWithQt(fish.width * 4, fish.height * 4, [&](Graphics& g) {
    Scale(g, 4, 4);
    fish.drawing(g);
  });
  RenderBuffer aliased{fish.width, fish.height, std::vector<uint32_t>(reference.pixels.size())};
  for (int y = 0; y < fish.height; ++y) {
    for (int x = 0; x < fish.width; ++x) aliased.pixels[size_t(y) * fish.width + x] = big.At(4 * x, 4 * y);
  }
  // Pixel centres half a pixel apart.
  RenderBuffer shifted = RenderWithQt(fish.width, fish.height, [&](Graphics& g) {
    Translate(g, 0.5f, 0.5f);
    fish.drawing(g);
  });
  for (const RenderBuffer* same : {&aliased, &shifted}) {
    ParityScore s = CompareRenders(reference, *same);
    std::printf("same %-17s %s\n", same == &aliased ? "aliased" : "shifted", Describe(s).c_str());
    EXPECT_TRUE(Passes(s)) << Describe(s);
  }

  // Faults: wrong facing (a mirrored figure), a wrong colour, a missing small
  // shape (a 6-pixel dot), transforms in the wrong order, a tilt the wrong way.
  Creature c;
  c.species = 0;
  c.x = 128;
  c.y = 88;
  c.vx = -40;
  c.size = 22;
  c.depth = 0.4f;
  c.tilt = 0.4f;
  c.swimPhase = 2.6f;
  c.color1 = 0xFF6B35;
  c.color2 = 0xFFD23F;
  c.color3 = 0xFFFFFF;
  auto creature = [](Creature k, bool dot, bool wrongOrder) {
    return RenderWithQt(256, 192, [=](Graphics& g) {
      Clear(g, 0xFF1F4E79);
      if (wrongOrder) {
        Rotate(g, 10);
        Translate(g, 128, 88);
      } else {
        Translate(g, 128, 88);
        Rotate(g, 10);
      }
      Translate(g, -128, -88);
      DrawCreature(g, k);
      if (dot) FillEllipse(g, SolidBrush(0xFF101010), 150, 70, 6, 6);
    });
  };
  const RenderBuffer base = creature(c, true, false);
  Creature facing = c;
  facing.vx = -facing.vx;
  Creature colour = c;
  colour.color1 = 0x356BFF;  // red and blue swapped
  Creature tilt = c;
  tilt.tilt = -tilt.tilt;
  const struct {
    const char* fault;
    RenderBuffer image;
  } faults[] = {
      {"mirrored", creature(facing, true, false)},    {"wrong colour", creature(colour, true, false)},
      {"missing dot", creature(c, false, false)},     {"transform order", creature(c, true, true)},
      {"tilt reversed", creature(tilt, true, false)},
  };
  ParityScore unchanged = CompareRenders(base, creature(c, true, false));
  EXPECT_EQ(unchanged.meanDifference, 0);
  for (const auto& f : faults) {
    ParityScore s = CompareRenders(base, f.image);
    std::printf("fault %-16s %s\n", f.fault, Describe(s).c_str());
    EXPECT_FALSE(Passes(s)) << f.fault;
  }
}

// Needs the GDI+ renders: set TIDEMERE_PARITY_DIR to the folder that
// GdiplusParity.DumpFigures (tidemere-wintests under Wine) wrote. Writes
// qt_<figure>.png and gdiplus_<figure>.png beside them for inspection.
TEST(Parity, QtMatchesGdiplus) {
  const char* dir = std::getenv("TIDEMERE_PARITY_DIR");
  if (!dir || !*dir) GTEST_SKIP() << "TIDEMERE_PARITY_DIR is not set";
  const std::string folder = dir;
  ParityScore worst;
  for (const ParityFigure& figure : ParityFigures()) {
    SCOPED_TRACE(figure.name);
    RenderBuffer gdiplus;
    ASSERT_TRUE(ReadRender(folder + "/" + figure.name + ".bin", gdiplus)) << "no GDI+ render";
    int status = 0;
    const RenderBuffer qt = RenderFigure(figure, &status);
    const ParityScore s = CompareRenders(qt, gdiplus);
    std::printf("%-32s %s%s\n", figure.name.c_str(), Describe(s).c_str(), Passes(s) ? "" : "  FAIL");
    worst = Worst(worst, s);
    EXPECT_TRUE(Passes(s)) << Describe(s);
    ToImage(qt).save(QString::fromStdString(folder + "/qt_" + figure.name + ".png"), "PNG");
    ToImage(gdiplus).save(QString::fromStdString(folder + "/gdiplus_" + figure.name + ".png"), "PNG");
  }
  std::printf("worst of each: %s\nlimits:        %s\n", Describe(worst).c_str(),
              Describe(ParityLimits()).c_str());
}

// The toolkit's own rasteriser against Qt, figure by figure.
TEST(Parity, RasterMatchesQt) {
  ParityScore worst;
  for (const ParityFigure& figure : ParityFigures()) {
    SCOPED_TRACE(figure.name);
    int status = 0;
    const RenderBuffer qt = RenderFigure(figure, &status);
    int rasterStatus = -1;
    const RenderBuffer raster = RenderParityFigure(figure, [&](int w, int h, const DrawFn& drawing) {
      return RenderWithRaster(w, h, [&](Graphics& g) {
        drawing(g);
        rasterStatus = g.lastStatus;
      });
    });
    EXPECT_EQ(rasterStatus, kStatusOk);
    const ParityScore s = CompareRenders(qt, raster);
    std::printf("%-32s %s%s\n", figure.name.c_str(), Describe(s).c_str(), Passes(s) ? "" : "  FAIL");
    worst = Worst(worst, s);
    EXPECT_TRUE(Passes(s)) << Describe(s);
  }
  std::printf("worst of each: %s\n", Describe(worst).c_str());
}

// Needs the fast frames that GdiplusSceneParity (tidemere-wintests under Wine)
// wrote to TIDEMERE_PARITY_DIR: drawn on Windows through GDI+'s DIB section,
// they match Qt's reference drawing by the measure, and Qt's fast frames
// (the same portable drawing) to within rounding.
TEST(Parity, GdiplusFramesMatchQt) {
  const char* dir = std::getenv("TIDEMERE_PARITY_DIR");
  if (!dir || !*dir) GTEST_SKIP() << "TIDEMERE_PARITY_DIR is not set";
  const std::string folder = dir;
  const int w = kSceneFrameWidth, h = kSceneFrameHeight;
  ParityScore worstReference, worstFast;
  for (uint32_t seed : SceneSeeds()) {
    SceneCache caches[7];
    RunSceneFrames(seed, [&](const Aquarium& aquarium, const SceneFrame& frame) {
      SCOPED_TRACE(frame.name);
      RenderBuffer gdiplus;
      ASSERT_TRUE(ReadRender(folder + "/" + frame.name + ".bin", gdiplus)) << "no GDI+ frame";
      const RenderBuffer reference =
          RenderWithQt(w, h, [&](Graphics& g) { RenderSceneReference(aquarium, frame.theme, g, w, h); });
      const RenderBuffer fast = RenderWithQt(
          w, h, [&](Graphics& g) { RenderScene(aquarium, frame.theme, g, w, h, caches[frame.theme]); });
      const ParityScore toReference = CompareRenders(reference, gdiplus),
                        toFast = CompareRenders(fast, gdiplus);
      EXPECT_TRUE(Passes(toReference)) << Describe(toReference);
      EXPECT_LE(toFast.meanDifference, 0.05) << Describe(toFast);
      worstReference = Worst(worstReference, toReference);
      worstFast = Worst(worstFast, toFast);
    });
  }
  std::printf("GDI+ fast frames against Qt's reference, worst: %s\n", Describe(worstReference).c_str());
  std::printf("GDI+ fast frames against Qt's fast frames, worst: %s\n", Describe(worstFast).c_str());
}
