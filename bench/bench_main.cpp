#include <cstdlib>
#include <cstring>

// tidemere-bench: every benchmark of the project, one after the other. Each
// lives in its own file and is declared and called here.
void RunSceneBench();
void RunCreatureBench();
void RunSimBench();
void RunRetainedProfile(int frames, int creatures, int width, int height);
void RunReachMeasure();

// The scene bench runs last: its last two lines are the retained frame's
// speedup over the exact one and its fidelity.
// `tidemere-bench retained [FRAMES [CREATURES [WIDTH HEIGHT]]]` times the
// retained frame alone (one thread), for profiling.
int main(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "retained") == 0) {
    RunRetainedProfile(argc > 2 ? std::atoi(argv[2]) : 300, argc > 3 ? std::atoi(argv[3]) : 60,
                       argc > 5 ? std::atoi(argv[4]) : 1920, argc > 5 ? std::atoi(argv[5]) : 1080);
    return 0;
  }
  if (argc >= 2 && std::strcmp(argv[1], "reaches") == 0) {
    RunReachMeasure();
    return 0;
  }
  RunSimBench();
  RunCreatureBench();
  RunSceneBench();
  return 0;
}
