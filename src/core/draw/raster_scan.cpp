#include "draw/raster_scan.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace draw {

void AddEdge(std::vector<ScanScratch::Edge>& edges, PointF a, PointF b, float width, float height) {
  if (a.y == b.y) return;
  float winding = 1;
  if (a.y > b.y) {
    std::swap(a, b);
    winding = -1;
  }
  if (b.y <= 0 || a.y >= height) return;
  // Most edges lie inside the buffer: nothing to cut or move.
  if (a.y >= 0 && b.y <= height && a.x > 0 && b.x > 0 && a.x < width && b.x < width) {
    const float dxdy = (b.x - a.x) / (b.y - a.y);
    if (std::isfinite(dxdy)) edges.push_back({a.x, a.y, b.x, b.y, dxdy, winding});
    return;
  }
  const double slope = (double(b.x) - a.x) / (double(b.y) - a.y);
  auto xAt = [&](double y) { return float(a.x + (y - a.y) * slope); };
  PointF top = a, bottom = b;
  if (top.y < 0) top = {xAt(0), 0};
  if (bottom.y > height) bottom = {xAt(height), height};

  // Split where the edge crosses x = 0 or x = width.
  float cuts[4] = {top.y, 0, 0, 0};
  int count = 1;
  for (float boundary : {0.0f, width}) {
    if ((top.x - boundary) * (bottom.x - boundary) < 0) {
      const float y = float(top.y + (boundary - top.x) / slope);
      if (y > top.y && y < bottom.y) cuts[count++] = y;
    }
  }
  if (count == 3 && cuts[2] < cuts[1]) std::swap(cuts[1], cuts[2]);
  cuts[count++] = bottom.y;
  for (int i = 0; i + 1 < count; ++i) {
    const float y0 = cuts[i], y1 = cuts[i + 1];
    if (!(y1 > y0)) continue;
    float x0 = i == 0 ? top.x : xAt(y0);
    float x1 = i + 2 == count ? bottom.x : xAt(y1);
    const float middle = 0.5f * (x0 + x1);
    if (std::isnan(middle) || middle >= width) continue;  // NaN: coordinates too far apart to meet
    if (middle <= 0) {
      x0 = x1 = 0;
    } else {
      x0 = std::clamp(x0, 0.0f, width);
      x1 = std::clamp(x1, 0.0f, width);
    }
    // A part so flat that its slope leaves the floats (some 1e-35 pixel
    // high) covers nothing; stepping along it would give NaN.
    const float dxdy = (x1 - x0) / (y1 - y0);
    if (!std::isfinite(dxdy)) continue;
    edges.push_back({x0, y0, x1, y1, dxdy, winding});
  }
}

void MaskContours(int width, int height, const Contours& contours, FillRule rule, CoverageMask& mask,
                  ScanScratch& scratch) {
  mask = CoverageMask{};
  if (width <= 0 || height <= 0 || contours.points.empty()) return;
  // The mask spans the contours' bounds within the buffer.
  float left = float(width), right = 0, top = float(height), bottom = 0;
  for (PointF p : contours.points) {
    if (!(std::isfinite(p.x) && std::isfinite(p.y))) continue;
    left = std::min(left, p.x);
    right = std::max(right, p.x);
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  // Held within the buffer before they become integers: far points would
  // overflow an int.
  left = std::max(left, 0.0f);
  right = std::min(right, float(width));
  top = std::max(top, 0.0f);
  bottom = std::min(bottom, float(height));
  const int x0 = std::max(0, int(std::floor(left))), x1 = std::min(width, int(std::ceil(right)) + 1);
  const int y0 = std::max(0, int(std::floor(top))), y1 = std::min(height, int(std::ceil(bottom)) + 1);
  if (x0 >= x1 || y0 >= y1) return;
  mask.x0 = x0;
  mask.y0 = y0;
  mask.width = x1 - x0;
  mask.height = y1 - y0;
  mask.alpha.assign(size_t(mask.width) * size_t(mask.height), 0);
  struct MaskWriter {
    CoverageMask& mask;
    uint8_t* row = nullptr;  // the mask's row, from column mask.x0
    bool BeginRow(int y) {
      row = mask.alpha.data() + size_t(y - mask.y0) * size_t(mask.width);
      return true;
    }
    void Run(int x, int length, int alpha) const {
      const int from = std::max(x, mask.x0), to = std::min(x + length, mask.x0 + mask.width);
      for (int i = from; i < to; ++i) row[i - mask.x0] = uint8_t(alpha);
    }
    void Covered(int x0, const uint8_t* coverage, int count) const {
      const int from = std::max(x0, mask.x0), to = std::min(x0 + count, mask.x0 + mask.width);
      for (int i = from; i < to; ++i) row[i - mask.x0] = coverage[i - x0];
    }
  } writer{mask};
  ScanConvert(contours, rule, width, height, y0, y1, scratch, writer);
}

}  // namespace draw
