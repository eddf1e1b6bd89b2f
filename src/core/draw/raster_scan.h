// Scan conversion: closed polygons in pixel space to each pixel's coverage
// (the share of its square inside the shape), handed row by row to a sink as
// spans. The fill (raster_blend) paints those spans; a clip keeps them as a
// mask. Portable; the same coverage on every platform.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "draw/toolkit.h"

namespace draw {

// floor and ceil of a value well within the ints, without a call into the
// C library (which 32-bit Windows builds make for std::floor).
inline int FloorToInt(double v) {
  const int i = int(v);
  return i - (double(i) > v ? 1 : 0);
}
inline int CeilToInt(double v) {
  const int i = int(v);
  return i + (double(i) < v ? 1 : 0);
}

// Closed polygons in pixel space, where pixel (x, y) is the square
// [x, x + 1) x [y, y + 1). Contour k runs over points [ends[k-1], ends[k]).
struct Contours {
  std::vector<PointF> points;
  std::vector<int> ends;

  void Clear() {
    points.clear();
    ends.clear();
  }
  // Ends the contour of the points added since the last Close.
  void Close() {
    if (ends.empty() ? !points.empty() : int(points.size()) > ends.back()) ends.push_back(int(points.size()));
  }
};

enum class FillRule { kEvenOdd, kNonZero };

// Coverage 0..255 of the pixels of a rectangle; nothing outside it is covered.
struct CoverageMask {
  int x0 = 0;
  int y0 = 0;
  int width = 0;
  int height = 0;
  std::vector<uint8_t> alpha;  // rows top-down
};

// The touched cells of a row, one bit each, in words of the machine's own
// width: a 32-bit build would do every 64-bit word's shift and count in two.
using TouchWord = size_t;
constexpr int kTouchBits = int(sizeof(TouchWord)) * 8;
constexpr int kTouchShift = kTouchBits == 64 ? 6 : 5;
static_assert(kTouchBits == 1 << kTouchShift, "a touch word is 32 or 64 bits");
inline int LowestTouched(TouchWord bits) {
  if constexpr (kTouchBits == 64) {
    return __builtin_ctzll(static_cast<unsigned long long>(bits));
  } else {
    return __builtin_ctz(static_cast<unsigned>(bits));
  }
}

// Memory the scan converter reuses from one call to the next.
struct ScanScratch {
  struct Edge {
    float x0, y0, x1, y1;  // y0 < y1
    float dxdy;
    float winding;  // +1 or -1
  };
  std::vector<Edge> edges;
  // An edge the sweep has reached, and where it crosses the row's top once
  // it started above it (its x at the last row's bottom).
  struct Active {
    int edge;
    float x;
  };
  std::vector<Active> active;
  std::vector<float> cells;        // per column of a row: change of coverage
  std::vector<TouchWord> touched;  // per column of a row: one bit, set when an edge added to its cell
  std::vector<uint8_t> coverage;   // a row's coverage near its edges
  long long shapesSwept = 0;       // scan conversions that had an edge to sweep, and their edges
  long long edgesSwept = 0;
};

// The coverage of the contours within a width x height buffer.
void MaskContours(int width, int height, const Contours& contours, FillRule rule, CoverageMask& mask,
                  ScanScratch& scratch);

// ---- the scan converter ----
// A template over the sink that takes its rows, so that painting a span is
// compiled into the sweep. A sink has:
//   bool BeginRow(int y)                                      false: the row is not wanted
//   void Run(int x, int length, int alpha)                    pixels of one coverage
//   void Covered(int x0, const uint8_t* coverage, int count)  one coverage per pixel

// Adds the part of a -> b that can change what the buffer shows: rows 0 to
// height, and columns left of `width`. A part left of column 0 still covers
// every pixel to its right, so it moves onto x = 0; a part right of the
// buffer covers none and goes.
void AddEdge(std::vector<ScanScratch::Edge>& edges, PointF a, PointF b, float width, float height);

// Scan conversion by accumulated signed area, the technique of well-known
// font rasterisers (FreeType's smooth rasteriser, font-rs, stb_truetype):
// every edge adds, in the cells of each row it crosses, the signed area it
// leaves to its right; summing a row's cells from the left gives each
// pixel's winding-weighted coverage, which the fill rule turns into alpha.
// Pixels between two edges of a row form one span of equal coverage, painted
// in one go.
//
// The cells of one row, and which of them an edge touched: one bit per
// column, so that the sweep jumps from touched cell to touched cell in
// column order without sorting.
struct RowAccumulator {
  float* cells;
  TouchWord* touched;
  int firstWord = INT32_MAX;
  int lastWord = -1;

  void Add(int x, float value) { cells[x] += value; }

  // Cells first..last (first <= last) take a part of an edge: their bits set
  // a word at a time rather than a cell at a time.
  void Touching(int first, int last) {
    constexpr int kLast = kTouchBits - 1;
    const int w0 = first >> kTouchShift, w1 = last >> kTouchShift;
    firstWord = std::min(firstWord, w0);
    lastWord = std::max(lastWord, w1);
    const TouchWord all = ~TouchWord(0);
    if (w0 == w1) {
      touched[w0] |= (all >> (kLast - (last - first))) << (first & kLast);
      return;
    }
    touched[w0] |= all << (first & kLast);
    for (int w = w0 + 1; w < w1; ++w) touched[w] = all;
    touched[w1] |= all >> (kLast - (last & kLast));
  }

  // The part of an edge between heights ya and yb (within one row), from x
  // = xa to x = xb, with its winding times its height `d`: the area right of
  // it in each cell it crosses, and all of d for the cells beyond.
  [[gnu::always_inline]] void AddLine(float xa, float xb, float d) {
    const float lo = xa < xb ? xa : xb, hi = xa < xb ? xb : xa;
    const int first = int(lo);  // lo >= 0
    if (hi <= float(first + 1)) {
      const float middle = 0.5f * (xa + xb) - float(first);
      Touching(first, first + 1);
      Add(first, d * (1 - middle));
      Add(first + 1, d * middle);
      return;
    }
    const float s = 1 / (hi - lo);
    const float f0 = lo - float(first);
    int last = int(hi);  // hi lies in (last - 1, last]
    if (float(last) < hi) ++last;
    Touching(first, last);
    const float f1 = hi - float(last - 1);
    const float a0 = 0.5f * s * (1 - f0) * (1 - f0);  // area right of the line in the first cell
    const float am = 0.5f * s * f1 * f1;              // area left of it in the last
    Add(first, d * a0);
    if (last == first + 2) {
      Add(first + 1, d * (1 - a0 - am));
    } else {
      const float a1 = s * (1.5f - f0);
      Add(first + 1, d * (a1 - a0));
      const float ds = d * s;
      for (int x = first + 2; x < last - 1; ++x) Add(x, ds);
      const float a2 = a1 + float(last - first - 3) * s;
      Add(last - 1, d * (1 - a2 - am));
    }
    Add(last, d * am);
  }
};

// A row's summed coverage as alpha 0..255 under the fill rule.
inline int CoverageAlpha(float cover, FillRule rule) {
  float c = std::fabs(cover);
  if (c <= 1) return int(c * 255 + 0.5f);
  if (rule == FillRule::kNonZero) {
    c = std::min(c, 1.0f);
  } else {
    c -= 2 * std::floor(c * 0.5f);
    if (c > 1) c = 2 - c;
  }
  return int(c * 255 + 0.5f);
}

// Gaps between touched cells at least this wide become runs of one coverage.
constexpr int kRunGap = 8;

// Turns the accumulated cells of row y into coverage for the sink, left to
// right: clusters of touched cells (the neighbourhoods of edges) as one
// coverage value per pixel (sink.Covered), the wide gaps between them, where
// coverage does not change, as runs (sink.Run).
template <typename Sink>
void SweepRow(ScanScratch& s, RowAccumulator& row, FillRule rule, int width, int y, Sink& sink) {
  if (!sink.BeginRow(y)) {
    for (int word = row.firstWord; word <= row.lastWord; ++word) {
      for (TouchWord bits = s.touched[size_t(word)]; bits != 0; bits &= bits - 1) {
        s.cells[size_t(word * kTouchBits + LowestTouched(bits))] = 0;
      }
      s.touched[size_t(word)] = 0;
    }
    return;
  }
  // Local pointers: the coverage bytes written below may alias anything, so
  // the compiler would read the vectors' pointers again after every one.
  uint8_t* const coverage = s.coverage.data();
  float* const cells = s.cells.data();
  TouchWord* const touched = s.touched.data();
  const int firstWord = row.firstWord, lastWord = row.lastWord;
  float cover = 0;
  int alpha = 0;               // of the coverage right of the last touched cell
  int clusterFrom = -1;        // first pixel of the open cluster
  int previous = -1;           // last touched cell
  auto flush = [&](int end) {  // the cluster's pixels up to `end`
    end = std::min(end, width);
    if (clusterFrom >= 0 && end > clusterFrom) sink.Covered(clusterFrom, coverage, end - clusterFrom);
  };
  for (int word = firstWord; word <= lastWord; ++word) {
    for (TouchWord bits = touched[size_t(word)]; bits != 0; bits &= bits - 1) {
      const int x = word * kTouchBits + LowestTouched(bits);
      if (clusterFrom < 0) {
        clusterFrom = x;
      } else if (x - previous > kRunGap) {
        flush(previous + 1);
        if (alpha > 0 && previous + 1 < width)
          sink.Run(previous + 1, std::min(x, width) - previous - 1, alpha);
        clusterFrom = x;
      } else {
        for (int gap = previous + 1; gap < x; ++gap) coverage[gap - clusterFrom] = uint8_t(alpha);
      }
      cover += cells[size_t(x)];
      cells[size_t(x)] = 0;
      alpha = CoverageAlpha(cover, rule);
      coverage[x - clusterFrom] = uint8_t(alpha);
      previous = x;
    }
    touched[size_t(word)] = 0;
  }
  flush(previous + 1);
  // Shapes that reach past the right side cover the rest of the row.
  if (alpha > 0 && previous + 1 < width) sink.Run(previous + 1, width - previous - 1, alpha);
}

// Hands the sink every row in [rowFrom, rowTo) that the contours cover.
template <typename Sink>
void ScanConvert(const Contours& contours, FillRule rule, int width, int height, int rowFrom, int rowTo,
                 ScanScratch& s, Sink&& sink) {
  using Edge = ScanScratch::Edge;
  if (width <= 0 || height <= 0) return;
  s.edges.clear();
  int first = 0;
  for (int end : contours.ends) {
    // A contour with a point at no place encloses nothing; its other edges
    // alone would cover everything to their right. One wholly left of the
    // buffer covers nothing either: its edges, all moved onto x = 0, cancel.
    bool finite = true, reaches = false;
    for (int i = first; i < end && finite; ++i) {
      const PointF p = contours.points[size_t(i)];
      finite = std::isfinite(p.x) && std::isfinite(p.y);
      reaches = reaches || p.x > 0;
    }
    for (int i = first; finite && reaches && i < end; ++i) {
      AddEdge(s.edges, contours.points[size_t(i)], contours.points[size_t(i + 1 < end ? i + 1 : first)],
              float(width), float(height));
    }
    first = end;
  }
  if (s.edges.empty()) return;
  ++s.shapesSwept;
  s.edgesSwept += (long long)s.edges.size();
  std::sort(s.edges.begin(), s.edges.end(), [](const Edge& a, const Edge& b) { return a.y0 < b.y0; });
  const size_t words = size_t(width) / kTouchBits + 2;
  if (s.cells.size() < size_t(width) + 2 || s.touched.size() < words) {
    s.cells.assign(size_t(width) + 2, 0.0f);
    s.touched.assign(words, 0);
    s.coverage.resize(size_t(width) + 2);
  }
  RowAccumulator row{s.cells.data(), s.touched.data()};
  s.active.clear();

  size_t next = 0;
  int y = std::max(rowFrom, FloorToInt(s.edges.front().y0));  // edges lie within the rows
  const int yEnd = std::min(rowTo, height);
  while (y < yEnd) {
    const float top = float(y), bottom = float(y + 1);
    while (next < s.edges.size() && s.edges[next].y0 < bottom) {
      const Edge& e = s.edges[next];
      const float ya = std::max(e.y0, top);
      s.active.push_back({int(next++), std::clamp(e.x0 + (ya - e.y0) * e.dxdy, 0.0f, float(width))});
    }
    for (size_t k = 0; k < s.active.size();) {
      ScanScratch::Active& a = s.active[k];
      const Edge& e = s.edges[size_t(a.edge)];
      if (e.y1 <= top) {
        a = s.active.back();
        s.active.pop_back();
        continue;
      }
      ++k;
      const float ya = std::max(e.y0, top), yb = std::min(e.y1, bottom);
      if (!(yb > ya)) continue;
      const float xb = std::clamp(e.x0 + (yb - e.y0) * e.dxdy, 0.0f, float(width));
      row.AddLine(a.x, xb, (yb - ya) * e.winding);
      a.x = xb;  // the next row's top
    }

    if (row.lastWord >= 0) {
      SweepRow(s, row, rule, width, y, sink);
      row.firstWord = INT32_MAX;
      row.lastWord = -1;
    }
    ++y;
    if (s.active.empty()) {
      if (next >= s.edges.size()) break;
      y = std::max(y, FloorToInt(s.edges[next].y0));
    }
  }
}

}  // namespace draw
