// tidemere-bench: every benchmark of the project, one after the other. Each
// lives in its own file and is declared and called here.
void RunSceneBench();
void RunCreatureBench();
void RunSimBench();

// The scene bench runs last: its last line is the speedup of the frame.
int main() {
  RunSimBench();
  RunCreatureBench();
  RunSceneBench();
  return 0;
}
