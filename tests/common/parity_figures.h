// The fixed set of pictures both drawing backends must draw alike: toolkit
// figures, every species in two poses, and the icon figures. The Windows tests
// dump their GDI+ renders as raw files; a native test renders the same
// figures with Qt and compares.
#pragma once

#include <string>
#include <vector>

#include "common/render_buffer.h"

struct ParityFigure {
  std::string name;  // also the dump file's name, without ".bin"
  int width = 0;
  int height = 0;
  DrawFn drawing;
};

const std::vector<ParityFigure>& ParityFigures();

// Renders one figure through `render`.
RenderBuffer RenderParityFigure(const ParityFigure& figure, const RenderFn& render);

// Raw dump: "TMRB", width and height as little-endian int32, then the pixels
// as little-endian 0xAARRGGBB words (B, G, R, A bytes), rows top-down.
bool WriteRender(const std::string& path, const RenderBuffer& image);
bool ReadRender(const std::string& path, RenderBuffer& image);
