// tidemere-render --out FILE.png [--theme N] [--drawing fast|reference]: the
// aquarium after the steps, drawn by RenderScene (or its reference drawing)
// at the window size and saved as a PNG.
#include <QImage>
#include <cstdio>
#include <string>

#include "draw/qt/qt_graphics.h"
#include "output_file.h"
#include "render_options.h"
#include "scene/scene.h"

int RunFramePng(const RenderOptions& options) {
  Settings settings;
  Aquarium aquarium;
  std::string error;
  if (!BuildAquarium(options, settings, aquarium, error)) {
    std::fprintf(stderr, "tidemere-render: %s\n", error.c_str());
    return 2;
  }

  QImage frame = draw::MakeQtImage(options.width, options.height);
  {
    draw::Graphics g = draw::MakeQtGraphics(frame);
    if (options.referenceDrawing) {
      RenderSceneReference(aquarium, options.theme, g, options.width, options.height);
    } else {
      RenderScene(aquarium, options.theme, g, options.width, options.height);
    }
  }
  if (!WritePng(frame, options.framePath, error)) {
    std::fprintf(stderr, "tidemere-render: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
