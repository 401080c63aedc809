// The tool's `list` command end to end, as a user or an editor runs it:
// start the process, load the word lists, read and check the text, print the
// unknown words. The goal is under half a second for 3 MB of text.
//
// The tool is found beside this program's build folder (BUILD/cli/), the
// text in the shared corpus beside the repository (../shared/corpus/).

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/tool_path.h"

extern char** environ;

namespace {

std::filesystem::path LargeText() {
  return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() /
         "shared" / "corpus" / "big.txt";
}

// Runs the tool with args, its output discarded; returns its exit status.
int RunTool(std::vector<std::string> args) {
  args.insert(args.begin(), ToolPath().string());
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return -1;
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void Run(benchmark::State& state, const std::vector<std::string>& args,
         std::uintmax_t bytes) {
  if (!std::filesystem::exists(ToolPath())) {
    state.SkipWithError("the tool is not built");
    return;
  }
  for (auto _ : state) {
    if (RunTool(args) != 0) {
      state.SkipWithError("the tool failed");
      return;
    }
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}

// The 2.8 MB text of the shared corpus.
void BM_ListLargeText(benchmark::State& state) {
  if (!std::filesystem::exists(LargeText())) {
    state.SkipWithError("no ../shared/corpus/big.txt");
    return;
  }
  Run(state, {"list", LargeText().string()}, std::filesystem::file_size(LargeText()));
}
BENCHMARK(BM_ListLargeText)->Unit(benchmark::kMillisecond)->UseRealTime();

// What every run costs before the first word: process start and Init.
void BM_ListEmptyInput(benchmark::State& state) { Run(state, {"list", "/dev/null"}, 0); }
BENCHMARK(BM_ListEmptyInput)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
