#include "render_options.h"

#include <sys/stat.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <fstream>

#include "scene/scene.h"
#include "settings/ini_store.h"
#include "sim/random.h"
#include "sim/simulation.h"

namespace {

constexpr long long kMaxDimension = 16384;
constexpr long long kMaxSteps = 100000000;

bool ParseLong(const std::string& text, long long minimum, long long maximum, long long& value) {
  if (text.empty() || text[0] == ' ' || text[0] == '+') return false;
  errno = 0;
  char* end = nullptr;
  const long long parsed = std::strtoll(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || parsed < minimum || parsed > maximum) return false;
  value = parsed;
  return true;
}

bool ParseFloat(const std::string& text, float& value) {
  if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return false;
  errno = 0;
  char* end = nullptr;
  const double parsed = std::strtod(text.c_str(), &end);
  if (errno != 0 || *end != '\0' || !std::isfinite(parsed) || std::fabs(parsed) > 1e9) return false;
  value = static_cast<float>(parsed);
  return true;
}

// "AxB" with the separator given, e.g. "1920x1080" or "100,200".
bool SplitPair(const std::string& text, char separator, std::string& first, std::string& second) {
  const size_t at = text.find(separator);
  if (at == std::string::npos || text.find(separator, at + 1) != std::string::npos) return false;
  first = text.substr(0, at);
  second = text.substr(at + 1);
  return true;
}

bool ParseSize(const std::string& text, int& width, int& height) {
  std::string w, h;
  long long wv = 0, hv = 0;
  if (!SplitPair(text, 'x', w, h) || !ParseLong(w, 1, kMaxDimension, wv) ||
      !ParseLong(h, 1, kMaxDimension, hv))
    return false;
  width = static_cast<int>(wv);
  height = static_cast<int>(hv);
  return true;
}

// "WxH+X+Y" or "WxH+X+Y@SCALE"; X and Y may be negative ("+-1920").
bool ParseMonitor(const std::string& text, MonitorInfo& monitor) {
  std::string place = text, scale;
  const size_t at = text.find('@');
  if (at != std::string::npos) {
    place = text.substr(0, at);
    scale = text.substr(at + 1);
  }
  const size_t plus = place.find('+');
  std::string x, y;
  int width = 0, height = 0;
  long long xv = 0, yv = 0;
  if (plus == std::string::npos || !ParseSize(place.substr(0, plus), width, height) ||
      !SplitPair(place.substr(plus + 1), '+', x, y) || !ParseLong(x, -kMaxDimension, kMaxDimension, xv) ||
      !ParseLong(y, -kMaxDimension, kMaxDimension, yv))
    return false;
  monitor.rect = {int(xv), int(yv), int(xv) + width, int(yv) + height};
  monitor.scale = 1;
  if (at != std::string::npos && (!ParseFloat(scale, monitor.scale) || monitor.scale < 1 || monitor.scale > 4))
    return false;
  return true;
}

bool ParsePoint(const std::string& text, float& x, float& y) {
  std::string a, b;
  return SplitPair(text, ',', a, b) && ParseFloat(a, x) && ParseFloat(b, y);
}

bool SetMode(RenderOptions& options, RenderMode mode, const std::string& name, std::string& error) {
  if (options.mode != RenderMode::kNone) {
    error = "only one mode may be given (" + name + " after another mode)";
    return false;
  }
  options.mode = mode;
  return true;
}

}  // namespace

const char* RenderUsage() {
  return "usage: tidemere-render --dump FILE|- [options]\n"
         "       tidemere-render --out FILE.png [--theme N] [--drawing exact|retained|reference] [options]\n"
         "  --size WxH       window size in pixels (default 1920x1080)\n"
         "  --seed N         generator seed, 0..4294967295 (default: the time in seconds)\n"
         "  --settings FILE  settings INI file (default: built-in defaults)\n"
         "  --steps N        simulation steps, at least 1; the first populates (default 1)\n"
         "  --dt S           seconds per step, 0..0.1 (default 1/60)\n"
         "  --pointer X,Y    pointer move, applied after the first step (repeatable)\n"
         "  --click X,Y      left click, applied after the first step (repeatable)\n"
         "  --monitors WxH+X+Y[@SCALE],...\n"
         "                   monitors in the window's pixels (the window is --size), with their\n"
         "                   scale factors (1..4): the aquariums the program lays over them, by\n"
         "                   the settings' Monitors and ScaleWithDpi\n";
}

bool ParseRenderOptions(int argc, const char* const* argv, RenderOptions& options, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    const std::string name = argv[i];
    // Every option takes exactly one value.
    if (name.rfind("--", 0) != 0) {
      error = "unexpected argument '" + name + "'";
      return false;
    }
    if (i + 1 >= argc) {
      error = name + " needs a value";
      return false;
    }
    const std::string value = argv[++i];
    const auto bad = [&](const char* expected) {
      error = "bad value '" + value + "' for " + name + ": expected " + expected;
      return false;
    };

    if (name == "--dump") {
      if (value.empty()) return bad("a file name or -");
      if (!SetMode(options, RenderMode::kDump, name, error)) return false;
      options.dumpPath = value;
    } else if (name == "--out") {
      if (value.empty()) return bad("a file name");
      if (!SetMode(options, RenderMode::kFrame, name, error)) return false;
      options.framePath = value;
    } else if (name == "--theme") {
      long long theme = 0;
      if (!ParseLong(value, -2147483647LL - 1, 2147483647LL, theme)) return bad("an integer");
      options.theme = static_cast<int>(theme);
    } else if (name == "--drawing") {
      // "fast" is the exact drawing's older name.
      if (value == "exact" || value == "fast") {
        options.drawing = RenderOptions::Drawing::kExact;
      } else if (value == "retained") {
        options.drawing = RenderOptions::Drawing::kRetained;
      } else if (value == "reference") {
        options.drawing = RenderOptions::Drawing::kReference;
      } else {
        return bad("exact, retained or reference");
      }
    } else if (name == "--size") {
      if (!ParseSize(value, options.width, options.height)) return bad("WxH with 1..16384 pixels each");
    } else if (name == "--seed") {
      long long seed = 0;
      if (!ParseLong(value, 0, 4294967295LL, seed)) return bad("an integer 0..4294967295");
      options.seed = static_cast<uint32_t>(seed);
    } else if (name == "--settings") {
      if (value.empty()) return bad("a file name");
      options.settingsPath = value;
    } else if (name == "--steps") {
      long long steps = 0;
      if (!ParseLong(value, 1, kMaxSteps, steps)) return bad("an integer 1..100000000");
      options.steps = static_cast<int>(steps);
    } else if (name == "--dt") {
      float dt = 0;
      if (!ParseFloat(value, dt) || dt < 0 || dt > 0.1f) return bad("seconds 0..0.1");
      options.dt = dt;
    } else if (name == "--pointer" || name == "--click") {
      PointerEvent event{name == "--pointer" ? PointerEvent::kMove : PointerEvent::kClick, 0, 0};
      if (!ParsePoint(value, event.x, event.y)) return bad("X,Y in pixels");
      options.pointerEvents.push_back(event);
    } else if (name == "--monitors") {
      options.monitors.clear();
      size_t start = 0;
      for (;;) {
        const size_t comma = value.find(',', start);
        MonitorInfo monitor;
        if (!ParseMonitor(value.substr(start, comma - start), monitor))
          return bad("WxH+X+Y[@SCALE], comma-separated, scales 1..4");
        options.monitors.push_back(monitor);
        if (comma == std::string::npos) break;
        start = comma + 1;
      }
    } else {
      error = "unknown option " + name;
      return false;
    }
  }
  if (options.mode == RenderMode::kNone) {
    error = "no mode given";
    return false;
  }
  return true;
}

namespace {

bool LoadSettings(const RenderOptions& options, Settings& settings, std::string& error) {
  SeedRandom(options.seed ? *options.seed : static_cast<uint32_t>(std::time(nullptr)));

  settings = Settings();
  if (!options.settingsPath.empty()) {
    // A missing file would silently give the defaults; for a tool that hides
    // a typo. A folder (or a device) opens, and reads as no settings at all.
    struct stat file;
    if (stat(options.settingsPath.c_str(), &file) != 0 || !S_ISREG(file.st_mode) ||
        !std::ifstream(options.settingsPath)) {
      error = "cannot read settings file '" + options.settingsPath + "': not a readable file";
      return false;
    }
    IniFileStore store(options.settingsPath);
    LoadSettingsFrom(store, settings);
  }
  return true;
}

}  // namespace

bool BuildAquarium(const RenderOptions& options, Settings& settings, Aquarium& aquarium, std::string& error) {
  if (!LoadSettings(options, settings, error)) return false;
  aquarium = Aquarium();
  for (int step = 0; step < options.steps; ++step) {
    StepAquarium(aquarium, settings, options.dt, options.width, options.height);
    if (step == 0) {
      for (const PointerEvent& event : options.pointerEvents) {
        if (event.kind == PointerEvent::kMove) {
          RecordPointerMove(aquarium, event.x, event.y);
        } else {
          AddClickBurst(aquarium, event.x, event.y);
        }
      }
    }
  }
  return true;
}

bool BuildAquariums(const RenderOptions& options, Settings& settings, AquariumSet& set, std::string& error) {
  if (!LoadSettings(options, settings, error)) return false;
  set = AquariumSet();
  FollowLayout(set, DecideMonitorLayout(options.monitors, {0, 0, options.width, options.height}, settings));
  // Each aquarium in turn from the one generator, as the program populates
  // them at their first frame.
  for (PlacedAquarium& placed : set.aquariums) {
    const ScreenRect& r = placed.place.rect;
    const float scale = placed.place.scale;
    const int w = AquariumPixels(r.Width(), scale), h = AquariumPixels(r.Height(), scale);
    for (int step = 0; step < options.steps; ++step) {
      StepAquarium(placed.aquarium, settings, options.dt, w, h);
      if (step != 0) continue;
      for (const PointerEvent& event : options.pointerEvents) {
        const bool under = set.aquariums.size() == 1 ||
                           (event.x >= r.left && event.x < r.right && event.y >= r.top && event.y < r.bottom);
        const float x = (event.x - r.left) / scale, y = (event.y - r.top) / scale;
        if (event.kind == PointerEvent::kMove) {
          if (under) RecordPointerMove(placed.aquarium, x, y);
        } else if (under) {
          AddClickBurst(placed.aquarium, x, y);
        }
      }
    }
  }
  return true;
}
