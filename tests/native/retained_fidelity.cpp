#include "native/retained_fidelity.h"

#include <cmath>
#include <cstdint>

#include "scene/retained_scene.h"
#include "scene/scene.h"
#include "settings/settings.h"
#include "sim/random.h"
#include "sim/simulation.h"

using namespace draw;

double Psnr(const std::vector<unsigned>& a, const std::vector<unsigned>& b) {
  double squares = 0;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
    for (int shift = 0; shift < 24; shift += 8) {
      const int d = int((a[i] >> shift) & 0xFF) - int((b[i] >> shift) & 0xFF);
      squares += d * d;
    }
  }
  const double mse = squares / (3.0 * double(a.size()));
  return mse == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mse);
}

std::vector<double> RetainedFidelity(const FidelityRun& run) {
  const int w = run.width, h = run.height;
  constexpr float kDt = 1.0f / 60;
  Settings settings;
  settings.totalFish = run.creatures;
  SeedRandom(uint32_t(4242 + run.theme));
  Aquarium aq;
  const int aw = AquariumPixels(w, run.scale), ah = AquariumPixels(h, run.scale);
  for (int i = 0; i < 60; ++i) {
    StepAquarium(aq, settings, kDt, aw, ah);
  }
  std::vector<unsigned> exact(size_t(w) * size_t(h)), retained(exact.size());
  Graphics exactGraphics = MakeRasterGraphics({exact.data(), w, h, w});
  SceneCache cache;
  RetainedScenePtr scene = MakeRetainedScene();
  if (run.poseTolerance >= 0) SetPoseTolerance(*scene, run.poseTolerance);
  // The exact frame is drawn over the one before (its first row and column
  // are only half covered); a few frames settle them.
  auto drawExact = [&] {
    if (run.scale == 1) {
      RenderScene(aq, run.theme, exactGraphics, w, h, cache);
    } else {
      RenderScene(aq, run.theme, exactGraphics, w, h, run.scale);
    }
  };
  for (int i = 0; i < 8; ++i) drawExact();
  std::vector<std::vector<unsigned>> buffers(size_t(run.swapBuffers), std::vector<unsigned>(exact.size()));
  std::vector<StaleRects> stale(buffers.size());
  std::vector<double> scores;
  for (int i = 0; i < run.frames; ++i) {
    // The pointer sweeps across the middle once every four seconds (creatures
    // near it flee), and a click releases a burst every second and a half.
    const float sweep = float(i % 240) / 240;
    RecordPointerMove(aq, (0.1f + 0.8f * sweep) * aw, (0.3f + 0.4f * std::fabs(std::sin(3 * sweep))) * ah);
    if (i % 90 == 45) AddClickBurst(aq, (0.2f + 0.6f * sweep) * aw, 0.6f * ah);
    StepAquarium(aq, settings, kDt, aw, ah);
    drawExact();
    const RetainedFrame& frame =
        RenderSceneRetained(aq, run.theme, PixelBuffer{retained.data(), w, h, w}, *scene, run.scale);
    if (buffers.empty()) {
      scores.push_back(Psnr(exact, retained));
      continue;
    }
    for (StaleRects& lacks : stale) AddStale(lacks, frame.changed, false, w, h);
    const size_t shown = size_t(i) % buffers.size();
    CatchUp({buffers[shown].data(), w, h, w}, {retained.data(), w, h, w}, stale[shown]);
    // Brought up to date, a buffer holds the frame to the bit: one that does
    // not scores nothing, however near it comes.
    scores.push_back(buffers[shown] == retained ? Psnr(exact, buffers[shown]) : 0);
  }
  return scores;
}
