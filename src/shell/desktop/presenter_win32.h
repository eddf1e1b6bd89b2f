// The presenter: the back buffer's changed rectangles onto the wallpaper
// window, through a DirectComposition visual where it starts, by BitBlt where
// it does not (Windows 7, Wine); and keeping itself working (a lost device
// rebuilt, DirectComposition tried again after the fallback).
#pragma once

#include <vector>

#include "common/wallpaper_app_win32.h"
#include "draw/compositing.h"

// Tries DirectComposition and falls back to GDI; logs which way frames go.
void StartPresenter(WallpaperApp& app, int width, int height);
// Releases whatever the presenter holds; the next start begins afresh.
void ReleaseComposition(WallpaperApp& app);

// What one present copied.
struct PresentCount {
  double copiedPixels = 0;
  double framePixels = 0;
};
// Copies `changed` (disjoint rectangles of the back buffer) to the window, or
// all of it when `whole` or when what the window shows is new.
PresentCount PresentChanged(WallpaperApp& app, int width, int height, const std::vector<draw::PixelRect>& changed,
                            bool whole);
// The whole back buffer.
void PresentFrame(WallpaperApp& app, int width, int height);

// Once a second, and after the system resumed: a lost device is rebuilt (at
// most once a second), and from the GDI fallback DirectComposition is tried
// again after 1, 2, 4 ... s, at most a minute apart.
void KeepPresenterWorking(WallpaperApp& app);
// Whether the Direct3D or DirectComposition device was lost.
bool PresenterLost(const WallpaperApp& app);
