// Stand-ins for the services that tell a program the desktop's wishes: the
// desktop portal's settings on the session bus (reduced motion) and
// power-profiles-daemon on the system bus (DBUS_SYSTEM_BUS_ADDRESS, so a
// private bus can hold it), each with a way to change its value while a
// program follows it.
#pragma once

class QCoreApplication;

// portal [--animations on|off] [--reduced-motion N]: serves only the keys given.
int RunPortal(QCoreApplication& app, int argc, char** argv);
// portal-set animations on|off | portal-set reduced-motion N
int SetPortalValue(const char* key, const char* value);
// power-profiles PROFILE: net.hadess.PowerProfiles with that ActiveProfile.
int RunPowerProfiles(QCoreApplication& app, const char* profile);
// power-profiles-set PROFILE: as `powerprofilesctl set` does, a property write.
int SetPowerProfile(const char* profile);
