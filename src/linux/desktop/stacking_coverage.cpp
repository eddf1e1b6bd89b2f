#include "desktop/stacking_coverage.h"

namespace {

size_t FirstAbove(const std::vector<StackedWindow>& stacking, uint32_t own) {
  for (size_t i = 0; i < stacking.size(); ++i) {
    if (stacking[i].id == own) return i + 1;
  }
  return 0;
}

bool OnCurrentDesktop(const StackedWindow& window, uint32_t currentDesktop) {
  return window.desktop == kAllDesktops || window.desktop == currentDesktop;
}

}  // namespace

std::vector<CoveringWindow> CoveringWindowsAbove(const std::vector<StackedWindow>& stacking, uint32_t own,
                                                 uint32_t currentDesktop) {
  std::vector<CoveringWindow> windows;
  for (size_t i = FirstAbove(stacking, own); i < stacking.size(); ++i) {
    const StackedWindow& w = stacking[i];
    CoveringWindow cover;
    cover.rect = w.frame;
    cover.visible = w.viewable;
    cover.minimized = w.hidden;
    cover.cloaked = !OnCurrentDesktop(w, currentDesktop);
    cover.translucent = w.argbVisual || w.opacity != 0xFFFFFFFF;
    windows.push_back(cover);
  }
  return windows;
}

const StackedWindow* DesktopWindowAbove(const std::vector<StackedWindow>& stacking, uint32_t own,
                                        uint32_t currentDesktop) {
  for (size_t i = FirstAbove(stacking, own); i < stacking.size(); ++i) {
    const StackedWindow& w = stacking[i];
    if (w.desktopType && w.viewable && !w.hidden && OnCurrentDesktop(w, currentDesktop)) return &stacking[i];
  }
  return nullptr;
}
