// tidemere-render --out FILE.png [--theme N] [--drawing exact|retained|reference]
// [--monitors ...]: the aquariums after the steps, drawn by RenderScene, by the
// retained frame (kept from frame to frame over the last steps, as the
// program keeps it) or by the reference drawing, each into its rectangle of
// the window (the monitors' layout; one over the whole window without
// --monitors), and saved as a PNG. What lies in no monitor is black.
#include <QImage>
#include <algorithm>
#include <cstdio>
#include <cstring>
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

// The part of the frame one aquarium draws into.
draw::PixelBuffer PartOf(QImage& frame, const ScreenRect& r) {
  auto* pixels = reinterpret_cast<uint32_t*>(frame.bits());
  const int stride = int(frame.bytesPerLine() / 4);
  return {pixels + ptrdiff_t(r.top) * stride + r.left, r.Width(), r.Height(), stride};
}

}  // namespace

int RunFramePng(const RenderOptions& options) {
  Settings settings;
  AquariumSet set;
  std::string error;
  const bool retained = options.drawing == RenderOptions::Drawing::kRetained;
  const int laterSteps = retained ? std::min(options.steps - 1, kRetainedFrames) : 0;
  RenderOptions first = options;
  first.steps -= laterSteps;
  if (!BuildAquariums(first, settings, set, error)) {
    std::fprintf(stderr, "tidemere-render: %s\n", error.c_str());
    return 2;
  }

  QImage frame = draw::MakeQtImage(options.width, options.height);
  for (PlacedAquarium& placed : set.aquariums) {
    const ScreenRect& r = placed.place.rect;
    const float scale = placed.place.scale;
    const int w = r.Width(), h = r.Height();
    if (w <= 0 || h <= 0) continue;
    Aquarium& aquarium = placed.aquarium;
    if (options.drawing == RenderOptions::Drawing::kReference) {
      // Qt call by call into a picture of its own, copied into its place.
      QImage part = draw::MakeQtImage(w, h);
      {
        draw::Graphics g = draw::MakeQtGraphics(part);
        RenderSceneReference(aquarium, options.theme, g, w, h, scale);
      }
      const draw::PixelBuffer into = PartOf(frame, r);
      for (int y = 0; y < h; ++y)
        std::memcpy(into.pixels + ptrdiff_t(y) * into.stride, part.constScanLine(y), size_t(w) * 4);
    } else if (retained) {
      RetainedScenePtr scene = MakeRetainedScene();
      const draw::PixelBuffer into = PartOf(frame, r);
      RenderSceneRetained(aquarium, options.theme, into, *scene, scale);
      for (int step = 0; step < laterSteps; ++step) {
        StepAquarium(aquarium, settings, options.dt, AquariumPixels(w, scale), AquariumPixels(h, scale));
        RenderSceneRetained(aquarium, options.theme, into, *scene, scale);
      }
    } else {
      draw::Graphics g = draw::MakeRasterGraphics(PartOf(frame, r));
      RenderScene(aquarium, options.theme, g, w, h, scale);
    }
  }
  // What no monitor shows is black, as on the screen.
  const draw::PixelBuffer all = PartOf(frame, {0, 0, options.width, options.height});
  for (int y = 0; y < all.height && !options.monitors.empty(); ++y)
    for (int x = 0; x < all.width; ++x) {
      bool shown = false;
      for (const MonitorInfo& m : options.monitors)
        shown = shown || (x >= m.rect.left && x < m.rect.right && y >= m.rect.top && y < m.rect.bottom);
      if (!shown) all.pixels[ptrdiff_t(y) * all.stride + x] = 0xFF000000u;
    }
  if (!WritePng(frame, options.framePath, error)) {
    std::fprintf(stderr, "tidemere-render: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
