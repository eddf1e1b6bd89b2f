// Milliseconds per frame (StepAquarium + RenderScene) on the Qt backend, one
// thread, for every theme at two sizes and two populations, and a breakdown
// of the frame by layer. Times are the thread's CPU time, so that other
// processes on a busy machine inflate them as little as possible.
#include <QImage>
#include <QThreadPool>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

#include "draw/qt/qt_graphics.h"
#include "scene/layers.h"
#include "scene/scene.h"
#include "settings/settings.h"
#include "sim/random.h"
#include "sim/simulation.h"

namespace {

constexpr float kDt = 1.0f / 60;

double NowMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

double Median(std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  return samples[samples.size() / 2];
}

// A populated aquarium that has been running for a couple of seconds.
Aquarium Warm(const Settings& settings, int w, int h) {
  SeedRandom(12345);
  Aquarium aq;
  for (int i = 0; i < 120; ++i) {
    aq.elapsed += kDt;
    StepAquarium(aq, settings, kDt, w, h);
  }
  return aq;
}

std::vector<double> TimeFrames(const Settings& settings, int theme, int w, int h, int frames) {
  Aquarium aq = Warm(settings, w, h);
  QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
  Graphics g = MakeQtGraphics(image);
  std::vector<double> samples;
  for (int i = 0; i < frames; ++i) {
    const double start = NowMs();
    aq.elapsed += kDt;
    StepAquarium(aq, settings, kDt, w, h);
    RenderScene(aq, theme, g, w, h);
    samples.push_back(NowMs() - start);
  }
  return samples;
}

// The layers of RenderScene timed one by one, in its order.
enum Layer { kWater, kRipples, kRays, kFloor, kSetPiece, kScenery, kCreatures, kOverlay, kLayerCount };
const char* const kLayerNames[] = {"water",     "ripples", "rays",      "floor",
                                   "set piece", "scenery", "creatures", "overlay"};
static_assert(sizeof(kLayerNames) / sizeof(kLayerNames[0]) == kLayerCount, "one name per layer");

void TimeLayers(const Settings& settings, int theme, int w, int h, int frames, double medians[kLayerCount]) {
  Aquarium aq = Warm(settings, w, h);
  QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
  Graphics g = MakeQtGraphics(image);
  std::vector<double> samples[kLayerCount];
  for (int i = 0; i < frames; ++i) {
    aq.elapsed += kDt;
    StepAquarium(aq, settings, kDt, w, h);
    const ScenePalette palette = PaletteForTheme(theme);
    const double t = aq.elapsed;
    auto timed = [&](Layer layer, auto draw) {
      const double start = NowMs();
      draw();
      samples[layer].push_back(NowMs() - start);
    };
    timed(kWater, [&] { DrawWaterColumn(g, palette, theme, w, h); });
    timed(kRipples, [&] { DrawSurfaceRipples(g, w, h, t); });
    timed(kRays, [&] { DrawLightRays(g, aq.lightRays, palette.light, h, t); });
    timed(kFloor, [&] { DrawSeaFloor(g, palette.floor, w, h, t); });
    timed(kSetPiece, [&] {
      DrawRocks(g, w, h);
      DrawSetPiece(g, theme, w, h, t);
    });
    timed(kScenery, [&] { DrawScenery(g, aq, h); });
    timed(kCreatures, [&] { DrawCreaturesInDepthOrder(g, aq.creatures); });
    timed(kOverlay, [&] { DrawOverlay(g, theme, w, h, t); });
  }
  for (int k = 0; k < kLayerCount; ++k) medians[k] = Median(samples[k]);
}

}  // namespace

void RunSceneBench() {
  QThreadPool::globalInstance()->setMaxThreadCount(1);
  struct Size {
    int w, h, frames;
  };
  const Size sizes[] = {{1920, 1080, 40}, {3840, 2160, 15}};
  Settings defaults;
  Settings crowded;
  crowded.totalFish = 60;

  std::printf("\nScene frame (StepAquarium + RenderScene), Qt raster, one thread, CPU ms per frame\n");
  std::printf("%-9s %-6s %-10s %10s %10s\n", "size", "theme", "creatures", "median", "min");
  for (const Size& size : sizes)
    for (int theme = 1; theme <= 6; ++theme)
      for (const Settings* settings : {&defaults, &crowded}) {
        std::vector<double> s = TimeFrames(*settings, theme, size.w, size.h, size.frames);
        std::printf("%4dx%-4d %-6d %-10d %10.2f %10.2f\n", size.w, size.h, theme, settings->totalFish,
                    Median(s), *std::min_element(s.begin(), s.end()));
      }

  std::printf("\nScene layers, 60 creatures, median CPU ms per frame\n");
  std::printf("%-9s %-6s", "size", "theme");
  for (const char* name : kLayerNames) std::printf(" %9s", name);
  std::printf("\n");
  for (const Size& size : sizes)
    for (int theme = 1; theme <= 6; ++theme) {
      double medians[kLayerCount];
      TimeLayers(crowded, theme, size.w, size.h, size.frames, medians);
      std::printf("%4dx%-4d %-6d", size.w, size.h, theme);
      for (double m : medians) std::printf(" %9.2f", m);
      std::printf("\n");
    }
}
