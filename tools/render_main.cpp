// tidemere-render: runs the aquarium off screen for tests and inspection.
// One mode per run; the options every mode shares are parsed once into
// RenderOptions and BuildAquarium turns them into a stepped aquarium.
#include <cstdio>
#include <string>

#include "dump_json.h"
#include "output_file.h"
#include "render_options.h"

int RunFramePng(const RenderOptions& options);  // frame_png.cpp

namespace {

int Fail(const std::string& message, int code) {
  std::fprintf(stderr, "tidemere-render: %s\n", message.c_str());
  return code;
}

int RunDump(const RenderOptions& options) {
  Settings settings;
  Aquarium aquarium;
  std::string error;
  if (!BuildAquarium(options, settings, aquarium, error)) return Fail(error, 2);

  const std::string json = AquariumToJson(aquarium, options.width, options.height);
  if (options.dumpPath != "-") {
    return WriteOutputFile(options.dumpPath, json, error) ? 0 : Fail(error, 1);
  }
  const bool written = std::fwrite(json.data(), 1, json.size(), stdout) == json.size();
  if (!written || std::fflush(stdout) != 0) return Fail("cannot write the state to standard output", 1);
  return 0;
}

}  // namespace

// Modes with command lines of their own: the species sheet and the application icon.
int RunSpeciesSheetMode(int argc, char** argv);  // creature_sheet.cpp: FILE.png
int RunIconMode(int argc, char** argv);          // icon_png.cpp: N FILE.png
int RunIcoMode(int argc, char** argv);           // icon_ico.cpp: FILE.ico
int RunGoldenMode(int argc, char** argv);        // golden_images.cpp: DIR

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "--species-sheet") return RunSpeciesSheetMode(argc - 2, argv + 2);
  if (argc > 1 && std::string(argv[1]) == "--icon") return RunIconMode(argc - 2, argv + 2);
  if (argc > 1 && std::string(argv[1]) == "--ico") return RunIcoMode(argc - 2, argv + 2);
  if (argc > 1 && std::string(argv[1]) == "--golden") return RunGoldenMode(argc - 2, argv + 2);
  RenderOptions options;
  std::string error;
  if (!ParseRenderOptions(argc, argv, options, error)) {
    std::fprintf(stderr, "tidemere-render: %s\n%s", error.c_str(), RenderUsage());
    return 2;
  }
  switch (options.mode) {
    case RenderMode::kDump:
      return RunDump(options);
    case RenderMode::kFrame:
      return RunFramePng(options);
    // Each further mode gets its Run function above and a case here.
    case RenderMode::kNone:
      break;
  }
  return 2;
}
