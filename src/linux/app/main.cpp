// Process entry of `tidemere`: the command line, requests to a running
// instance, the display (X11, or a Wayland compositor with the layer shell;
// anything else ends with exit code 2 and one line saying what is missing),
// then the aquarium until the user ends it.
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QApplication>
#include <QSocketNotifier>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "app/app.h"
#include "base/log.h"
#include "base/log_native.h"
#include "common/linux_log.h"
#include "common/xdg_paths.h"
#include "desktop/desktop.h"
#include "desktop/wayland_desktop.h"
#include "desktop/x11_desktop.h"
#include "settings/ini_store.h"
#include "sim/random.h"
#include "ui/ui.h"

namespace {

constexpr int kNoDesktop = 2;

int quitPipe[2] = {-1, -1};

void OnSignal(int) {
  const char byte = 1;
  if (write(quitPipe[1], &byte, 1) < 0) _exit(1);
}

// SIGTERM and SIGINT end the loop like "Exit", so the socket goes away.
void QuitOnSignals() {
  if (pipe2(quitPipe, O_CLOEXEC) != 0) return;
  auto* notifier = new QSocketNotifier(quitPipe[0], QSocketNotifier::Read, qApp);
  QObject::connect(notifier, &QSocketNotifier::activated, [] { QCoreApplication::quit(); });
  struct sigaction action = {};
  action.sa_handler = OnSignal;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}

std::string ProgramPath(const char* argv0) {
  char path[PATH_MAX] = {};
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  return length > 0 ? std::string(path, size_t(length)) : std::string(argv0);
}

bool HasVariable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && value[0] != 0;
}

// Whether the X server DISPLAY names answers; Qt would abort without one.
bool XDisplayAnswers(std::string& error) {
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  const bool ok = xcb_connection_has_error(c) == 0;
  xcb_disconnect(c);
  if (!ok) error = std::string("cannot open the X display '") + std::getenv("DISPLAY") + "'";
  return ok;
}

int AskRunningInstance(const LaunchOptions& options, const std::string& socketPath) {
  std::string reply;
  const InstanceRequest request = RequestFor(options);
  std::string line = RequestLine(request);
  if (!SendToInstance(socketPath, line, reply)) {
    std::fprintf(stderr, "tidemere: no running Tidemere found\n");
    return 1;
  }
  if (reply == kUnknownRequestReply) {
    // An instance of an older version that does not know this request.
    line.pop_back();
    std::fprintf(stderr, "tidemere: the running Tidemere does not know '%s': end it and start this one\n",
                 line.c_str());
    return 1;
  }
  if (request.kind == RequestKind::kStatus) std::printf("%s\n", reply.c_str());
  return reply.empty() ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  LaunchOptions options;
  std::string error;
  if (!ParseLaunchOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
    std::fprintf(stderr, "tidemere: %s\n%s", error.c_str(), LaunchUsage().c_str());
    return 1;
  }
  if (options.kind == LaunchKind::kHelp) {
    std::printf("%s", LaunchUsage().c_str());
    return 0;
  }
  if (options.kind == LaunchKind::kVersion) {
    std::printf("%s\n", VersionLine().c_str());
    return 0;
  }
  const XdgEnvironment env = ReadXdgEnvironment();
  if (options.debug) {
    debugLogging = true;
    SetNativeLogPath(LogPath(env));  // its folder once there is a desktop to run on
  }

  // Requests to a running instance need no display.
  const std::string socketPath = InstanceSocketPath(env);
  if (options.kind != LaunchKind::kStart) return AskRunningInstance(options, socketPath);
  std::string reply;
  if (options.theme != 0 && SendToInstance(socketPath, RequestLine(RequestFor(options)), reply)) return 0;

  // The display: a Wayland session never falls back to its X11 server, where
  // the aquarium would be one more window.
  WaylandDesktop* wayland = nullptr;
  if (HasVariable("WAYLAND_DISPLAY")) {
    wayland = ConnectWayland(error);
    if (wayland == nullptr) {
      std::fprintf(stderr, "tidemere: %s\n", error.c_str());
      return kNoDesktop;
    }
  } else if (HasVariable("DISPLAY")) {
    if (!XDisplayAnswers(error)) {
      std::fprintf(stderr, "tidemere: %s\n", error.c_str());
      return kNoDesktop;
    }
    setenv("QT_QPA_PLATFORM", "xcb", 1);
  } else {
    std::fprintf(stderr,
                 "tidemere: no display: neither WAYLAND_DISPLAY nor DISPLAY is set (Tidemere draws the "
                 "desktop of an X11 session or of a Wayland compositor with the layer shell)\n");
    return kNoDesktop;
  }

  if (options.debug) {
    MakeDirectories(DirectoryOf(LogPath(env)));
    std::fprintf(stderr, "tidemere: writing the log to %s\n", LogPath(env).c_str());
  }
  QApplication qtApp(argc, argv);
  QApplication::setApplicationName("tidemere");
  QApplication::setQuitOnLastWindowClosed(false);

  LinuxApp app;
  app.launch = options;
  app.programPath = ProgramPath(argv[0]);
  app.settingsPath = SettingsPath(env, DirectoryOf(app.programPath));
  app.autostartPath = AutostartPath(env);
  app.kind = wayland != nullptr ? DesktopKind::kWayland : DesktopKind::kX11;
  if (!ServeInstance(app, socketPath)) {
    std::fprintf(stderr,
                 "tidemere: Tidemere is already running. Use its tray icon's menu, 'tidemere --theme N' "
                 "or 'tidemere exit'.\n");
    if (wayland != nullptr) {
      app.wayland = wayland;
      StopWaylandDesktop(app);
    }
    return 1;
  }
  MakeDirectories(
      DirectoryOf(app.settingsPath));  // as on Windows: the folder at start, the file at the first save
  {
    IniFileStore store(app.settingsPath);
    LoadSettingsFrom(store, app.settings);
    if (store.readError == EFBIG) {
      Warn("%s is larger than %zu MiB: using the default settings, and leaving the file as it is",
           app.settingsPath.c_str(), kMaxIniBytes >> 20);
    } else if (store.readError != 0) {
      Warn("cannot read %s (%s): using the default settings, and leaving the file as it is",
           app.settingsPath.c_str(), std::strerror(int(store.readError)));
    }
  }
  if (options.theme != 0) app.settings.theme = options.theme;  // in memory only
  SeedRandom(options.seed ? *options.seed : unsigned(std::time(nullptr)));
  Log("Tidemere started on %s, theme %d, settings %s", app.kind == DesktopKind::kX11 ? "X11" : "Wayland",
      app.settings.theme, app.settingsPath.c_str());
  WireRequests(app);

  UserInterface ui;
  app.ui = &ui;
  if (wayland != nullptr) {
    StartWaylandDesktop(app, wayland);
  } else if (!StartX11Desktop(app, error)) {
    std::fprintf(stderr, "tidemere: %s\n", error.c_str());
    StopServingInstance();
    return kNoDesktop;
  } else {
    GrabHotkeys(app);
  }
  CreateTray(app);
  WatchSession(app);
  QuitOnSignals();

  const int result = QApplication::exec();
  Log("Tidemere exiting");
  CloseWindows(app);
  RemoveTray(app);
  ReleaseHotkeys();
  StopDesktop(app);
  StopServingInstance();
  app.ui = nullptr;
  return result;
}
