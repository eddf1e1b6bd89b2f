// The one application object and the operations of the application shell.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "base/program_path_win32.h"
#include "desktop/visibility.h"
#include "scene/scene.h"
#include "settings/settings.h"
#include "sim/aquarium.h"

struct ID3D11Device;
struct ID3D11DeviceContext;
struct ID3D11Texture2D;
struct IDCompositionDevice;
struct IDCompositionTarget;
struct IDCompositionVisual;
struct IDCompositionSurface;

// Private message: put the wallpaper window directly under the desktop icons.
constexpr UINT WM_WALLPAPER_RESTACK = WM_USER + 100;
// Callback message of the notification-area icon.
constexpr UINT WM_TRAYICON = WM_APP + 1;

// How frames reach the wallpaper window.
enum class PresenterKind {
  kNone,     // not started, or started only in part
  kTexture,  // DirectComposition visual with a Direct3D texture as content
  kSurface,  // DirectComposition visual with a composition surface as content
  kGdi,      // BitBlt to the window's device context (no DirectComposition)
};

// What the program knows of the system around it: whether anybody can see
// the wallpaper, the user's motion and power preferences, and the shell it is
// attached to.
struct Lifecycle {
  VisibilityState visibility;
  RestReason resting = RestReason::kNone;  // the reason frames stopped, kNone while drawing
  bool slowTicks = false;                  // the timer runs at the resting rate
  bool reducedMotion = false;              // "animate controls and elements" is off
  bool batterySaver = false;
  StillFrame stillFrame;
  uint64_t nextCoverageCheck = 0;  // tick count in milliseconds
  bool exitRequested = false;      // only an exit the user asked for ends the program
  DWORD shellProcessId = 0;        // the process owning the Progman we are attached to
  void* displayStateNotification = nullptr;
  void* powerSavingNotification = nullptr;
  bool sessionNotification = false;
  int secondsSinceResourceLine = 0;
  uint64_t nextPresenterRebuild = 0;
};

struct WallpaperApp {
  Aquarium aquarium;  // creatures, scenery, pointer state, scene clock
  Settings settings;  // theme, totalFish, fpsMode, speciesCounts
  HHOOK mouseHook = nullptr;
  HINSTANCE instance = nullptr;
  HWND wallpaperWindow = nullptr;
  HWND progmanWindow = nullptr;
  HWND desktopHost = nullptr;  // the wallpaper-layer WorkerW, or Progman
  int64_t lastFrameTime = 0;   // nanoseconds of the monotonic clock
  HDC memoryDc = nullptr;
  HBITMAP backBuffer = nullptr;
  HGDIOBJ previousBitmap = nullptr;
  uint32_t* backBufferBits = nullptr;
  int backBufferWidth = 0;
  int backBufferHeight = 0;
  ID3D11Device* d3dDevice = nullptr;
  ID3D11DeviceContext* d3dContext = nullptr;
  ID3D11Texture2D* contentTexture = nullptr;
  IDCompositionDevice* dcompDevice = nullptr;
  IDCompositionTarget* dcompTarget = nullptr;
  IDCompositionVisual* dcompVisual = nullptr;
  IDCompositionSurface* dcompSurface = nullptr;
  PresenterKind presenter = PresenterKind::kNone;
  int contentWidth = 0;  // size of the texture or surface on the visual
  int contentHeight = 0;
  HWND settingsWindow = nullptr;
  HWND aboutWindow = nullptr;
  int tickCounter = 0;
  bool trayAdded = false;
  HMENU trayMenu = nullptr;
  HICON trayIcon = nullptr;
  HWND messageWindow = nullptr;
  // A hidden top-level window: broadcasts ("TaskbarCreated", display, session
  // and power changes) reach neither message-only windows nor Progman's children.
  HWND notifyWindow = nullptr;
  UINT taskbarCreatedMessage = 0;  // RegisterWindowMessageW(L"TaskbarCreated")
  Lifecycle lifecycle;
  SceneCache sceneCache;  // what the scene keeps between frames (the water column)
};

// The application the low-level mouse hook serves; null while none.
extern WallpaperApp* hookApp;
// Token of a successful GdiplusStartup, 0 otherwise.
extern ULONG_PTR gdiplusToken;

int Run(WallpaperApp& app);
// The message loop of Run. Returns the WM_QUIT code, or kMessageLoopFailed
// when the message retrieval itself fails.
using GetMessageFunction = BOOL(WINAPI*)(LPMSG, HWND, UINT, UINT);
constexpr int kMessageLoopFailed = 2;
int RunMessageLoop(WallpaperApp& app, GetMessageFunction getMessage);
void OnHotkey(WallpaperApp& app, unsigned id);
void SetEffect(WallpaperApp& app, int newTheme);
void RequestExit(WallpaperApp& app);
void ReleaseAll(WallpaperApp& app);
