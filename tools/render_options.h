// Command line of tidemere-render: the mode, and the options every mode shares
// (window size, seed, settings file, steps, pointer events), parsed once.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "policy/monitor_layout.h"
#include "settings/settings.h"
#include "sim/aquarium.h"

enum class RenderMode {
  kNone,
  kDump,   // --dump FILE|-: the aquarium state as JSON
  kFrame,  // --out FILE.png [--theme N]: the frame after the steps
  // Further modes (frames, species sheet, icons) join here.
};

struct PointerEvent {
  enum Kind { kMove, kClick } kind;
  float x;
  float y;
};

struct RenderOptions {
  RenderMode mode = RenderMode::kNone;
  std::string dumpPath;  // "-" is standard output
  std::string framePath;
  int theme = 1;  // any value; outside 1..6 draws like 1
  // How the frame is drawn: the toolkit's rasteriser, every shape of the
  // frame (exact, RenderScene); the retained frame the program shows
  // (RenderSceneRetained, drawn frame by frame over the last steps); or Qt
  // call by call (reference, RenderSceneReference).
  enum class Drawing { kExact, kRetained, kReference };
  Drawing drawing = Drawing::kExact;

  int width = 1920;
  int height = 1080;
  std::optional<uint32_t> seed;  // default: the time in seconds
  std::string settingsPath;      // empty: default settings
  int steps = 1;
  float dt = 1.0f / 60.0f;
  // Applied in command-line order right after the first step.
  std::vector<PointerEvent> pointerEvents;
  // --monitors: the monitors in the window's pixels (the window is --size);
  // the frame shows the aquariums the program lays over them.
  std::vector<MonitorInfo> monitors;
};

// Fills `options` from argv (argv[0] is the program). On a malformed command
// line returns false with a one-line message in `error`.
bool ParseRenderOptions(int argc, const char* const* argv, RenderOptions& options, std::string& error);

// The usage text printed after a command-line error.
const char* RenderUsage();

// Seeds the generator, loads the settings and runs the steps with the pointer
// events, as the program's frame driver would. Returns false with a message
// when the settings file cannot be read.
bool BuildAquarium(const RenderOptions& options, Settings& settings, Aquarium& aquarium, std::string& error);

// The same for every aquarium of the monitors' layout (one over the window
// without --monitors), each at its own size (its place's pixels divided by
// its scale); pointer events go to the aquarium under them, in its pixels.
bool BuildAquariums(const RenderOptions& options, Settings& settings, AquariumSet& set, std::string& error);
