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
#include "draw/creature.h"
#include "native/qt_render.h"

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

struct ParityScore {
  double meanDifference = 0;  // mean |a - b| over all pixels and channels, 0..255
  double flatDifference = 0;  // the same over pixels away from edges in both renders
  double outlierShare = 0;    // share of pixels outside the other render's envelope
  int coreOutliers = 0;       // outliers whose four neighbours are outliers too
};

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

ParityScore Compare(const RenderBuffer& a, const RenderBuffer& b) {
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

bool Passes(const ParityScore& s) {
  return s.coreOutliers <= kMaxCoreOutliers && s.outlierShare <= kMaxOutlierShare &&
         s.flatDifference <= kMaxFlatDifference;
}

std::string Describe(const ParityScore& s) {
  char text[160];
  std::snprintf(text, sizeof text, "mean %6.3f  flat %6.3f  outliers %.5f  core %4d", s.meanDifference,
                s.flatDifference, s.outlierShare, s.coreOutliers);
  return text;
}

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
  return RenderParityFigure(figure, [&](int w, int h, const DrawFn& draw) {
    return RenderWithQt(w, h, [&](Graphics& g) {
      draw(g);
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
    fish.draw(g);
  });
  RenderBuffer aliased{fish.width, fish.height, std::vector<uint32_t>(reference.pixels.size())};
  for (int y = 0; y < fish.height; ++y) {
    for (int x = 0; x < fish.width; ++x) aliased.pixels[size_t(y) * fish.width + x] = big.At(4 * x, 4 * y);
  }
  // Pixel centres half a pixel apart.
  RenderBuffer shifted = RenderWithQt(fish.width, fish.height, [&](Graphics& g) {
    Translate(g, 0.5f, 0.5f);
    fish.draw(g);
  });
  for (const RenderBuffer* same : {&aliased, &shifted}) {
    ParityScore s = Compare(reference, *same);
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
  ParityScore unchanged = Compare(base, creature(c, true, false));
  EXPECT_EQ(unchanged.meanDifference, 0);
  for (const auto& f : faults) {
    ParityScore s = Compare(base, f.image);
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
    const ParityScore s = Compare(qt, gdiplus);
    std::printf("%-32s %s%s\n", figure.name.c_str(), Describe(s).c_str(), Passes(s) ? "" : "  FAIL");
    worst.meanDifference = std::max(worst.meanDifference, s.meanDifference);
    worst.flatDifference = std::max(worst.flatDifference, s.flatDifference);
    worst.outlierShare = std::max(worst.outlierShare, s.outlierShare);
    worst.coreOutliers = std::max(worst.coreOutliers, s.coreOutliers);
    EXPECT_TRUE(Passes(s)) << Describe(s);
    SavePng(ToImage(qt), folder + "/qt_" + figure.name + ".png");
    SavePng(ToImage(gdiplus), folder + "/gdiplus_" + figure.name + ".png");
  }
  std::printf("worst of each: %s\nlimits: flat %.3f  outliers %.5f  core %d\n", Describe(worst).c_str(),
              kMaxFlatDifference, kMaxOutlierShare, kMaxCoreOutliers);
}
