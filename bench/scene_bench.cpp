// Milliseconds per frame (StepAquarium + RenderScene) on the Qt backend, one
// thread, for every theme at two sizes and two populations: the reference
// drawing (RenderSceneReference, Qt call by call) beside the drawing users
// get (RenderScene, the toolkit's rasteriser, with the water column kept from
// frame to frame) and the retained frame (RenderSceneRetained: kept layers,
// sprites, repainted tiles), then a breakdown of the first two by layer. Times are the thread's CPU time, so
// that other processes on a busy machine inflate them as little as possible; the drawings alternate frame by
// frame, so that all meet the same load. The last two lines are the retained frame's speedup over the exact
// one at 1920x1080 with 60 creatures (the ratio of the medians over the six themes) and its fidelity over 600
// frames of each theme.
#include <QImage>
#include <QThreadPool>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "draw/qt/qt_graphics.h"
#include "native/retained_fidelity.h"
#include "scene/layers.h"
#include "scene/retained_scene.h"
#include "scene/scene.h"
#include "settings/settings.h"
#include "sim/random.h"
#include "sim/simulation.h"

using namespace draw;

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
    StepAquarium(aq, settings, kDt, w, h);
  }
  return aq;
}

struct FrameTimes {
  std::vector<double> reference;
  std::vector<double> fast;
  std::vector<double> retained;
  double redrawn = 0;                       // share of the sprites drawn again per frame
  double copied = 0;                        // share of the frame's pixels changed per frame
  size_t bytes = 0;                         // memory the retained scene keeps
  double reasons[kRedrawReasonCount] = {};  // kept pictures drawn again per frame, by reason
  double backgroundRows = 0;                // background rows drawn again per frame
  // The retained frame's stages, per frame: shapes the rasteriser filled and
  // their edges, milliseconds drawing the kept pictures and composing.
  std::vector<double> shapes, edges, drawMs, composeMs;
};

// Shapes, edges per shape, microseconds per shape, and the stages' medians.
std::string StageColumns(const FrameTimes& times) {
  const double shapes = Median(times.shapes), draw = Median(times.drawMs);
  char line[160];
  std::snprintf(line, sizeof line, " %8.0f %9.1f %9.2f %9.2f %9.2f", shapes,
                Median(times.edges) / std::max(1.0, shapes), 1000 * draw / std::max(1.0, shapes), draw,
                Median(times.composeMs));
  return line;
}

void AddStages(FrameTimes& times, const RetainedFrameStats& stats) {
  times.shapes.push_back(stats.shapes);
  times.edges.push_back(stats.edges);
  times.drawMs.push_back(stats.drawMs);
  times.composeMs.push_back(stats.composeMs);
}

constexpr const char* kStageHeader = "%8s %9s %9s %9s %9s";

// Each frame steps the aquarium once and is drawn both ways.
FrameTimes TimeFrames(const Settings& settings, int theme, int w, int h, int frames) {
  Aquarium aq = Warm(settings, w, h);
  QImage referenceImage = MakeQtImage(w, h), fastImage = MakeQtImage(w, h), retainedImage = MakeQtImage(w, h);
  Graphics reference = MakeQtGraphics(referenceImage), fast = MakeQtGraphics(fastImage);
  Graphics retained = MakeQtGraphics(retainedImage);
  SceneCache cache;  // kept from frame to frame, as the program keeps it
  RetainedScenePtr scene = MakeRetainedScene();
  RenderSceneRetained(aq, theme, retained, w, h, *scene);  // the first frame draws everything
  FrameTimes times;
  for (int i = 0; i < frames; ++i) {
    double start = NowMs();
    StepAquarium(aq, settings, kDt, w, h);
    const double step = NowMs() - start;
    start = NowMs();
    RenderSceneReference(aq, theme, reference, w, h);
    times.reference.push_back(step + NowMs() - start);
    start = NowMs();
    RenderScene(aq, theme, fast, w, h, cache);
    times.fast.push_back(step + NowMs() - start);
    start = NowMs();
    const RetainedFrameStats stats = RenderSceneRetained(aq, theme, retained, w, h, *scene).stats;
    times.retained.push_back(step + NowMs() - start);
    times.redrawn += double(stats.spritesDrawn) / std::max(1, stats.sprites) / frames;
    times.copied += double(stats.pixelsChanged) / (double(w) * h) / frames;
    for (int k = 0; k < kRedrawReasonCount; ++k) times.reasons[k] += double(stats.redrawn[k]) / frames;
    times.backgroundRows += double(stats.backgroundRows) / frames;
    AddStages(times, stats);
  }
  times.bytes = RetainedSceneBytes(*scene);
  return times;
}

// The layers of a frame timed one by one, in the layer table's order.
constexpr int kLayerCount = kSceneLayerCount;

struct LayerTimes {
  double reference[kLayerCount];
  double fast[kLayerCount];
};

// The water column comes from `water` where the frame keeps it.
void TimeLayersOn(Graphics& g, const Aquarium& aq, int theme, int w, int h, const StaticLayer* water,
                  std::vector<double>* samples) {
  const LayerFrame frame = {aq, theme, PaletteForTheme(theme), w, h, aq.elapsed};
  for (int k = 0; k < kLayerCount; ++k) {
    const SceneLayer& layer = kSceneLayers[k];
    const double start = NowMs();
    if (layer.keep == LayerKeep::kStill && water != nullptr) {
      DrawStaticLayer(g, *water);
    } else {
      layer.draw(g, frame, RowWindow());
    }
    samples[k].push_back(NowMs() - start);
  }
}

LayerTimes TimeLayers(const Settings& settings, int theme, int w, int h, int frames) {
  Aquarium aq = Warm(settings, w, h);
  QImage referenceImage = MakeQtImage(w, h), fastImage = MakeQtImage(w, h);
  Graphics reference = MakeQtGraphics(referenceImage), qt = MakeQtGraphics(fastImage);
  PixelBuffer pixels;
  AccessPixels(qt, pixels);
  Graphics fast = MakeRasterGraphics(pixels);
  SceneCache cache;
  RenderScene(aq, theme, qt, w, h, cache);
  std::vector<double> referenceSamples[kLayerCount], fastSamples[kLayerCount];
  for (int i = 0; i < frames; ++i) {
    StepAquarium(aq, settings, kDt, w, h);
    TimeLayersOn(reference, aq, theme, w, h, nullptr, referenceSamples);
    TimeLayersOn(fast, aq, theme, w, h, &cache.water, fastSamples);
  }
  LayerTimes times;
  for (int k = 0; k < kLayerCount; ++k) {
    times.reference[k] = Median(referenceSamples[k]);
    times.fast[k] = Median(fastSamples[k]);
  }
  return times;
}

// Two monitors, one aquarium on each (1920x1080 beside 2560x1440, 28
// creatures each), drawn by the retained frame into their rectangles of one
// 4480x1440 back buffer as the Windows program draws them: the median CPU ms
// of a frame of both (steps and draws), and of the 1920x1080 one alone.
void TimeTwoMonitors(int frames, double& both, double& first) {
  const Settings settings;
  const int stride = 4480;
  std::vector<uint32_t> back(size_t(stride) * 1440);
  struct Monitor {
    int x, w, h;
    Aquarium aq;
    RetainedScenePtr scene = MakeRetainedScene();
  } monitors[] = {{0, 1920, 1080, Warm(settings, 1920, 1080)},
                  {1920, 2560, 1440, Warm(settings, 2560, 1440)}};
  auto frame = [&](Monitor& m) {
    StepAquarium(m.aq, settings, kDt, m.w, m.h);
    RenderSceneRetained(m.aq, 1, PixelBuffer{back.data() + m.x, m.w, m.h, stride}, *m.scene);
  };
  for (Monitor& m : monitors) frame(m);  // the first frame draws everything
  std::vector<double> bothTimes, firstTimes;
  for (int i = 0; i < frames; ++i) {
    double start = NowMs();
    frame(monitors[0]);
    const double one = NowMs() - start;
    frame(monitors[1]);
    bothTimes.push_back(NowMs() - start);
    firstTimes.push_back(one);
  }
  both = Median(bothTimes);
  first = Median(firstTimes);
}

}  // namespace

void RunRetainedProfile(int frames, int creatures, int width, int height) {
  QThreadPool::globalInstance()->setMaxThreadCount(1);
  Settings settings;
  settings.totalFish = creatures;
  std::vector<double> medians;
  for (int theme = 1; theme <= 6; ++theme) {
    Aquarium aq = Warm(settings, width, height);
    std::vector<uint32_t> pixels(size_t(width) * size_t(height));
    RetainedScenePtr scene = MakeRetainedScene();
    RenderSceneRetained(aq, theme, PixelBuffer{pixels.data(), width, height, width}, *scene);
    std::vector<double> samples;
    FrameTimes stages;
    for (int i = 0; i < frames; ++i) {
      const double start = NowMs();
      StepAquarium(aq, settings, kDt, width, height);
      AddStages(
          stages,
          RenderSceneRetained(aq, theme, PixelBuffer{pixels.data(), width, height, width}, *scene).stats);
      samples.push_back(NowMs() - start);
    }
    medians.push_back(Median(samples));
    std::printf("theme %d: %.2f ms  shapes, edges/shape, us/shape, draw ms, compose ms:%s\n", theme,
                medians.back(), StageColumns(stages).c_str());
  }
  std::printf("retained %dx%d %d creatures, median of the themes: %.2f ms\n", width, height, creatures,
              Median(medians));
}

void RunSceneBench() {
  QThreadPool::globalInstance()->setMaxThreadCount(1);
  struct Size {
    int w, h, frames;
  };
  const Size sizes[] = {{1920, 1080, 40}, {3840, 2160, 15}};
  Settings defaults;
  Settings crowded;
  crowded.totalFish = 60;

  std::printf("\nScene frame (StepAquarium + RenderScene), Qt image, one thread, median CPU ms per frame\n");
  std::printf("%-9s %-6s %-10s %10s %10s %8s %10s %8s %8s %8s %8s\n", "size", "theme", "creatures",
              "reference", "exact", "ratio", "retained", "ratio", "redrawn", "copied", "kept MB");
  std::vector<double> reference1080, fast1080, exact1080, retained1080;  // 60 creatures, every theme
  std::string why;     // the retained frame's reasons, printed after the table
  std::string stages;  // and its rasteriser's stages
  for (const Size& size : sizes)
    for (int theme = 1; theme <= 6; ++theme)
      for (const Settings* settings : {&defaults, &crowded}) {
        const FrameTimes times = TimeFrames(*settings, theme, size.w, size.h, size.frames);
        const double reference = Median(times.reference), fast = Median(times.fast);
        const double retained = Median(times.retained);
        std::printf("%4dx%-4d %-6d %-10d %10.2f %10.2f %7.2fx %10.2f %7.2fx %7.0f%% %7.1f%% %8.1f\n", size.w,
                    size.h, theme, settings->totalFish, reference, fast, reference / fast, retained,
                    fast / retained, 100 * times.redrawn, 100 * times.copied, times.bytes / 1e6);
        char line[256];
        int used = std::snprintf(line, sizeof line, "%4dx%-4d %-6d %-10d", size.w, size.h, theme,
                                 settings->totalFish);
        for (double count : times.reasons)
          used += std::snprintf(line + used, sizeof line - used, " %7.1f", count);
        std::snprintf(line + used, sizeof line - used, " %11.0f\n", times.backgroundRows);
        why += line;
        std::snprintf(line, sizeof line, "%4dx%-4d %-6d %-10d", size.w, size.h, theme, settings->totalFish);
        stages += line + StageColumns(times) + "\n";
        if (size.w == 1920 && settings == &crowded) {
          reference1080.insert(reference1080.end(), times.reference.begin(), times.reference.end());
          fast1080.insert(fast1080.end(), times.fast.begin(), times.fast.end());
          exact1080.push_back(fast);
          retained1080.push_back(retained);
        }
      }

  std::printf("\nRetained frame: kept pictures drawn again per frame, by reason, and background rows\n");
  std::printf("%-9s %-6s %-10s", "size", "theme", "creatures");
  for (int k = 0; k < kRedrawReasonCount; ++k) std::printf(" %7s", RedrawReasonName(RedrawReason(k)));
  std::printf(" %11s\n%s", "band rows", why.c_str());

  std::printf(
      "\nRetained frame's stages: shapes filled per frame, edges per shape, CPU per shape, median ms\n");
  std::printf("%-9s %-6s %-10s", "size", "theme", "creatures");
  std::printf(kStageHeader, "shapes", "edges", "us/shape", "draw", "compose");
  std::printf("\n%s", stages.c_str());

  std::printf("\nScene layers, 60 creatures, median CPU ms per frame\n");
  std::printf("%-9s %-6s %-9s", "size", "theme", "drawing");
  for (const SceneLayer& layer : kSceneLayers) std::printf(" %9s", layer.name);
  std::printf("\n");
  for (const Size& size : sizes)
    for (int theme = 1; theme <= 6; ++theme) {
      const LayerTimes times = TimeLayers(crowded, theme, size.w, size.h, size.frames);
      for (const auto& [name, medians] : {std::pair{"reference", times.reference}, {"now", times.fast}}) {
        std::printf("%4dx%-4d %-6d %-9s", size.w, size.h, theme, name);
        for (int k = 0; k < kLayerCount; ++k) std::printf(" %9.2f", medians[k]);
        std::printf("\n");
      }
    }

  double both = 0, first = 0;
  TimeTwoMonitors(120, both, first);
  std::printf(
      "\ntwo monitors 1920x1080 + 2560x1440, each, 28 creatures each: retained %.2f ms a frame "
      "(the 1920x1080 one alone %.2f ms)\n",
      both, first);

  const double reference = Median(reference1080), fast = Median(fast1080);
  std::printf("speedup 1920x1080 60 creatures: %.2fx (reference %.2f ms, now %.2f ms)\n", reference / fast,
              reference, fast);

  // The retained frame against the exact one, 600 frames of each theme with
  // pointer flight and bubble bursts.
  std::vector<double> scores;
  for (int theme = 1; theme <= 6; ++theme) {
    FidelityRun run;
    run.theme = theme;
    const std::vector<double> themeScores = RetainedFidelity(run);
    scores.insert(scores.end(), themeScores.begin(), themeScores.end());
  }
  const double exact = Median(exact1080), retained = Median(retained1080);
  std::printf("retained 1920x1080 60 creatures: %.2fx (exact %.2f ms, retained %.2f ms)\n", exact / retained,
              exact, retained);
  std::printf("fidelity 600 frames: worst %.1f dB, median %.1f dB\n",
              *std::min_element(scores.begin(), scores.end()), Median(scores));
}
