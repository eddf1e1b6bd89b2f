// tidemere-bench: every benchmark of the project, one after the other. Each
// lives in its own file and is declared and called here.
void RunSceneBench();
void RunCreatureBench();
void RunSimBench();

int main() {
  RunSimBench();
  RunSceneBench();
  RunCreatureBench();
  return 0;
}
