// The shell's windows the wallpaper lives among: finding its wallpaper layer,
// keeping that layer out of sight behind the wallpaper window and showing it
// again at every end, and placing the window under the icons and over the
// virtual screen.
#pragma once

#include "common/wallpaper_app_win32.h"

// Sets app.desktop's Progman, wallpaper layer and where the layer lies.
void FindDesktopHost(WallpaperApp& app);
// Shows the layer this program hid, if it did (and only that one).
void RestoreWallpaperLayer(WallpaperApp& app);
// At a start: shows what this program hid and the shell's layer if it is
// hidden (an earlier instance ended without its own code running).
void RestoreLayerLeftHidden(WallpaperApp& app);

// A "WorkerW" without a "SHELLDLL_DefView" child: the shell's wallpaper layer.
bool IsWallpaperLayerCandidate(HWND window);
// The shell's own wallpaper layer under `progman` and where it lies: the
// WorkerW below the icon view among Progman's children, or the top-level one
// right behind the WorkerW that holds the icon view. Null (and kNone) when
// there is none yet.
HWND FindWallpaperLayer(HWND progman, LayerPlace& place);
// Once a second: the layer is still the one the shell shows its wallpaper
// in; when that changed, what we hid is shown again and the new one is taken.
void FollowWallpaperLayer(WallpaperApp& app);
// Keeps the shell's layer out of sight behind the wallpaper window: below it
// where both are Progman's children, hidden where it is a top-level window.
void KeepLayerBehind(WallpaperApp& app);
// The hidden layer shown again without waiting, allocating or logging: what a
// crash filter and a terminate handler may do.
void ShowHiddenLayerNow(const WallpaperApp& app);
// Places `window` directly below its parent's "SHELLDLL_DefView" child, if
// any; without a parent (no shell), at the bottom of the z-order.
void PlaceUnderDesktopIcons(HWND window, UINT extraFlags);

// The virtual screen (all monitors), in screen coordinates.
RECT VirtualScreenRect();
// Moves and sizes `window` so that it covers `screen` (screen coordinates),
// converting to its parent's client coordinates when it has a parent.
void CoverScreenRect(HWND window, HWND insertAfter, const RECT& screen, UINT flags);
