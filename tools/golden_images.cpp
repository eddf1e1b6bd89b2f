#include "golden_images.h"

#include <cstdio>
#include <string>

#include "draw/qt/qt_graphics.h"
#include "output_file.h"
#include "render_options.h"
#include "scene/scene.h"

QImage RenderSpeciesSheet();  // creature_sheet.cpp

namespace {

// A frame as the program draws it (RenderScene, the water column kept), of a
// fixed aquarium: seed 7, 960 x 540, 240 steps, the pointer resting at the
// right, one burst of bubbles.
QImage RenderGoldenFrame(int theme) {
  RenderOptions options;
  options.seed = 7;
  options.width = 960;
  options.height = 540;
  options.steps = 240;
  options.pointerEvents = {{PointerEvent::kMove, 700, 200}, {PointerEvent::kClick, 300, 300}};
  std::string error;
  Settings settings;
  Aquarium aquarium;
  if (!BuildAquarium(options, settings, aquarium, error)) return QImage();
  QImage frame = draw::MakeQtImage(options.width, options.height);
  {
    draw::Graphics g = draw::MakeQtGraphics(frame);
    SceneCache cache;
    RenderScene(aquarium, theme, g, options.width, options.height, cache);
  }
  return frame;
}

}  // namespace

const std::vector<GoldenImage>& GoldenImages() {
  static const std::vector<GoldenImage> images = [] {
    std::vector<GoldenImage> all = {{"creature-sheet.png", RenderSpeciesSheet}};
    for (int theme = 1; theme <= 6; ++theme) {
      all.push_back(
          {"frame-theme-" + std::to_string(theme) + ".png", [theme] { return RenderGoldenFrame(theme); }});
    }
    return all;
  }();
  return images;
}

int RunGoldenMode(int argc, char** argv) {
  if (argc != 1) {
    std::fprintf(stderr, "usage: tidemere-render --golden DIR\n");
    return 2;
  }
  for (const GoldenImage& image : GoldenImages()) {
    const std::string path = std::string(argv[0]) + "/" + image.file;
    std::string error;
    if (!WritePng(image.render(), path, error)) {
      std::fprintf(stderr, "tidemere-render: %s\n", error.c_str());
      return 1;
    }
    std::printf("%s\n", path.c_str());
  }
  return 0;
}
