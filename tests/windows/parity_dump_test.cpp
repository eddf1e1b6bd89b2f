// Writes the GDI+ render of every parity figure to $TIDEMERE_PARITY_DIR for
// the native test Parity.QtMatchesGdiplus to compare with Qt's.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "common/parity_figures.h"
#include "windows/gdiplus_render.h"

using namespace draw;

TEST(GdiplusParity, DumpFigures) {
  const char* dir = std::getenv("TIDEMERE_PARITY_DIR");
  if (!dir || !*dir) GTEST_SKIP() << "TIDEMERE_PARITY_DIR is not set";
  std::string folder = dir;
  // Under Wine a Unix path is reached through drive Z:.
  if (folder[0] == '/') folder = "Z:" + folder;
  ASSERT_TRUE(EnsureGdiplus());
  for (const ParityFigure& figure : ParityFigures()) {
    int status = -1;
    RenderBuffer image = RenderParityFigure(figure, [&](int w, int h, const DrawFn& drawing) {
      return RenderWithGdiplus(w, h, [&](Graphics& g) {
        drawing(g);
        status = g.lastStatus;
      });
    });
    ASSERT_EQ(image.width, figure.width) << figure.name;
    EXPECT_EQ(status, kStatusOk) << figure.name;
    EXPECT_TRUE(WriteRender(folder + "/" + figure.name + ".bin", image)) << figure.name;
  }
}
