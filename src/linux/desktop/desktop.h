// What app/ asks of the desktop, whichever display it runs on.
#pragma once

#include <string>

#include "common/linux_app.h"

// Every aquarium is populated afresh at its next frame (a scene or the
// settings changed).
void RebuildAquariums(LinuxApp& app);
// The session was locked or unlocked, the system sleeps or woke: rest or draw.
void VisibilityChanged(LinuxApp& app);
void StopDesktop(LinuxApp& app);
// One line for `tidemere status`: frames, rest, scene, surfaces, battery
// saver, motion, pointer.
std::string DesktopStatus(LinuxApp& app);

// Follows logind (where there is one) for the session's lock and the
// system's sleep, into `app.lifecycle.visibility`; power-profiles-daemon for
// the battery saver and the desktop portal for reduced motion, into
// `app.lifecycle`.
void WatchSession(LinuxApp& app);
