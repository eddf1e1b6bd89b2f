// The shell's windows the wallpaper lives among: finding its wallpaper layer,
// keeping that layer out of sight behind the wallpaper window and showing it
// again at every end, and placing the window under the icons and over the
// virtual screen.
#pragma once

#include "common/wallpaper_app_win32.h"

// Sets app.desktop's Progman, wallpaper layer and where the layer lies.
void FindDesktopHost(WallpaperApp& app);
// Shows a layer this program (or an earlier instance) left hidden.
void RestoreWallpaperLayer(WallpaperApp& app);

// A "WorkerW" without a "SHELLDLL_DefView" child: the shell's wallpaper layer.
bool IsWallpaperLayerCandidate(HWND window);
// The shell's own wallpaper layer under `progman` and where it lies; null
// (and kNone) when there is none yet.
HWND FindWallpaperLayer(HWND progman, LayerPlace& place);
// Keeps the shell's layer out of sight behind the wallpaper window: below it
// where both are Progman's children, hidden where it is a top-level window.
void KeepLayerBehind(WallpaperApp& app);
// The hidden layer shown again without waiting, allocating or logging: what a
// crash filter and a terminate handler may do.
void ShowHiddenLayerNow(const WallpaperApp& app);
// Places `window` directly below its parent's "SHELLDLL_DefView" child, if any.
void PlaceUnderDesktopIcons(HWND window, UINT extraFlags);

// The virtual screen (all monitors), in screen coordinates.
RECT VirtualScreenRect();
// Moves and sizes `window` so that it covers `screen` (screen coordinates),
// converting to its parent's client coordinates when it has a parent.
void CoverScreenRect(HWND window, HWND insertAfter, const RECT& screen, UINT flags);
