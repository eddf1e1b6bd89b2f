// What Windows asks of a screensaver on its command line: "/s" (run full
// screen), "/p HWND" (a preview inside that window), "/c" or "/c:HWND" (the
// settings, owned by that window) and "/a HWND" (the old password dialog),
// in any case, with "/" or "-", the window after a space or a colon. Read
// before anything else, so that "/p 1234" never reaches the wallpaper's own
// command line (whose digits choose a scene).
#pragma once

#include <cstdint>

enum class SaverMode {
  kNone,        // not a screensaver command: the wallpaper
  kFullScreen,  // "/s"
  kPreview,     // "/p HWND"
  kConfigure,   // "/c", "/c:HWND", or nothing at all when started as a .scr
  kPassword,    // "/a HWND": nothing to do since Windows 95
};

struct SaverArguments {
  SaverMode mode = SaverMode::kNone;
  uint64_t window = 0;  // decimal, unsigned; 0 when none was given
  bool debug = false;   // "/debug" or "--debug" anywhere, as for the wallpaper
};

// Unknown arguments are skipped; the first screensaver argument decides.
// With none, a program started as a .scr file opens its settings.
SaverArguments ParseScreensaverArguments(const wchar_t* commandLine, bool startedAsScreensaver);

// Whether a program path names a screensaver (".scr", in any case).
bool IsScreensaverPath(const wchar_t* path);

// The full-screen screensaver ends when the mouse moves more than a few
// pixels from where it was first seen: Windows sends moves of its own when
// the window appears, and the first one only records the position.
struct SaverMouse {
  bool seen = false;
  int32_t firstX = 0;
  int32_t firstY = 0;
};
constexpr int kSaverMouseSlack = 8;
bool MouseMoveEndsScreensaver(SaverMouse& mouse, int32_t x, int32_t y);
