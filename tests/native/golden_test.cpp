// The golden images under tests/golden (the species sheet, one frame of every
// theme) drawn again and compared: by the parity measure, and tile by tile,
// since the measure lets thin lines differ (it must, between two renderers)
// while here one renderer draws both pictures: in no 64 x 64 tile may more
// than 8 pixels move by more than 16 levels. A picture meant to change is made
// again with `tidemere-render --golden tests/golden` and looked at.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <ostream>
#include <string>

#include "../../tools/golden_images.h"
#include "common/parity_measure.h"
#include "common/test_support.h"
#include "native/qt_render.h"

// Test names and failures show a golden image by its file.
void PrintTo(const GoldenImage& image, std::ostream* os) {
  *os << image.file;
}

namespace {

constexpr int kTile = 64;
constexpr int kMaxMovedPerTile = 8;
constexpr int kMovedLevels = 16;

RenderBuffer ToBuffer(const QImage& image) {
  return ToRenderBuffer(image.convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

// The most pixels of any tile that moved by more than kMovedLevels in a channel.
int MostMovedInATile(const RenderBuffer& a, const RenderBuffer& b, int& tileX, int& tileY) {
  int most = 0;
  for (int ty = 0; ty < a.height; ty += kTile) {
    for (int tx = 0; tx < a.width; tx += kTile) {
      int moved = 0;
      for (int y = ty; y < std::min(ty + kTile, a.height); ++y) {
        for (int x = tx; x < std::min(tx + kTile, a.width); ++x) {
          const uint32_t p = a.At(x, y), q = b.At(x, y);
          for (int shift = 0; shift < 32; shift += 8) {
            if (std::abs(int((p >> shift) & 0xFF) - int((q >> shift) & 0xFF)) > kMovedLevels) {
              ++moved;
              break;
            }
          }
        }
      }
      if (moved > most) {
        most = moved;
        tileX = tx;
        tileY = ty;
      }
    }
  }
  return most;
}

class Golden : public ::testing::TestWithParam<GoldenImage> {};

TEST_P(Golden, DrawnAgainItMatches) {
  const GoldenImage& image = GetParam();
  const QImage golden(
      QString::fromStdString(std::string(TIDEMERE_SOURCE_DIR) + "/tests/golden/" + image.file));
  ASSERT_FALSE(golden.isNull()) << "no golden file " << image.file;
  const QImage now = image.render();
  ASSERT_EQ(now.size(), golden.size()) << image.file;
  const RenderBuffer expected = ToBuffer(golden), actual = ToBuffer(now);
  const ParityScore score = CompareRenders(expected, actual);
  int tileX = 0, tileY = 0;
  const int moved = MostMovedInATile(expected, actual, tileX, tileY);
  std::printf("%-20s %s  most moved in a tile %d\n", image.file.c_str(), Describe(score).c_str(), moved);
  const bool same = Passes(score) && moved <= kMaxMovedPerTile;
  EXPECT_TRUE(Passes(score)) << image.file << ": " << Describe(score);
  EXPECT_LE(moved, kMaxMovedPerTile) << image.file << ": tile at " << tileX << ", " << tileY;
  if (!same) {
    const std::string path = TempFilePath("now-" + image.file);
    now.save(QString::fromStdString(path));
    ADD_FAILURE() << "drawn now: " << path;
  }
}

INSTANTIATE_TEST_SUITE_P(Pictures, Golden, ::testing::ValuesIn(GoldenImages()),
                         [](const ::testing::TestParamInfo<GoldenImage>& info) {
                           std::string name;
                           for (char c : info.param.file) {
                             if (c == '.') break;
                             if (std::isalnum(static_cast<unsigned char>(c))) name += c;
                           }
                           return name;
                         });

}  // namespace
