#include "common/parity_measure.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// A channel may stray this far outside the range its 3x3 neighbourhood spans
// in the other render: gradient sampling and blending rounding.
constexpr int kEnvelopeTolerance = 24;
// A neighbourhood whose channels span no more than this is away from edges.
constexpr int kFlatRange = 12;
// Limits, measured against Wine's GDI+ (which does not anti-alias and draws
// small ellipses coarsely): outliers with an inside (a 6x6 patch has 16), the
// share of outliers (thin lines: 1.7% on the 32-pixel icon), and the mean
// difference away from edges (0.5 on the gradient tiles).
constexpr int kMaxCoreOutliers = 6;
constexpr double kMaxOutlierShare = 0.03;
constexpr double kMaxFlatDifference = 2.0;

uint8_t Channel(uint32_t pixel, int c) {
  return uint8_t(pixel >> (8 * c));
}

// Per channel, the range spanned by the 3x3 neighbourhood of (x, y).
struct Envelope {
  int lo[4] = {255, 255, 255, 255};
  int hi[4] = {0, 0, 0, 0};
};

Envelope EnvelopeAt(const RenderBuffer& image, int x, int y) {
  Envelope e;
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      const uint32_t p =
          image.At(std::clamp(x + dx, 0, image.width - 1), std::clamp(y + dy, 0, image.height - 1));
      for (int c = 0; c < 4; ++c) {
        e.lo[c] = std::min(e.lo[c], int(Channel(p, c)));
        e.hi[c] = std::max(e.hi[c], int(Channel(p, c)));
      }
    }
  }
  return e;
}

bool Inside(uint32_t pixel, const Envelope& e) {
  for (int c = 0; c < 4; ++c) {
    const int v = Channel(pixel, c);
    if (v < e.lo[c] - kEnvelopeTolerance || v > e.hi[c] + kEnvelopeTolerance) return false;
  }
  return true;
}

bool Flat(const Envelope& e) {
  for (int c = 0; c < 4; ++c) {
    if (e.hi[c] - e.lo[c] > kFlatRange) return false;
  }
  return true;
}

}  // namespace

ParityScore CompareRenders(const RenderBuffer& a, const RenderBuffer& b) {
  ParityScore score;
  if (a.width != b.width || a.height != b.height || a.pixels.empty()) {
    score.meanDifference = score.flatDifference = 255;
    score.outlierShare = 1;
    score.coreOutliers = int(a.pixels.size());
    return score;
  }
  const int w = a.width, h = a.height;
  std::vector<uint8_t> outlier(a.pixels.size(), 0);
  double sum = 0, flatSum = 0;
  long flatPixels = 0, outliers = 0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const uint32_t pa = a.At(x, y), pb = b.At(x, y);
      int d = 0;
      for (int c = 0; c < 4; ++c) d += std::abs(int(Channel(pa, c)) - int(Channel(pb, c)));
      sum += d;
      const Envelope ea = EnvelopeAt(a, x, y), eb = EnvelopeAt(b, x, y);
      if (Flat(ea) && Flat(eb)) {
        flatSum += d;
        ++flatPixels;
      }
      if (!Inside(pa, eb) || !Inside(pb, ea)) {
        outlier[size_t(y) * w + x] = 1;
        ++outliers;
      }
    }
  }
  // Rasterisers disagree along edges, in lines one or two pixels wide; a
  // wrong or missing shape leaves a patch with an inside.
  for (int y = 1; y + 1 < h; ++y) {
    for (int x = 1; x + 1 < w; ++x) {
      const size_t i = size_t(y) * w + x;
      if (outlier[i] && outlier[i - 1] && outlier[i + 1] && outlier[i - w] && outlier[i + w]) {
        ++score.coreOutliers;
      }
    }
  }
  const double pixels = double(a.pixels.size());
  score.meanDifference = sum / (pixels * 4);
  score.flatDifference = flatPixels ? flatSum / (double(flatPixels) * 4) : 0;
  score.outlierShare = double(outliers) / pixels;
  return score;
}

bool PassesWithin(const ParityScore& s, const ParityScore& limits) {
  return s.coreOutliers <= limits.coreOutliers && s.outlierShare <= limits.outlierShare &&
         s.flatDifference <= limits.flatDifference;
}

bool Passes(const ParityScore& s) {
  return PassesWithin(s, ParityLimits());
}

std::string Describe(const ParityScore& s) {
  char text[160];
  std::snprintf(text, sizeof text, "mean %6.3f  flat %6.3f  outliers %.5f  core %4d", s.meanDifference,
                s.flatDifference, s.outlierShare, s.coreOutliers);
  return text;
}

ParityScore ParityLimits() {
  ParityScore limits;
  limits.flatDifference = kMaxFlatDifference;
  limits.outlierShare = kMaxOutlierShare;
  limits.coreOutliers = kMaxCoreOutliers;
  return limits;
}

ParityScore Worst(const ParityScore& a, const ParityScore& b) {
  return {std::max(a.meanDifference, b.meanDifference), std::max(a.flatDifference, b.flatDifference),
          std::max(a.outlierShare, b.outlierShare), std::max(a.coreOutliers, b.coreOutliers)};
}
