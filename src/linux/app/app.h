// The Linux program's top: requests wired, scenes switched, settings saved,
// the running instance served and ended.
#pragma once

#include <string>

#include "common/linux_app.h"

void WireRequests(LinuxApp& app);
void SetEffect(LinuxApp& app, int theme);
void OnHotkey(LinuxApp& app, int id);  // the ids of Hotkeys() (policy/tray_menu.h)
void RequestExit(LinuxApp& app);
// Saves the settings; a failure is logged with the file and the reason, and
// the session's first also goes to standard error.
SaveResult SaveAppSettings(LinuxApp& app);

// Listens at `socketPath` for the requests of later starts. False when
// another instance answers there (it is already running).
bool ServeInstance(LinuxApp& app, const std::string& socketPath);
void StopServingInstance();
// What the running instance answers to a line it does not know (a later
// version's request).
inline constexpr char kUnknownRequestReply[] = "unknown request";
// Sends one request line to a running instance; false when none answers.
bool SendToInstance(const std::string& socketPath, const std::string& line, std::string& reply);

// Ctrl+Shift+1/2/3/0 on the X11 root window; a key another program holds is
// logged, not fatal.
void GrabHotkeys(LinuxApp& app);
void ReleaseHotkeys();
