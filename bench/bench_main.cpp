// tidemere-bench: every benchmark of the project, one after the other. Each
// lives in its own file and is declared and called here.
void RunSceneBench();
void RunCreatureBench();
void RunSimBench();

// The scene bench runs last: its last two lines are the retained frame's
// speedup over the exact one and its fidelity.
int main() {
  RunSimBench();
  RunCreatureBench();
  RunSceneBench();
  return 0;
}
