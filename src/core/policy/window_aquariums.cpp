#include "policy/window_aquariums.h"

#include <cstddef>

#include "base/log.h"

bool LayOutAquariums(AquariumSet& set, const std::vector<MonitorInfo>& monitors, const ScreenRect& client,
                     const Settings& settings) {
  const MonitorLayout layout = DecideMonitorLayout(monitors, client, settings);
  if (SameLayout(layout, set.layout)) return false;
  const int made = FollowLayout(set, layout);
  WriteLog(L"[monitors] %zu monitor(s): %zu aquarium(s) %s, %d new", monitors.size(), layout.places.size(),
           layout.each ? L"one on each" : L"across", made);
  for (const AquariumPlace& place : layout.places) {
    WriteLog(L"[monitors] aquarium %dx%d at %d,%d, scale %.2f", place.rect.Width(), place.rect.Height(),
             place.rect.left, place.rect.top, double(place.scale));
  }
  return true;
}

void AquariumViews(AquariumSet& set, const draw::PixelBuffer& window, PointerInbox* inbox,
                   PointerPoint windowOrigin, std::vector<ViewWake>& views) {
  for (PlacedAquarium& a : set.aquariums) {
    ViewWake view;
    view.view = &a.view;
    view.aquarium = &a.aquarium;
    const ScreenRect& r = a.place.rect;
    // A place the window's pixels do not hold (they are about to follow a
    // new size) is drawn nowhere.
    if (window.pixels != nullptr && r.left >= 0 && r.top >= 0 && r.right <= window.width &&
        r.bottom <= window.height)
      view.target = {window.pixels + ptrdiff_t(r.top) * window.stride + r.left, r.Width(), r.Height(),
                     window.stride};
    view.ready = !a.underFullScreen;
    view.pointer = inbox;
    view.origin = {windowOrigin.x + r.left, windowOrigin.y + r.top};
    view.scale = a.place.scale;
    views.push_back(view);
  }
}

bool ChangedInWindow(const AquariumSet& set, const ViewWake* views, int count,
                     std::vector<draw::PixelRect>& changed) {
  changed.clear();
  bool whole = count == 1;
  for (size_t i = 0; i < size_t(count) && i < set.aquariums.size(); ++i) {
    const ViewWake& view = views[i];
    whole = whole && view.drawn && view.whole;
    if (!view.drawn) continue;
    const ScreenRect& r = set.aquariums[i].place.rect;
    if (view.whole) {
      changed.push_back({r.left, r.top, r.right, r.bottom});
      continue;
    }
    for (const draw::PixelRect& c : *view.changed)
      changed.push_back({c.x0 + r.left, c.y0 + r.top, c.x1 + r.left, c.y1 + r.top});
  }
  return whole;
}
