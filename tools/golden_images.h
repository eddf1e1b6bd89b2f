// The pictures kept under tests/golden as PNG files, so that no change alters
// a figure unnoticed: the species sheet (every variant, pose and depth, the
// species icons and the application icon) and one frame of every theme.
// `tidemere-render --golden DIR` writes them; the golden test draws them
// again and compares.
#pragma once

#include <QImage>
#include <functional>
#include <string>
#include <vector>

struct GoldenImage {
  std::string file;  // name within the folder
  std::function<QImage()> render;
};

const std::vector<GoldenImage>& GoldenImages();

// tidemere-render --golden DIR: writes every golden image into DIR.
int RunGoldenMode(int argc, char** argv);
