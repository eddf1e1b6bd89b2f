// tidemere-render --out FILE.png [--theme N] [--drawing exact|retained|reference]:
// the aquarium after the steps, drawn by RenderScene, by the retained frame
// (kept from frame to frame over the last steps, as the program keeps it) or
// by the reference drawing, at the window size and saved as a PNG.
#include <QImage>
#include <algorithm>
#include <cstdio>
#include <string>

#include "draw/qt/qt_graphics.h"
#include "output_file.h"
#include "render_options.h"
#include "scene/retained_scene.h"
#include "scene/scene.h"
#include "sim/simulation.h"

namespace {

// Frames the retained drawing runs before the one saved: every band of the
// background comes round and the sprites carry their history.
constexpr int kRetainedFrames = 30;

}  // namespace

int RunFramePng(const RenderOptions& options) {
  Settings settings;
  Aquarium aquarium;
  std::string error;
  const bool retained = options.drawing == RenderOptions::Drawing::kRetained;
  const int laterSteps = retained ? std::min(options.steps - 1, kRetainedFrames) : 0;
  RenderOptions first = options;
  first.steps -= laterSteps;
  if (!BuildAquarium(first, settings, aquarium, error)) {
    std::fprintf(stderr, "tidemere-render: %s\n", error.c_str());
    return 2;
  }

  QImage frame = draw::MakeQtImage(options.width, options.height);
  {
    draw::Graphics g = draw::MakeQtGraphics(frame);
    if (options.drawing == RenderOptions::Drawing::kReference) {
      RenderSceneReference(aquarium, options.theme, g, options.width, options.height);
    } else if (retained) {
      RetainedScenePtr scene = MakeRetainedScene();
      RenderSceneRetained(aquarium, options.theme, g, options.width, options.height, *scene);
      for (int step = 0; step < laterSteps; ++step) {
        StepAquarium(aquarium, settings, options.dt, options.width, options.height);
        RenderSceneRetained(aquarium, options.theme, g, options.width, options.height, *scene);
      }
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
