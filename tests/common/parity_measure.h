// The parity measure: whether two renders of the same picture differ only by
// anti-aliasing (an edge pixel may take any value between its neighbours) and
// nothing else. Used for every comparison of two drawings of one picture:
// Qt against GDI+, the rasteriser against either, renders against the golden
// images.
#pragma once

#include <string>

#include "common/render_buffer.h"

struct ParityScore {
  double meanDifference = 0;  // mean |a - b| over all pixels and channels, 0..255
  double flatDifference = 0;  // the same over pixels away from edges in both renders
  double outlierShare = 0;    // share of pixels outside the other render's envelope
  int coreOutliers = 0;       // outliers whose four neighbours are outliers too
};

ParityScore CompareRenders(const RenderBuffer& a, const RenderBuffer& b);
bool Passes(const ParityScore& score);
// The limits Passes holds a score to (the mean difference is not limited).
ParityScore ParityLimits();
// Whether the score keeps within the given limits.
bool PassesWithin(const ParityScore& score, const ParityScore& limits);
// One line: "mean ..  flat ..  outliers ..  core ..".
std::string Describe(const ParityScore& score);
// The worst of each figure of two scores.
ParityScore Worst(const ParityScore& a, const ParityScore& b);
