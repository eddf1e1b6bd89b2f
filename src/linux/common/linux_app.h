// The one application record of the Linux shell, at the bottom of the shell
// so that every room can include it. Each room owns its part: desktop/ owns
// `desktop`, `frame` and `lifecycle`; ui/ owns `ui`; app/ owns the rest and
// wires `requests` at start.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "policy/frame_loop.h"
#include "policy/launch_options.h"
#include "policy/monitor_layout.h"
#include "policy/visibility.h"
#include "settings/settings.h"
#include "sim/pointer_inbox.h"

struct LinuxApp;

// What desktop/ and ui/ ask of the application above them; app/ fills these
// in and an unset request is simply not made.
struct AppRequests {
  void (*themeChosen)(LinuxApp& app, int theme) = nullptr;
  void (*exitAsked)(LinuxApp& app) = nullptr;
  // The settings window stored new values in `settings`: save and rebuild.
  // Returns whether the save worked (the window tells the user when not).
  SaveResult (*settingsApplied)(LinuxApp& app) = nullptr;
  // Something the user must hear about once: a tray notification.
  void (*notify)(LinuxApp& app, const std::string& title, const std::string& text) = nullptr;
};

template <typename... Params, typename... Args>
void Request(void (*request)(LinuxApp&, Params...), LinuxApp& app, Args&&... args) {
  if (request != nullptr) request(app, std::forward<Args>(args)...);
}

// The aquariums of one surface (the X11 desktop window: one per monitor or
// one across; a Wayland output: its own) and the pointer it hears, in the
// surface's pixels.
struct SurfaceAquariums {
  AquariumSet set;
  PointerInbox pointer;
};

// The frame driver's own state, whatever the display.
struct FrameDriverState {
  FrameLoop loop;  // pacing, resting, the frame cost report
};

struct Lifecycle {
  VisibilityState visibility;
  bool fullScreenInFront = false;
  bool batterySaver = false;      // the system's power profile saves power
  bool reducedMotion = false;     // the desktop asks for no animation
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
  bool saveFailureTold = false;  // the first failed save of the session went to standard error
};
