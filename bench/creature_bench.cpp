// Microseconds to draw one creature of each species with the Qt backend
// (DrawCreature: shadow, figure, finishing layer), two poses, one thread.
// Times are the thread's CPU time; each figure is the median of 15 batches.
#include <QImage>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

#include "draw/creature.h"
#include "draw/qt/qt_graphics.h"
#include "sim/creature_tables.h"

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
double TimeCreature(const Creature& c) {
  constexpr int kBatches = 15;
  constexpr int kDrawsPerBatch = 40;
  QImage image = MakeQtImage(256, 192);
  Graphics g = MakeQtGraphics(image);
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
  std::printf("DrawCreature on Qt, microseconds per creature (size = largest variant)\n");
  std::printf("%-16s %6s %12s %12s\n", "species", "size", "right,near", "left,far");
  double total = 0;
  for (int species = 0; species < kSpeciesCount; ++species) {
    const Creature right = BenchCreature(species, false);
    const double a = TimeCreature(right);
    const double b = TimeCreature(BenchCreature(species, true));
    total += a + b;
    std::printf("%-16ls %6.0f %12.1f %12.1f\n", kSpeciesNames[species], right.size, a, b);
  }
  std::printf("mean over species and poses: %.1f us\n", total / (2 * kSpeciesCount));
}
