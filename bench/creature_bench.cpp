// Microseconds to draw one creature of each species (DrawCreature: shadow,
// figure, finishing layer), two poses, one thread: with Qt call by call (the
// reference) and with the toolkit's rasteriser into the same image. Times are
// the thread's CPU time; each figure is the median of 15 batches.
#include <QImage>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <cmath>
#include <vector>

#include "draw/creature.h"
#include "draw/qt/qt_graphics.h"
#include "sim/creature_tables.h"

using namespace draw;

namespace {

double ThreadMicroseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return now.tv_sec * 1e6 + now.tv_nsec / 1e3;
}

Creature BenchCreature(int species, bool facesLeft) {
  Creature c;
  for (const SpeciesVariant& v : kSpeciesVariants) {
    if (v.species != species) continue;
    c.size = v.sizeMax;
    c.color1 = v.color1;
    c.color2 = v.color2;
    c.color3 = v.color3;
    c.pattern = v.pattern;
    break;
  }
  c.species = uint8_t(species);
  c.x = 128;
  c.y = 90;
  c.vx = facesLeft ? -40.0f : 40.0f;
  c.depth = facesLeft ? 0.4f : 1.0f;
  c.tilt = facesLeft ? 0.4f : 0.0f;
  c.swimPhase = 1.3f;
  c.pulsePhase = 0.7f;
  return c;
}

// Median microseconds per DrawCreature call.
double TimeCreature(const Creature& c, bool raster) {
  constexpr int kBatches = 15;
  constexpr int kDrawsPerBatch = 40;
  QImage image = MakeQtImage(256, 192);
  Graphics qt = MakeQtGraphics(image);
  PixelBuffer pixels;
  AccessPixels(qt, pixels);
  Graphics fast = MakeRasterGraphics(pixels);
  Graphics& g = raster ? fast : qt;
  for (int i = 0; i < kDrawsPerBatch; ++i) DrawCreature(g, c);  // warm-up
  std::vector<double> batches;
  for (int b = 0; b < kBatches; ++b) {
    Clear(g, 0xFF1F4E79);
    const double start = ThreadMicroseconds();
    for (int i = 0; i < kDrawsPerBatch; ++i) DrawCreature(g, c);
    batches.push_back((ThreadMicroseconds() - start) / kDrawsPerBatch);
  }
  std::sort(batches.begin(), batches.end());
  return batches[batches.size() / 2];
}

}  // namespace

void RunCreatureBench() {
  std::printf("\nDrawCreature, microseconds per creature (size = largest variant)\n");
  std::printf("%-16s %6s %12s %12s %12s %12s\n", "species", "size", "Qt right", "Qt left,far", "now right",
              "now left,far");
  double qtTotal = 0, fastTotal = 0;
  for (int species = 0; species < kSpeciesCount; ++species) {
    const Creature right = BenchCreature(species, false), left = BenchCreature(species, true);
    const double times[4] = {TimeCreature(right, false), TimeCreature(left, false), TimeCreature(right, true),
                             TimeCreature(left, true)};
    qtTotal += times[0] + times[1];
    fastTotal += times[2] + times[3];
    std::printf("%-16ls %6.0f %12.1f %12.1f %12.1f %12.1f\n", kSpeciesNames[species], right.size, times[0],
                times[1], times[2], times[3]);
  }
  std::printf("mean over species and poses: Qt %.1f us, now %.1f us\n", qtTotal / (2 * kSpeciesCount),
              fastTotal / (2 * kSpeciesCount));
}

// How far each species' figure (DrawCreatureFigure alone) reaches from the
// creature's position, in sizes S, over a grid of poses: swim and pulse
// phases over their whole 20 pi, both facings, the tilt at both ends.
void RunReachMeasure() {
  constexpr int kSide = 640;
  std::printf("species          side     up   down   (sizes S, figure alone)\n");
  for (int species = 0; species < kSpeciesCount; ++species) {
    float side = 0, up = 0, down = 0;
    std::vector<uint32_t> pixels(size_t(kSide) * kSide);
    for (int facing = 0; facing < 2; ++facing)
      for (float tilt : {-0.5f, 0.0f, 0.5f})
        for (int i = 0; i < 48; ++i)
          for (int j = 0; j < 12; ++j) {
            Creature c = BenchCreature(species, facing == 1);
            c.size = 60;
            c.depth = 1;
            c.tilt = tilt;
            c.swimPhase = 62.83185307f * float(i) / 48;
            c.pulsePhase = 62.83185307f * float(j) / 12 + 0.37f * float(i);
            c.x = kSide / 2;
            c.y = kSide / 2;
            std::fill(pixels.begin(), pixels.end(), 0u);
            {
              Graphics g = MakeRasterGraphics({pixels.data(), kSide, kSide, kSide});
              DrawCreatureFigure(g, c);
            }
            for (int y = 0; y < kSide; ++y)
              for (int x = 0; x < kSide; ++x) {
                if (pixels[size_t(y) * kSide + x] == 0) continue;
                side = std::max(side, std::fabs(float(x) + 0.5f - c.x) / c.size);
                up = std::max(up, (c.y - float(y)) / c.size);
                down = std::max(down, (float(y) + 1 - c.y) / c.size);
              }
          }
    std::printf("%-15ls %6.2f %6.2f %6.2f\n", kSpeciesNames[species], side, up, down);
  }
}
