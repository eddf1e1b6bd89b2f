// tidemere-render --ico FILE.ico: icon group 101 of the Windows program, the
// application icon painted by the program's own figure at 16, 32, 48 and 256
// pixels as 32-bit images with straight alpha.
#include <QImage>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "output_file.h"

QImage RenderAppIcon(int n);  // icon_png.cpp

namespace {

void Put16(std::string& out, unsigned value) {
  out += char(value & 0xFF);
  out += char((value >> 8) & 0xFF);
}

void Put32(std::string& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

// One icon image: BITMAPINFOHEADER (height doubled for the mask), BGRA rows
// bottom-up, then an all-zero AND mask (the alpha channel does the masking).
std::string IconImage(const QImage& picture) {
  QImage image = picture.convertToFormat(QImage::Format_ARGB32);
  const int n = image.width();
  std::string out;
  Put32(out, 40);
  Put32(out, uint32_t(n));
  Put32(out, uint32_t(2 * n));
  Put16(out, 1);
  Put16(out, 32);
  for (int i = 0; i < 6; ++i) Put32(out, 0);
  for (int y = n - 1; y >= 0; --y) {
    const auto* row = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
    for (int x = 0; x < n; ++x) Put32(out, row[x]);  // 0xAARRGGBB little-endian = B, G, R, A
  }
  const int maskRow = ((n + 31) / 32) * 4;
  out.append(size_t(maskRow) * size_t(n), '\0');
  return out;
}

}  // namespace

int RunIcoMode(int argc, char** argv) {
  if (argc != 1) {
    std::fprintf(stderr, "usage: tidemere-render --ico FILE.ico\n");
    return 2;
  }
  const int sizes[] = {16, 32, 48, 256};
  std::vector<std::string> images;
  for (int n : sizes) images.push_back(IconImage(RenderAppIcon(n)));

  std::string file;
  Put16(file, 0);
  Put16(file, 1);  // icon
  Put16(file, 4);
  uint32_t offset = 6 + 16 * 4;
  for (size_t i = 0; i < images.size(); ++i) {
    file += char(sizes[i] % 256);  // 256 is written as 0
    file += char(sizes[i] % 256);
    file += '\0';  // no palette
    file += '\0';
    Put16(file, 1);
    Put16(file, 32);
    Put32(file, uint32_t(images[i].size()));
    Put32(file, offset);
    offset += uint32_t(images[i].size());
  }
  for (const std::string& image : images) file += image;

  std::string error;
  if (!WriteOutputFile(argv[0], file, error)) {
    std::fprintf(stderr, "tidemere-render: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
