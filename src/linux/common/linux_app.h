// The one application record of the Linux shell, at the bottom of the shell
// so that every room can include it. Each room owns its part: desktop/ owns
// `desktop`, `frame` and `lifecycle`; ui/ owns `ui`; app/ owns the rest and
// wires `requests` at start.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "common/instance_command.h"
#include "policy/frame_pacing.h"
#include "policy/visibility.h"
#include "scene/scene.h"
#include "settings/settings.h"
#include "sim/aquarium.h"

struct LinuxApp;

// What desktop/ and ui/ ask of the application above them; app/ fills these
// in and an unset request is simply not made.
struct AppRequests {
  void (*themeChosen)(LinuxApp& app, int theme) = nullptr;
  void (*exitAsked)(LinuxApp& app) = nullptr;
  // The settings window stored new values in `settings`: save and rebuild.
  void (*settingsApplied)(LinuxApp& app) = nullptr;
  // Something the user must hear about once: a tray notification.
  void (*notify)(LinuxApp& app, const std::string& title, const std::string& text) = nullptr;
};

template <typename... Params, typename... Args>
void Request(void (*request)(LinuxApp&, Params...), LinuxApp& app, Args&&... args) {
  if (request != nullptr) request(app, std::forward<Args>(args)...);
}

// One aquarium on one surface: the X11 desktop window, or one Wayland output.
struct AquariumView {
  Aquarium aquarium;
  SceneCache sceneCache;
  int64_t lastFrameTime = 0;  // nanoseconds of the monotonic clock, 0 before the first frame
  bool pointerSeen = false;   // X11: a pointer position was read before
  int pointerX = 0;
  int pointerY = 0;
  FrameCostWindow frameCosts;
};

// The frame driver's own state, whatever the display.
struct FrameDriverState {
  FramePacer pacer;      // when the next frame is due
  long framesDrawn = 0;  // over every surface, since start
  bool fixedStepsDone = false;
};

struct Lifecycle {
  VisibilityState visibility;
  RestReason resting = RestReason::kNone;
  bool fullScreenInFront = false;
  bool coverNoticeGiven = false;  // a file manager's desktop was reported
};

enum class DesktopKind { kX11, kWayland };

struct X11Desktop;
struct WaylandDesktop;
struct UserInterface;

struct LinuxApp {
  Settings settings;
  LaunchOptions launch;
  std::string settingsPath;
  std::string autostartPath;
  std::string programPath;
  AppRequests requests;
  DesktopKind kind = DesktopKind::kX11;
  X11Desktop* x11 = nullptr;
  WaylandDesktop* wayland = nullptr;
  FrameDriverState frame;
  Lifecycle lifecycle;
  UserInterface* ui = nullptr;
};
