// The desktop room: finding the shell's wallpaper layer, the wallpaper window
// and its procedure, the presenter, the frame driver, the pointer hook, and
// living with the system (the hidden broadcast window, resting, shell
// restarts, the crash filter).
#pragma once

#include <vector>

#include "common/wallpaper_app_win32.h"

void FindDesktopHost(WallpaperApp& app);
void CreateWallpaperWindow(WallpaperApp& app);
void RestoreWallpaperLayer(WallpaperApp& app);
LRESULT CALLBACK WallpaperWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

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

// The presenter. StartPresenter tries DirectComposition and falls back to
// copying each frame to the window with GDI; it logs which way frames go.
bool InitComposition(WallpaperApp& app, int width, int height);
void StartPresenter(WallpaperApp& app, int width, int height);
void PresentFrame(WallpaperApp& app, int width, int height);
// Copies only `changed` (disjoint rectangles of the back buffer, top to
// bottom) to the window; everything where the content is new.
void PresentChanged(WallpaperApp& app, int width, int height, const std::vector<draw::PixelRect>& changed);
void ReleaseComposition(WallpaperApp& app);
// Whether the Direct3D or DirectComposition device of the presenter was lost.
bool PresenterLost(const WallpaperApp& app);

void OnTimerTick(WallpaperApp& app);
void RenderFrame(WallpaperApp& app);
// Draws the first frame, then shows the window with it.
void ShowWithFirstFrame(WallpaperApp& app);
// Timer 1 of the wallpaper window at the period the moment asks for: the
// resting check's while resting; while drawing, every system tick where frames
// are paced by it, or the resting check's as a watchdog where the
// high-resolution frame timer paces them (it keeps frames coming while a
// menu or message box runs its own loop).
void SetTickTimer(WallpaperApp& app);
// The high-resolution frame timer (Windows 10 1803 and later); null elsewhere.
HANDLE CreateFrameTimer();
// Arms the frame timer for the next frame (not at all while resting).
void ArmFrameTimer(WallpaperApp& app);
// Frees the back buffer (memory DC and DIB section).
void ReleaseBackBuffer(WallpaperApp& app);

// The low-level mouse hook that feeds the aquarium (pointer_hook_win32.cpp):
// pointer moves set the point the creatures flee, a left press releases a
// burst of bubbles; every event is passed on unchanged. It serves `hookApp`.
void InstallPointerHook(WallpaperApp& app);
void RemovePointerHook(WallpaperApp& app);
LRESULT CALLBACK MouseHookProc(int code, WPARAM wParam, LPARAM lParam);

// Living with the system (lifecycle_win32.cpp). The hidden broadcast window
// goes into app.lifecycle.notifyWindow. StartLifecycle registers for session
// and power notifications on it and starts its once-a-second shell check;
// HandleSystemMessage serves that window.
void CreateNotifyWindow(WallpaperApp& app);
LRESULT CALLBACK NotifyWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void StartLifecycle(WallpaperApp& app);
void StopLifecycle(WallpaperApp& app);
bool HandleSystemMessage(WallpaperApp& app, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
// Whether opaque windows cover every monitor, at most four times a second.
void UpdateCoverage(WallpaperApp& app);
// Stops or resumes frames as the visibility demands, and serves the still
// frame of reduced motion. True when this tick draws no moving frame.
bool RestOrResume(WallpaperApp& app);
// Attaches again when the shell's windows are gone or new (not otherwise).
void CheckShell(WallpaperApp& app);
// The wallpaper window died without an exit being asked for.
void OnWallpaperWindowDestroyed(WallpaperApp& app);
// Builds the presenter again after its device was lost (at most once a second).
void RebuildPresenter(WallpaperApp& app, HRESULT cause);
// From the GDI fallback, tries DirectComposition again: after 1, 2, 4 ... s,
// at most a minute apart.
void RetryComposition(WallpaperApp& app);
// Once a second while attached: takes a layer the shell made late, keeps the
// window under the icons and over the virtual screen, the layer behind it.
void KeepInPlace(WallpaperApp& app);
void InstallCrashFilter(WallpaperApp& app);
LONG WINAPI WallpaperCrashFilter(EXCEPTION_POINTERS* exception);

// What the process holds, for the /debug report a user can send in.
struct ProcessResources {
  unsigned long gdiObjects = 0;
  unsigned long userObjects = 0;
  unsigned long handles = 0;
  unsigned long privateKilobytes = 0;
};
ProcessResources ReadProcessResources();
