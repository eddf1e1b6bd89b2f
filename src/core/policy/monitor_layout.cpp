#include "policy/monitor_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

bool Same(const ScreenRect& a, const ScreenRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

ScreenRect Moved(const ScreenRect& r, int dx, int dy) {
  return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

int64_t Area(const ScreenRect& r) {
  return r.Empty() ? 0 : int64_t(r.Width()) * r.Height();
}

}  // namespace

float MonitorScaleOfDpi(double dpi) {
  if (!(dpi > 0)) return 1;
  return float(std::clamp(std::round(dpi / 96 * 4) / 4, 1.0, 4.0));
}

bool SamePlace(const AquariumPlace& a, const AquariumPlace& b) {
  return Same(a.rect, b.rect) && a.scale == b.scale;
}

bool MonitorsTileTheirBox(const std::vector<ScreenRect>& monitors) {
  if (monitors.empty()) return false;
  ScreenRect box = monitors[0];
  int64_t area = 0;
  for (size_t i = 0; i < monitors.size(); ++i) {
    const ScreenRect& m = monitors[i];
    if (m.Empty()) return false;
    box = Bounds(box, m);
    area += Area(m);
    for (size_t j = 0; j < i; ++j) {
      if (!Intersection(m, monitors[j]).Empty()) return false;  // overlapping (mirrored) monitors
      // A row is the monitors that start at the same height: one floor line
      // for all of them.
      if (monitors[j].top == m.top && monitors[j].bottom != m.bottom) return false;
    }
  }
  // Without overlaps, the areas add up to the box's only where nothing of it is missing.
  return area == Area(box);
}

MonitorLayout DecideMonitorLayout(const std::vector<MonitorInfo>& monitors, const ScreenRect& client,
                                  const Settings& settings) {
  MonitorLayout layout;
  layout.originX = client.left;
  layout.originY = client.top;
  std::vector<MonitorInfo> inside;  // the parts the window shows, in its client pixels
  std::vector<ScreenRect> rects;
  bool overlapping = false;
  for (const MonitorInfo& m : monitors) {
    const ScreenRect part = Intersection(m.rect, client);
    if (part.Empty()) continue;
    const MonitorInfo placed = {Moved(part, -client.left, -client.top), settings.scaleWithDpi ? m.scale : 1};
    auto same = std::find_if(inside.begin(), inside.end(),
                             [&](const MonitorInfo& other) { return Same(other.rect, placed.rect); });
    if (same != inside.end()) {
      // A mirrored monitor shows the same aquarium.
      same->scale = std::min(same->scale, placed.scale);
      continue;
    }
    for (const MonitorInfo& other : inside)
      overlapping = overlapping || !Intersection(other.rect, placed.rect).Empty();
    inside.push_back(placed);
    rects.push_back(m.rect);
  }
  const ScreenRect whole = {0, 0, client.Width(), client.Height()};
  if (inside.empty()) {
    if (!whole.Empty()) layout.places.push_back({whole, 1});
    return layout;
  }
  layout.each = settings.monitors == kMonitorsEach ||
                (settings.monitors != kMonitorsAcross && !MonitorsTileTheirBox(rects));
  // Monitors that overlap in part cannot each have their own aquarium.
  if (layout.each && inside.size() > 1 && !overlapping) {
    for (const MonitorInfo& m : inside) layout.places.push_back({m.rect, m.scale});
    return layout;
  }
  layout.each = false;
  float scale = inside[0].scale;
  for (const MonitorInfo& m : inside) scale = std::min(scale, m.scale);
  layout.places.push_back({whole, scale});
  return layout;
}

bool SameLayout(const MonitorLayout& a, const MonitorLayout& b) {
  if (a.each != b.each || a.places.size() != b.places.size() || a.originX != b.originX ||
      a.originY != b.originY)
    return false;
  for (size_t i = 0; i < a.places.size(); ++i) {
    if (!SamePlace(a.places[i], b.places[i])) return false;
  }
  return true;
}

int FollowLayout(AquariumSet& set, const MonitorLayout& layout) {
  if (set.aquariums.empty()) set.aquariums.emplace_back();
  // An old place on the screen, in the new layout's window.
  const int dx = set.layout.originX - layout.originX, dy = set.layout.originY - layout.originY;
  set.layout = layout;
  if (layout.places.empty()) {
    set.aquariums.resize(1);
    set.aquariums[0].place = {};
    return 0;
  }
  if (layout.places.size() == 1 && set.aquariums.size() == 1 &&
      set.aquariums[0].place.scale == layout.places[0].scale) {
    set.aquariums[0].place = layout.places[0];
    return 0;
  }
  std::vector<PlacedAquarium> next;
  int made = 0;
  for (const AquariumPlace& place : layout.places) {
    auto kept = std::find_if(set.aquariums.begin(), set.aquariums.end(),
                             [&](const PlacedAquarium& a) { return SamePlace(a.place, place); });
    if (kept == set.aquariums.end()) {
      kept = std::find_if(set.aquariums.begin(), set.aquariums.end(), [&](const PlacedAquarium& a) {
        return SamePlace({Moved(a.place.rect, dx, dy), a.place.scale}, place);
      });
    }
    if (kept != set.aquariums.end()) {
      kept->place = place;
      next.push_back(std::move(*kept));
      set.aquariums.erase(kept);
      continue;
    }
    PlacedAquarium fresh;
    fresh.place = place;
    next.push_back(std::move(fresh));
    ++made;
  }
  set.aquariums = std::move(next);
  return made;
}

void RebuildAquariums(AquariumSet& set) {
  for (PlacedAquarium& a : set.aquariums) a.aquarium.populated = false;
}

bool MarkFullScreen(AquariumSet& set, const ScreenRect* monitor) {
  for (PlacedAquarium& a : set.aquariums) a.underFullScreen = false;
  if (monitor == nullptr) return false;
  if (set.aquariums.size() < 2) return true;
  for (PlacedAquarium& a : set.aquariums)
    a.underFullScreen = Same(Intersection(a.place.rect, *monitor), a.place.rect) && !a.place.rect.Empty();
  return false;
}
