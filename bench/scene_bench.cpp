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

struct Stats {
  double median = 0, min = 0;
  size_t creatures = 0;
};

Stats Summarize(std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  return {samples[samples.size() / 2], samples.front(), 0};
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

Stats TimeFrames(const Settings& settings, int theme, int w, int h, int frames) {
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
  Stats stats = Summarize(samples);
  stats.creatures = aq.creatures.size();
  return stats;
}

// The layers of RenderScene timed one by one, in its order.
enum Layer { kBackdrop, kRays, kScenery, kCreatures, kOverlay, kLayerCount };
const char* const kLayerNames[kLayerCount] = {"backdrop", "rays", "scenery", "creatures", "overlay"};

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
    double start = NowMs();
    DrawWater(g, palette, theme, w, h, t);
    double backdrop = NowMs() - start;
    start = NowMs();
    DrawLightRays(g, aq.lightRays, palette.light, h, t);
    samples[kRays].push_back(NowMs() - start);
    start = NowMs();
    DrawSeaFloor(g, palette.floor, w, h, t);
    DrawRocks(g, w, h);
    DrawSetPiece(g, theme, w, h, t);
    samples[kBackdrop].push_back(backdrop + (NowMs() - start));
    start = NowMs();
    DrawScenery(g, aq, h);
    samples[kScenery].push_back(NowMs() - start);
    start = NowMs();
    DrawCreaturesInDepthOrder(g, aq.creatures);
    samples[kCreatures].push_back(NowMs() - start);
    start = NowMs();
    DrawOverlay(g, theme, w, h, t);
    samples[kOverlay].push_back(NowMs() - start);
  }
  for (int k = 0; k < kLayerCount; ++k) medians[k] = Summarize(samples[k]).median;
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
        const Stats s = TimeFrames(*settings, theme, size.w, size.h, size.frames);
        std::printf("%4dx%-4d %-6d %-10zu %10.2f %10.2f\n", size.w, size.h, theme, s.creatures, s.median,
                    s.min);
      }

  std::printf("\nScene layers, 60 creatures, median CPU ms per frame\n");
  std::printf("%-9s %-6s", "size", "theme");
  for (const char* name : kLayerNames) std::printf(" %10s", name);
  std::printf("\n");
  for (const Size& size : sizes)
    for (int theme = 1; theme <= 6; ++theme) {
      double medians[kLayerCount];
      TimeLayers(crowded, theme, size.w, size.h, size.frames, medians);
      std::printf("%4dx%-4d %-6d", size.w, size.h, theme);
      for (double m : medians) std::printf(" %10.2f", m);
      std::printf("\n");
    }
}
