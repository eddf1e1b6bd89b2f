// The program's process-wide state, all of it: only what a procedure that
// the system calls without a pointer of ours must reach.
#pragma once

struct WallpaperApp;

// The application the low-level mouse hook serves; null while none. A hook
// procedure receives no context of ours.
extern WallpaperApp* hookApp;
// The application whose hidden wallpaper layer the crash filter shows again;
// an unhandled-exception filter receives no context of ours either.
extern WallpaperApp* crashApp;
